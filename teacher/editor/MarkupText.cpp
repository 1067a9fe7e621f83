#include "teacher/editor/MarkupText.h"

#include <QRegularExpression>
#include <QSet>

namespace {

// Elements that begin a block or a line: their tags part words, the others join them.
bool partsWords(const QString& name) {
    static const QSet<QString> blocks = {
        QStringLiteral("address"),    QStringLiteral("article"), QStringLiteral("aside"),
        QStringLiteral("blockquote"), QStringLiteral("br"),      QStringLiteral("dd"),
        QStringLiteral("div"),        QStringLiteral("dl"),      QStringLiteral("dt"),
        QStringLiteral("figcaption"), QStringLiteral("figure"),  QStringLiteral("footer"),
        QStringLiteral("h1"),         QStringLiteral("h2"),      QStringLiteral("h3"),
        QStringLiteral("h4"),         QStringLiteral("h5"),      QStringLiteral("h6"),
        QStringLiteral("header"),     QStringLiteral("hr"),      QStringLiteral("img"),
        QStringLiteral("li"),         QStringLiteral("ol"),      QStringLiteral("p"),
        QStringLiteral("pre"),        QStringLiteral("section"), QStringLiteral("table"),
        QStringLiteral("tbody"),      QStringLiteral("td"),      QStringLiteral("tfoot"),
        QStringLiteral("th"),         QStringLiteral("thead"),   QStringLiteral("tr"),
        QStringLiteral("ul")};
    return blocks.contains(name.toLower());
}

// Markdown's escapable characters stand in the private use area while the markup is read, so
// that an escaped "*" is never taken for emphasis.
constexpr char16_t kHidden = 0xE000;

QString hideEscapes(const QString& text) {
    static const QString escapable = QStringLiteral("\\`*_{}[]()#+-.!>|");
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size() && escapable.contains(text[i + 1]))
            out += QChar(char16_t(kHidden + text[++i].unicode()));
        else
            out += text[i];
    }
    return out;
}

QString showEscapes(QString text) {
    for (QChar& c : text)
        if (c.unicode() >= kHidden && c.unicode() < kHidden + 128)
            c = QChar(char16_t(c.unicode() - kHidden));
    return text;
}

// Comments, scripts and styles without what they hold; one without its end runs to the end.
QString withoutHiddenParts(const QString& text) {
    static const QRegularExpression start(QStringLiteral("<!--|<(script|style)\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype from = 0;
    for (;;) {
        const QRegularExpressionMatch m = start.match(text, from);
        if (!m.hasMatch())
            break;
        out += QStringView(text).mid(from, m.capturedStart() - from);
        const QString end =
            m.capturedLength(1) > 0 ? QStringLiteral("</") + m.captured(1) : QStringLiteral("-->");
        const qsizetype close = text.indexOf(end, m.capturedEnd(), Qt::CaseInsensitive);
        if (close < 0)
            return out;
        from = m.capturedLength(1) > 0 ? text.indexOf(u'>', close) + 1 : close + end.size();
        if (from <= 0)
            return out;
    }
    out += QStringView(text).mid(from);
    return out;
}

} // namespace

QString htmlToPlain(const QString& text) {
    // A tag ends at its ">"; a "<" before it means the first was no tag.
    static const QRegularExpression tag(QStringLiteral("</?([A-Za-z][A-Za-z0-9]*)\\b[^<>]*>"));
    const QString shown = withoutHiddenParts(text);
    QString out;
    out.reserve(shown.size());
    qsizetype from = 0;
    for (QRegularExpressionMatchIterator it = tag.globalMatch(shown); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(shown).mid(from, m.capturedStart() - from);
        if (partsWords(m.captured(1)))
            out += u' ';
        from = m.capturedEnd();
    }
    out += QStringView(shown).mid(from);
    return decodeHtmlEntities(out);
}

QString markdownToPlain(const QString& text) {
    struct Rule {
        QRegularExpression pattern;
        QString replacement;
    };
    static const QList<Rule> rules = {
        // Images and links by their text; then headings, quotes and bullets at a line's start.
        {QRegularExpression(QStringLiteral("!?\\[([^\\]\\n]{0,500})\\]\\([^)\\n]{0,2000}\\)")),
         QStringLiteral("\\1")},
        {QRegularExpression(QStringLiteral("^[ \\t]*(#{1,6}|>+|[-*+](?=[ \\t]))[ \\t]*"),
                            QRegularExpression::MultilineOption),
         QString()},
        {QRegularExpression(QStringLiteral("`([^`\\n]{0,500})`")), QStringLiteral("\\1")},
        // Strong before emphasis; an underscore inside a word is no markup. Spans are bounded,
        // so that a line full of unmatched marks is still read in linear time.
        {QRegularExpression(QStringLiteral("(\\*\\*|__)(?=\\S)(.{1,500}?)(?<=\\S)\\1")),
         QStringLiteral("\\2")},
        {QRegularExpression(QStringLiteral("(?<![\\w*])\\*(?=\\S)(.{1,500}?)(?<=\\S)\\*(?![\\w*])"),
                            QRegularExpression::UseUnicodePropertiesOption),
         QStringLiteral("\\1")},
        {QRegularExpression(QStringLiteral("(?<!\\w)_(?=\\S)(.{1,500}?)(?<=\\S)_(?!\\w)"),
                            QRegularExpression::UseUnicodePropertiesOption),
         QStringLiteral("\\1")},
    };
    QString out = hideEscapes(text);
    for (const Rule& rule : rules)
        out.replace(rule.pattern, rule.replacement);
    return showEscapes(htmlToPlain(out));
}
