#include "windows/teacher/editor/KeyHighlighter.h"

#include "lesson/AnswerKey.h"
#include "lesson/KeyPositions.h"

namespace {

// A block's state: whether it is an answer line, whose next line is its judgment.
enum State { Other = 0, Answer = 1 };

QTextCharFormat coloured(const QColor& colour, bool bold = true) {
    QTextCharFormat format;
    format.setForeground(colour);
    if (bold)
        format.setFontWeight(QFont::Bold);
    return format;
}

} // namespace

KeyHighlighter::KeyHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

void KeyHighlighter::highlightBlock(const QString& text) {
    const QString marker = LineMarker(text);
    const bool judgment = previousBlockState() == Answer && marker != Mark::Section &&
                          marker != Mark::Question && marker != Mark::Answer;
    setCurrentBlockState(marker == Mark::Answer ? Answer : Other);
    if (judgment) {
        QColor colour(0xa0, 0x60, 0x00); // pending
        if (marker == Mark::Right)
            colour = QColor(0x00, 0x80, 0x00);
        else if (marker == Mark::Wrong)
            colour = QColor(0xb0, 0x00, 0x00);
        setFormat(0, std::min<int>(2, text.size()), coloured(colour));
        return;
    }
    if (marker == Mark::Section) {
        if (SectionHeaderNumber(text) > 0) {
            setFormat(0, int(text.size()), coloured(QColor(0x10, 0x30, 0x90)));
        } else {
            // A header the student's program never finds.
            QTextCharFormat wrong = coloured(QColor(0xb0, 0x00, 0x00));
            wrong.setUnderlineStyle(QTextCharFormat::WaveUnderline);
            wrong.setUnderlineColor(Qt::red);
            setFormat(0, int(text.size()), wrong);
        }
    } else if (marker == Mark::Question) {
        setFormat(0, 2, coloured(QColor(0x00, 0x40, 0xc0)));
    } else if (marker == Mark::Answer) {
        setFormat(0, 2, coloured(QColor(0x70, 0x00, 0x70)));
    } else if (!text.trimmed().isEmpty()) {
        // A line the student's program ignores.
        setFormat(0, int(text.size()), coloured(Qt::gray, false));
    }
}
