#include "teacher/editor/MarkupText.h"
#include "teacher/editor/Questions.h"

#include <QRegularExpression>

namespace {

// A piece of the file: the text of consecutive lines, and the file line of each character.
struct Piece {
    QString text;
    QList<int> lines;
};

// Position of the first of `chars` at or after from that no backslash escapes; -1 if none.
qsizetype findUnescaped(QStringView text, QStringView chars, qsizetype from = 0) {
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == u'\\') {
            ++i;
            continue;
        }
        if (chars.contains(text[i]))
            return i;
    }
    return -1;
}

// GIFT's escapes as Moodle reads them: \~ \= \# \{ \} \: \\ give the character, \n a line
// break; any other backslash is text (Markdown has escapes of its own).
QString giftUnescaped(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            const QChar next = text[i + 1];
            if (next == u'n' || QStringView(u"~=#{}:\\").contains(next)) {
                out += next == u'n' ? QChar(u'\n') : next;
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

enum class Format { Plain, Html, Markdown };

// A text's own format mark ([html], [moodle], [plain], [markdown]), taken off; the format it
// inherits when it has none. Moodle's own format takes HTML.
Format takeFormat(QString& text, Format inherited) {
    static const QRegularExpression mark(QStringLiteral("^\\s*\\[(html|moodle|plain|markdown)\\]"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = mark.match(text);
    if (!m.hasMatch())
        return inherited;
    const QString name = m.captured(1).toLower();
    text = text.mid(m.capturedEnd());
    return name == u"plain" ? Format::Plain : name == u"markdown" ? Format::Markdown : Format::Html;
}

// The plain text of a piece of GIFT: escapes resolved, markup dropped, blanks collapsed.
QString plain(QString text, Format inherited) {
    const Format format = takeFormat(text, inherited);
    QString out = giftUnescaped(text);
    if (format == Format::Html)
        out = htmlToPlain(out);
    else if (format == Format::Markdown)
        out = markdownToPlain(out);
    return out.simplified();
}

// "Sección 3", or a category path that ends so, names section 3; anything else names none.
int categorySection(const QString& category) {
    static const QRegularExpression section(QStringLiteral("secci[oó]n\\s*(\\d{1,2})\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = section.match(category.section(u'/', -1));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

enum class Kind { MultipleChoice, Other, Malformed };

struct Parsed {
    Kind kind = Kind::Other;
    ImportedQuestion question;
    LeftOutQuestion leftOut; // for a question of another kind
    QString failure;
};

QString at(const Piece& piece, qsizetype position, const QString& what) {
    const int line = piece.lines.value(std::min(position, piece.lines.size() - 1), 0);
    return QStringLiteral("línea %1: %2").arg(line).arg(what);
}

Parsed malformed(const Piece& piece, qsizetype position, const QString& what) {
    Parsed parsed;
    parsed.kind = Kind::Malformed;
    parsed.failure = at(piece, position, what);
    return parsed;
}

// «Verdadero» and «Falso», right as the braces say; Moodle's first feedback is for the wrong
// answer, the second for the right one.
QList<ImportedAnswer> trueFalse(bool isTrue, const QStringList& feedback, Format format) {
    const QString wrong = plain(feedback.value(1), format);
    const QString right = plain(feedback.value(2), format);
    const ImportedAnswer yes{QStringLiteral("Verdadero"),
                             isTrue ? Verdict::Correcta : Verdict::Incorrecta,
                             isTrue ? right : wrong};
    const ImportedAnswer no{QStringLiteral("Falso"),
                            isTrue ? Verdict::Incorrecta : Verdict::Correcta,
                            isTrue ? wrong : right};
    return {yes, no};
}

// The parts of text between unescaped `#`, at most `most` of them.
QStringList splitAtHashes(const QString& text, int most) {
    QStringList parts;
    qsizetype from = 0;
    for (qsizetype hash = findUnescaped(text, u"#"); hash >= 0 && parts.size() + 1 < most;
         hash = findUnescaped(text, u"#", from)) {
        parts.append(text.mid(from, hash - from));
        from = hash + 1;
    }
    parts.append(text.mid(from));
    return parts;
}

// The answers of a multiple-choice question, each from its = or ~ to the next one; positive
// credit is right, none or negative wrong. Empty for a question of another kind, named in kind.
QList<ImportedAnswer> choices(const QString& block, Format format, QString& kind) {
    QList<std::pair<QChar, QString>> raw;
    qsizetype i = findUnescaped(block, u"=~");
    while (i >= 0) {
        const qsizetype next = findUnescaped(block, u"=~", i + 1);
        raw.append({block[i], block.mid(i + 1, (next < 0 ? block.size() : next) - i - 1)});
        i = next;
    }
    bool anyWrong = false;
    for (const auto& [mark, body] : raw) {
        if (body.contains(QStringLiteral("->"))) {
            kind = QStringLiteral("emparejamiento");
            return {};
        }
        anyWrong = anyWrong || mark == u'~';
    }
    if (!anyWrong) {
        kind = QStringLiteral("respuesta corta");
        return {};
    }
    static const QRegularExpression weight(QStringLiteral("^\\s*%(-?\\d+(?:\\.\\d+)?)%"));
    QList<ImportedAnswer> answers;
    for (const auto& [mark, body] : raw) {
        ImportedAnswer answer;
        QString rest = body;
        answer.judgment = mark == u'=' ? Verdict::Correcta : Verdict::Incorrecta;
        const QRegularExpressionMatch w = weight.match(rest);
        if (w.hasMatch()) {
            answer.judgment =
                w.captured(1).toDouble() > 0 ? Verdict::Correcta : Verdict::Incorrecta;
            rest = rest.mid(w.capturedEnd());
        }
        const qsizetype hash = findUnescaped(rest, u"#");
        answer.text = plain(hash < 0 ? rest : rest.left(hash), format);
        if (hash >= 0)
            answer.feedback = plain(rest.mid(hash + 1), format);
        answers.append(answer);
    }
    return answers;
}

// Where the general feedback ("####…") of an answers block starts; -1 without one.
qsizetype generalFeedback(const QString& block) {
    for (qsizetype h = findUnescaped(block, u"#"); h >= 0; h = findUnescaped(block, u"#", h + 1))
        if (QStringView(block).mid(h, 4) == u"####")
            return h;
    return -1;
}

Parsed parseQuestion(const Piece& piece) {
    Parsed parsed;
    const QString& text = piece.text;
    parsed.question.line = piece.lines.value(0);
    parsed.leftOut.line = parsed.question.line;
    qsizetype start = 0;
    QString title;
    // An optional title between double colons.
    if (text.trimmed().startsWith(QStringLiteral("::"))) {
        const qsizetype open = text.indexOf(QStringLiteral("::"));
        qsizetype close = open + 2;
        for (;;) {
            close = findUnescaped(text, u":", close);
            if (close < 0 || (close + 1 < text.size() && text[close + 1] == u':'))
                break;
            ++close;
        }
        if (close < 0)
            return malformed(piece, open, QStringLiteral("falta el «::» que cierra el título"));
        title = plain(text.mid(open + 2, close - open - 2), Format::Plain);
        start = close + 2;
    }
    const qsizetype open = findUnescaped(text, u"{}", start);
    QString before = text.mid(start, open < 0 ? -1 : open - start);
    const Format format = takeFormat(before, Format::Plain);
    before = plain(before, format);
    parsed.leftOut.title = !title.isEmpty() || before.size() <= 60
                               ? (title.isEmpty() ? before : title)
                               : before.left(59) + QStringLiteral("…");
    if (open < 0) {
        parsed.leftOut.kind = QStringLiteral("descripción");
        return parsed;
    }
    if (text[open] == u'}')
        return malformed(piece, open, QStringLiteral("«}» sin «{» antes"));
    const qsizetype close = findUnescaped(text, u"{}", open + 1);
    if (close < 0 || text[close] == u'{')
        return malformed(piece, open,
                         QStringLiteral("falta la llave de cierre «}» de las respuestas que "
                                        "empiezan aquí"));
    if (const qsizetype again = findUnescaped(text, u"{}", close + 1); again >= 0)
        return malformed(piece, again,
                         QStringLiteral("una pregunta lleva un solo grupo de respuestas entre "
                                        "llaves"));
    const QString after = plain(text.mid(close + 1), format);
    parsed.question.text = after.isEmpty() ? before : before + QStringLiteral(" _____ ") + after;

    QString block = text.mid(open + 1, close - open - 1);
    QString general;
    if (const qsizetype h = generalFeedback(block); h >= 0) {
        general = plain(block.mid(h + 4), format);
        block.truncate(h);
    }
    const QString trimmed = block.trimmed();
    const QStringList feedback = splitAtHashes(trimmed, 3);
    const QString word = feedback.first().trimmed().toUpper();
    if (trimmed.isEmpty()) {
        parsed.leftOut.kind = QStringLiteral("ensayo");
        return parsed;
    }
    if (trimmed.startsWith(u'#')) {
        parsed.leftOut.kind = QStringLiteral("numérica");
        return parsed;
    }
    if (word == u"T" || word == u"TRUE" || word == u"F" || word == u"FALSE") {
        parsed.question.answers = trueFalse(word.startsWith(u'T'), feedback, format);
    } else if (trimmed[0] != u'=' && trimmed[0] != u'~') {
        return malformed(piece, open + 1,
                         QStringLiteral("las respuestas empiezan por «=» (correcta) o «~» "
                                        "(incorrecta)"));
    } else {
        parsed.question.answers = choices(block, format, parsed.leftOut.kind);
        if (parsed.question.answers.isEmpty())
            return parsed;
    }
    // Moodle shows the general feedback whatever the answer: after each answer's own.
    if (!general.isEmpty())
        for (ImportedAnswer& answer : parsed.question.answers)
            answer.feedback =
                answer.feedback.isEmpty() ? general : answer.feedback + u' ' + general;
    parsed.kind = Kind::MultipleChoice;
    return parsed;
}

// Whether a question's answers are still open: a "{" read and no "}" after it. Kept line by
// line, so that a long question is scanned once.
enum class Braces { None, Open, Closed };

Braces afterLine(Braces braces, QStringView line) {
    for (qsizetype i = 0; i < line.size() && braces != Braces::Closed; ++i) {
        if (line[i] == u'\\')
            ++i;
        else if (line[i] == u'{' && braces == Braces::None)
            braces = Braces::Open;
        else if (line[i] == u'}' && braces == Braces::Open)
            braces = Braces::Closed;
    }
    return braces;
}

} // namespace

ImportResult readGift(const QString& source) {
    ImportResult result;
    const QStringList lines = source.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    int section = 0;
    QString unnamedCategory; // the last category line naming no section, until a question uses it
    Piece piece;
    Braces braces = Braces::None;
    auto finish = [&]() -> bool {
        const bool empty = piece.text.trimmed().isEmpty();
        Parsed parsed = empty ? Parsed{} : parseQuestion(piece);
        piece = Piece{};
        braces = Braces::None;
        if (empty)
            return true;
        if (parsed.kind == Kind::Malformed) {
            result.failure = parsed.failure;
            return false;
        }
        if (!unnamedCategory.isEmpty())
            result.notices.append(std::exchange(unnamedCategory, QString()));
        if (parsed.kind == Kind::Other) {
            result.leftOut.append(parsed.leftOut);
            return true;
        }
        parsed.question.section = section;
        result.questions.append(parsed.question);
        return true;
    };
    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        if (n == 0 && line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QStringLiteral("//")))
            continue;
        // Blank lines end a question, unless its answers are still open.
        if (trimmed.isEmpty() && braces != Braces::Open) {
            if (!finish())
                break;
            continue;
        }
        if (trimmed.startsWith(QStringLiteral("$CATEGORY:")) && piece.text.isEmpty()) {
            const QString category = trimmed.mid(10).trimmed();
            section = categorySection(category);
            unnamedCategory =
                section > 0 ? QString()
                            : QStringLiteral("línea %1: la categoría «%2» no nombra ninguna "
                                             "sección («Sección N» al final): sus preguntas van "
                                             "con las que no tienen categoría")
                                  .arg(n + 1)
                                  .arg(category);
            continue;
        }
        if (!piece.text.isEmpty()) {
            piece.text += u'\n';
            piece.lines.append(n + 1);
        }
        piece.text += line;
        piece.lines.insert(piece.lines.size(), line.size(), n + 1);
        braces = afterLine(braces, line);
    }
    if (result.failure.isEmpty())
        finish();
    if (!result.failure.isEmpty()) {
        result.questions.clear();
        result.leftOut.clear();
        result.notices.clear();
    }
    return result;
}

ImportResult readQuestions(const QString& text) {
    static const QRegularExpression aiken(QStringLiteral("^\\s*ANSWER:"),
                                          QRegularExpression::MultilineOption);
    return aiken.match(text).hasMatch() ? readAiken(text) : readGift(text);
}
