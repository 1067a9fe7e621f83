#include "lesson/SpokenWords.h"

#include <QRegularExpression>

#include <array>

namespace {

enum class Kind {
    Title, // before a name: its full stop never ends a sentence
    Word,  // its full stop ends a sentence when a capital or the end follows
    Unit,  // after a number: said in the singular after 1
};

struct Abbreviation {
    const char* written;
    const char* said;
    Kind kind;
    const char* singular = nullptr;
};

// Longer forms first where one begins another («Srta.» before «Sr.»).
constexpr std::array kAbbreviations{
    Abbreviation{"Srta.", "señorita", Kind::Title},
    Abbreviation{"Sras.", "señoras", Kind::Title},
    Abbreviation{"Sres.", "señores", Kind::Title},
    Abbreviation{"Sra.", "señora", Kind::Title},
    Abbreviation{"Sr.", "señor", Kind::Title},
    Abbreviation{"Dra.", "doctora", Kind::Title},
    Abbreviation{"Dr.", "doctor", Kind::Title},
    Abbreviation{"Dña.", "doña", Kind::Title},
    Abbreviation{"Uds.", "ustedes", Kind::Title},
    Abbreviation{"Ud.", "usted", Kind::Title},
    Abbreviation{"Vd.", "usted", Kind::Title},
    Abbreviation{"Prof.", "profesor", Kind::Title},
    Abbreviation{"Profa.", "profesora", Kind::Title},
    Abbreviation{"Avda.", "avenida", Kind::Title},
    Abbreviation{"Av.", "avenida", Kind::Title},
    Abbreviation{"n.º", "número", Kind::Title},
    Abbreviation{"N.º", "número", Kind::Title},
    Abbreviation{"nº", "número", Kind::Title},
    Abbreviation{"Nº", "número", Kind::Title},
    Abbreviation{"núm.", "número", Kind::Title},
    Abbreviation{"págs.", "páginas", Kind::Title},
    Abbreviation{"pág.", "página", Kind::Title},
    Abbreviation{"cap.", "capítulo", Kind::Title},
    Abbreviation{"p. ej.", "por ejemplo", Kind::Word},
    Abbreviation{"p.ej.", "por ejemplo", Kind::Word},
    Abbreviation{"EE. UU.", "Estados Unidos", Kind::Word},
    Abbreviation{"EE.UU.", "Estados Unidos", Kind::Word},
    Abbreviation{"a. C.", "antes de Cristo", Kind::Word},
    Abbreviation{"d. C.", "después de Cristo", Kind::Word},
    Abbreviation{"etc.", "etcétera", Kind::Word},
    Abbreviation{"aprox.", "aproximadamente", Kind::Word},
    Abbreviation{"km/h", "kilómetros por hora", Kind::Unit, "kilómetro por hora"},
    Abbreviation{"km²", "kilómetros cuadrados", Kind::Unit, "kilómetro cuadrado"},
    Abbreviation{"km", "kilómetros", Kind::Unit, "kilómetro"},
    Abbreviation{"cm", "centímetros", Kind::Unit, "centímetro"},
    Abbreviation{"mm", "milímetros", Kind::Unit, "milímetro"},
    Abbreviation{"kg", "kilos", Kind::Unit, "kilo"},
    Abbreviation{"m²", "metros cuadrados", Kind::Unit, "metro cuadrado"},
};

const std::array<QString, 12> kMonths{
    QStringLiteral("enero"),   QStringLiteral("febrero"),   QStringLiteral("marzo"),
    QStringLiteral("abril"),   QStringLiteral("mayo"),      QStringLiteral("junio"),
    QStringLiteral("julio"),   QStringLiteral("agosto"),    QStringLiteral("septiembre"),
    QStringLiteral("octubre"), QStringLiteral("noviembre"), QStringLiteral("diciembre")};

bool isWordChar(QChar c) {
    return c.isLetterOrNumber();
}

bool startsWord(const QString& text, int at) {
    return at == 0 || !isWordChar(text[at - 1]);
}

bool endsWord(const QString& text, int end) {
    return end >= text.size() || !isWordChar(text[end]);
}

// A capital letter or the end of a line or of the text after the blanks that follow end.
bool sentenceFollows(const QString& text, int end) {
    while (end < text.size() && text[end] == u' ')
        ++end;
    return end >= text.size() || text[end] == u'\n' || text[end].isUpper() || text[end] == u'¿' ||
           text[end] == u'¡';
}

// The number written just before at, over blanks: 1 makes a unit singular.
bool afterOne(const QString& text, int at) {
    int i = at;
    while (i > 0 && text[i - 1] == u' ')
        --i;
    return i > 0 && text[i - 1] == u'1' && (i == 1 || !text[i - 2].isDigit()) &&
           (i < 2 || (text[i - 2] != u',' && text[i - 2] != u'.'));
}

QString ordinalWords(int n, bool feminine, bool shortened) {
    static const char* units[] = {"",       "primero", "segundo", "tercero", "cuarto",
                                  "quinto", "sexto",   "séptimo", "octavo",  "noveno"};
    static const char* tens[] = {
        "",           "décimo",       "vigésimo",   "trigésimo", "cuadragésimo", "quincuagésimo",
        "sexagésimo", "septuagésimo", "octogésimo", "nonagésimo"};
    QString words;
    if (n == 11)
        words = QStringLiteral("undécimo");
    else if (n == 12)
        words = QStringLiteral("duodécimo");
    else if (n > 12 && n < 20)
        words = n == 18 ? QStringLiteral("decimoctavo")
                        : QStringLiteral("decimo") + QString::fromUtf8(units[n % 10]);
    else if (n % 10 == 0)
        words = QString::fromUtf8(tens[n / 10]);
    else if (n < 10)
        words = QString::fromUtf8(units[n]);
    else
        words = QString::fromUtf8(tens[n / 10]) + u' ' + QString::fromUtf8(units[n % 10]);
    // «1.er», «3.er»: «primer», «tercer»; the other words end in o, which turns to a.
    if (shortened)
        words.chop(1);
    else if (feminine)
        words.replace(QRegularExpression(QStringLiteral("o\\b")), QStringLiteral("a"));
    return words;
}

} // namespace

int matchAbbreviation(const QString& text, int at, QString& words) {
    for (const Abbreviation& a : kAbbreviations) {
        const QString written = QString::fromUtf8(a.written);
        const bool unit = a.kind == Kind::Unit;
        if (!(startsWord(text, at) || (unit && at > 0 && text[at - 1].isDigit())) ||
            !QStringView(text).mid(at).startsWith(written))
            continue;
        const int end = at + written.size();
        if (!written.endsWith(u'.') && !endsWord(text, end))
            continue;
        words = QString::fromUtf8(unit && afterOne(text, at) ? a.singular : a.said);
        // The full stop that closed both the abbreviation and the sentence is still heard.
        if (a.kind == Kind::Word && sentenceFollows(text, end))
            words += u'.';
        return written.size();
    }
    return 0;
}

int matchOrdinal(const QString& text, int at, QString& words) {
    static const QRegularExpression ordinal(QStringLiteral("\\G(\\d{1,2})\\.?(º|ª|er)"));
    if (!startsWord(text, at))
        return 0;
    const auto m = ordinal.match(text, at, QRegularExpression::NormalMatch);
    if (!m.hasMatch() || !endsWord(text, m.capturedEnd()))
        return 0;
    const int n = m.captured(1).toInt();
    if (n == 0)
        return 0;
    words = ordinalWords(n, m.captured(2) == u"ª", m.captured(2) == u"er");
    return m.capturedLength();
}

int matchDate(const QString& text, int at, QString& words) {
    static const QRegularExpression date(
        QStringLiteral("\\G(\\d{1,2})/(\\d{1,2})/(\\d{4}|\\d{2})"));
    if (!startsWord(text, at))
        return 0;
    const auto m = date.match(text, at);
    if (!m.hasMatch() || !endsWord(text, m.capturedEnd()) ||
        (m.capturedEnd() < text.size() && text[m.capturedEnd()] == u'/'))
        return 0;
    const int day = m.captured(1).toInt();
    const int month = m.captured(2).toInt();
    if (day < 1 || day > 31 || month < 1 || month > 12)
        return 0;
    const QString year = m.captured(3);
    words = QString::number(day) + QStringLiteral(" de ") + kMonths[month - 1] +
            (year.size() == 2 ? QStringLiteral(" del ") : QStringLiteral(" de ")) + year;
    return m.capturedLength();
}

bool periodEndsAbbreviation(const QString& text, int at) {
    for (const Abbreviation& a : kAbbreviations) {
        const QString written = QString::fromUtf8(a.written);
        // The full stop may be any of the form's own: «p.» of «p. ej.» ends nothing either.
        for (int k = written.indexOf(u'.'); k >= 0; k = written.indexOf(u'.', k + 1)) {
            const int start = at - k;
            if (start < 0 || !startsWord(text, start) ||
                QStringView(text).mid(start, written.size()) != written)
                continue;
            if (k + 1 < written.size())
                return true;
            return a.kind == Kind::Title || !sentenceFollows(text, at + 1);
        }
    }
    return false;
}
