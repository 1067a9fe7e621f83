#include "Questions.h"

#include <QRegularExpression>

namespace {

// A piece of the file: the text of consecutive lines, and the file line of each character.
struct Piece {
    QString text;
    QList<int> lines;
};

// Position of the first of `chars` at or after from that no backslash escapes; -1 if none.
qsizetype findUnescaped(const QString& text, QStringView chars, qsizetype from = 0) {
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

QString unescaped(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            ++i;
            out += text[i] == u'n' ? QChar(u' ') : text[i];
        } else {
            out += text[i] == u'\n' ? QChar(u' ') : text[i];
        }
    }
    return out.simplified();
}

// A question's text without its format mark ([html], [moodle], [plain], [markdown]); HTML
// becomes plain text.
QString plainText(QString text) {
    static const QRegularExpression format(
        QStringLiteral("^\\s*\\[(html|moodle|plain|markdown)\\]"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = format.match(text);
    if (m.hasMatch()) {
        const bool html = m.captured(1).compare(QStringLiteral("html"), Qt::CaseInsensitive) == 0;
        text = text.mid(m.capturedEnd());
        if (html) {
            static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
            text.replace(tag, QStringLiteral(" "));
            text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
            text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
            text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
            text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
            text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        }
    }
    return text;
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
    QString failure;
};

QString at(const Piece& piece, qsizetype position, const QString& what) {
    const int line = piece.lines.value(std::min(position, piece.lines.size() - 1), 0);
    return QStringLiteral("línea %1: %2").arg(line).arg(what);
}

Parsed parseQuestion(const Piece& piece) {
    Parsed parsed;
    QString text = piece.text;
    parsed.question.line = piece.lines.value(0);
    qsizetype start = 0;
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
        if (close < 0) {
            parsed.kind = Kind::Malformed;
            parsed.failure = at(piece, open, QStringLiteral("falta el «::» que cierra el título"));
            return parsed;
        }
        start = close + 2;
    }
    const qsizetype open = findUnescaped(text, u"{}", start);
    if (open < 0)
        return parsed; // a description: no answers, no question
    if (text[open] == u'}') {
        parsed.kind = Kind::Malformed;
        parsed.failure = at(piece, open, QStringLiteral("«}» sin «{» antes"));
        return parsed;
    }
    const qsizetype close = findUnescaped(text, u"{}", open + 1);
    if (close < 0 || text[close] == u'{') {
        parsed.kind = Kind::Malformed;
        parsed.failure = at(piece, open,
                            QStringLiteral("falta la llave de cierre «}» de las respuestas que "
                                           "empiezan aquí"));
        return parsed;
    }
    if (findUnescaped(text, u"{}", close + 1) >= 0) {
        parsed.kind = Kind::Malformed;
        parsed.failure = at(piece, findUnescaped(text, u"{}", close + 1),
                            QStringLiteral("una pregunta lleva un solo grupo de respuestas entre "
                                           "llaves"));
        return parsed;
    }
    const QString before = unescaped(plainText(text.mid(start, open - start)));
    const QString after = unescaped(text.mid(close + 1));
    parsed.question.text = after.isEmpty() ? before : before + QStringLiteral(" _____ ") + after;

    const QString block = text.mid(open + 1, close - open - 1);
    const QString trimmed = block.trimmed();
    static const QRegularExpression trueFalse(QStringLiteral("^(T|F|TRUE|FALSE)\\b"),
                                              QRegularExpression::CaseInsensitiveOption);
    if (trimmed.isEmpty() || trimmed.startsWith(u'#') || trueFalse.match(trimmed).hasMatch())
        return parsed; // essay, numeric, true or false
    if (trimmed[0] != u'=' && trimmed[0] != u'~') {
        parsed.kind = Kind::Malformed;
        parsed.failure = at(piece, open + 1,
                            QStringLiteral("las respuestas empiezan por «=» (correcta) o «~» "
                                           "(incorrecta)"));
        return parsed;
    }
    // The answers, each from its = or ~ to the next one.
    QList<std::pair<QChar, QString>> raw;
    qsizetype i = findUnescaped(block, u"=~");
    while (i >= 0) {
        const qsizetype next = findUnescaped(block, u"=~", i + 1);
        raw.append({block[i], block.mid(i + 1, (next < 0 ? block.size() : next) - i - 1)});
        i = next;
    }
    bool anyWrong = false;
    for (const auto& [mark, body] : raw) {
        if (body.contains(QStringLiteral("->")))
            return parsed; // matching
        anyWrong = anyWrong || mark == u'~';
    }
    if (!anyWrong)
        return parsed; // short answer: every answer is right
    static const QRegularExpression weight(QStringLiteral("^\\s*%(-?\\d+(?:\\.\\d+)?)%"));
    for (const auto& [mark, body] : raw) {
        ImportedAnswer answer;
        QString rest = body;
        answer.judgment = mark == u'=' ? JudgmentKind::Correcta : JudgmentKind::Incorrecta;
        const QRegularExpressionMatch w = weight.match(rest);
        if (w.hasMatch()) {
            const double percent = w.captured(1).toDouble();
            answer.judgment = percent >= 100 ? JudgmentKind::Correcta
                              : percent <= 0 ? JudgmentKind::Incorrecta
                                             : JudgmentKind::Pendiente;
            rest = rest.mid(w.capturedEnd());
        }
        const qsizetype hash = findUnescaped(rest, u"#");
        answer.text = unescaped(plainText(hash < 0 ? rest : rest.left(hash)));
        if (hash >= 0)
            answer.feedback = unescaped(plainText(rest.mid(hash + 1)));
        parsed.question.answers.append(answer);
    }
    parsed.kind = Kind::MultipleChoice;
    return parsed;
}

} // namespace

ImportResult readGift(const QString& source) {
    ImportResult result;
    const QStringList lines = source.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    int section = 0;
    Piece piece;
    auto finish = [&]() -> bool {
        if (piece.text.trimmed().isEmpty()) {
            piece = Piece{};
            return true;
        }
        Parsed parsed = parseQuestion(piece);
        piece = Piece{};
        if (parsed.kind == Kind::Malformed) {
            result.failure = parsed.failure;
            return false;
        }
        if (parsed.kind == Kind::Other) {
            ++result.skipped;
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
        const bool open = findUnescaped(piece.text, u"{") >= 0 &&
                          findUnescaped(piece.text, u"}", findUnescaped(piece.text, u"{")) < 0;
        if (trimmed.isEmpty() && !open) {
            if (!finish())
                break;
            continue;
        }
        if (trimmed.startsWith(QStringLiteral("$CATEGORY:")) && piece.text.isEmpty()) {
            section = categorySection(trimmed.mid(10).trimmed());
            continue;
        }
        if (!piece.text.isEmpty()) {
            piece.text += u'\n';
            piece.lines.append(n + 1);
        }
        piece.text += line;
        for (qsizetype i = 0; i < line.size(); ++i)
            piece.lines.append(n + 1);
    }
    if (result.failure.isEmpty())
        finish();
    if (!result.failure.isEmpty()) {
        result.questions.clear();
        result.skipped = 0;
    }
    return result;
}

ImportResult readQuestions(const QString& text) {
    static const QRegularExpression aiken(QStringLiteral("^\\s*ANSWER:"),
                                          QRegularExpression::MultilineOption);
    return aiken.match(text).hasMatch() ? readAiken(text) : readGift(text);
}
