#include "windows/teacher/GuideDocument.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// Small letters, blanks made hyphens, everything but letters, digits, hyphens and underscores
// dropped: "1. Qué hace Dorvalia" gives "1-qué-hace-dorvalia".
QString headingName(const QString& title) {
    QString name;
    for (const QChar c : title.trimmed().toLower()) {
        if (c.isLetterOrNumber() || c == u'-' || c == u'_')
            name += c;
        else if (c.isSpace())
            name += u'-';
    }
    return name;
}

} // namespace

void NameGuideHeadings(QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0 || block.text().isEmpty())
            continue;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setAnchor(true);
        format.setAnchorNames({headingName(block.text())});
        cursor.mergeCharFormat(format);
    }
}
