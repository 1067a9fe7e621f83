#include "print/ReadingHtml.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <cmath>

namespace {

QString escaped(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'"':
            out += QStringLiteral("&quot;");
            break;
        case u'\'':
            out += QStringLiteral("&#39;");
            break;
        case QChar::LineSeparator:
            out += QStringLiteral("<br>");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString number(double value) {
    return QString::number(std::round(value * 10) / 10, 'g', 6);
}

QString colour(const QBrush& brush) {
    return brush.style() == Qt::NoBrush ? QString() : brush.color().name(QColor::HexRgb);
}

class Writer {
public:
    Writer(const QTextDocument& document, int start, int end, WebPictures& pictures)
        : document_(document), start_(start), end_(end), pictures_(pictures) {}

    void frame(QTextFrame* frame) {
        for (QTextFrame::iterator it = frame->begin(); !it.atEnd(); ++it) {
            if (QTextFrame* child = it.currentFrame()) {
                if (auto* table = qobject_cast<QTextTable*>(child))
                    this->table(table);
                else
                    this->frame(child);
            } else {
                block(it.currentBlock());
            }
        }
    }

    QString html;

private:
    bool within(int from, int to) const { return from < end_ && to > start_; }

    void block(const QTextBlock& block) {
        if (!within(block.position(), block.position() + block.length()))
            return;
        const QTextBlockFormat format = block.blockFormat();
        QStringList style;
        const Qt::Alignment align = format.alignment() & Qt::AlignHorizontal_Mask;
        if (align & Qt::AlignHCenter)
            style << QStringLiteral("text-align:center");
        else if (align & Qt::AlignRight)
            style << QStringLiteral("text-align:right");
        else if (align & Qt::AlignJustify)
            style << QStringLiteral("text-align:justify");
        if (format.leftMargin() > 0)
            style << QStringLiteral("margin-left:%1px").arg(number(format.leftMargin()));
        if (format.textIndent() != 0)
            style << QStringLiteral("text-indent:%1px").arg(number(format.textIndent()));
        html += style.isEmpty() ? QStringLiteral("<p>")
                                : QStringLiteral("<p style=\"%1\">").arg(style.join(u';'));
        const qsizetype before = html.size();
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
            fragment(it.fragment());
        if (html.size() == before)
            html += QStringLiteral("<br>");
        html += QStringLiteral("</p>");
    }

    void fragment(const QTextFragment& fragment) {
        const int from = std::max(fragment.position(), start_);
        const int to = std::min(fragment.position() + fragment.length(), end_);
        if (from >= to)
            return;
        const QTextCharFormat format = fragment.charFormat();
        if (format.isImageFormat()) {
            const QTextImageFormat image = format.toImageFormat();
            if (pictures_.pathOf(document_, image.name()).isEmpty())
                return; // nothing the reader could show
            for (int i = from; i < to; ++i)
                html += QStringLiteral("<img src=\"%1\" alt=\"\" width=\"%2\" height=\"%3\">")
                            .arg(escaped(pictures_.pathOf(document_, image.name())))
                            .arg(std::lround(image.width()))
                            .arg(std::lround(image.height()));
            return;
        }
        const QString text = fragment.text().mid(from - fragment.position(), to - from);
        QString open;
        QString close;
        QStringList style;
        if (const QString fore = colour(format.foreground()); !fore.isEmpty())
            style << QStringLiteral("color:") + fore;
        if (const QString back = colour(format.background()); !back.isEmpty())
            style << QStringLiteral("background-color:") + back;
        if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
            style << QStringLiteral("font-size:%1pt").arg(number(format.fontPointSize()));
        if (!style.isEmpty()) {
            open += QStringLiteral("<span style=\"%1\">").arg(style.join(u';'));
            close.prepend(QStringLiteral("</span>"));
        }
        const auto wrap = [&](bool on, const char* tag) {
            if (!on)
                return;
            open += QStringLiteral("<%1>").arg(QLatin1String(tag));
            close.prepend(QStringLiteral("</%1>").arg(QLatin1String(tag)));
        };
        wrap(format.fontWeight() >= QFont::Bold, "b");
        wrap(format.fontItalic(), "i");
        wrap(format.fontUnderline(), "u");
        wrap(format.fontStrikeOut(), "s");
        wrap(format.verticalAlignment() == QTextCharFormat::AlignSuperScript, "sup");
        wrap(format.verticalAlignment() == QTextCharFormat::AlignSubScript, "sub");
        html += open + escaped(text) + close;
    }

    void table(QTextTable* table) {
        if (!within(table->firstPosition(), table->lastPosition() + 1))
            return;
        html += QStringLiteral("<table><tbody>");
        for (int row = 0; row < table->rows(); ++row) {
            html += QStringLiteral("<tr>");
            for (int column = 0; column < table->columns(); ++column) {
                const QTextTableCell cell = table->cellAt(row, column);
                if (cell.row() != row || cell.column() != column)
                    continue; // covered by a cell spanning it
                html += QStringLiteral("<td");
                if (cell.columnSpan() > 1)
                    html += QStringLiteral(" colspan=\"%1\"").arg(cell.columnSpan());
                if (cell.rowSpan() > 1)
                    html += QStringLiteral(" rowspan=\"%1\"").arg(cell.rowSpan());
                html += u'>';
                for (QTextFrame::iterator it = cell.begin(); !it.atEnd(); ++it) {
                    if (QTextFrame* child = it.currentFrame())
                        frame(child);
                    else
                        block(it.currentBlock());
                }
                html += QStringLiteral("</td>");
            }
            html += QStringLiteral("</tr>");
        }
        html += QStringLiteral("</tbody></table>");
    }

    const QTextDocument& document_;
    const int start_;
    const int end_;
    WebPictures& pictures_;
};

} // namespace

QString WebPictures::pathOf(const QTextDocument& document, const QString& name) {
    if (const auto found = paths_.constFind(name); found != paths_.constEnd())
        return *found;
    const QImage image =
        document.resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG")) {
        paths_.insert(name, QString());
        return {};
    }
    const QString path = QStringLiteral("imagenes/%1.png").arg(files_.size() + 1);
    paths_.insert(name, path);
    files_.append({path, png});
    return path;
}

QString ReadingHtml(const QTextDocument& document, int start, int end, WebPictures& pictures) {
    Writer writer(document, start, end, pictures);
    writer.frame(document.rootFrame());
    return writer.html;
}
