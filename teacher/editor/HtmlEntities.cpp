#include "teacher/editor/MarkupText.h"

#include <QHash>
#include <QStringList>

namespace {

// The character references of HTML 4 (Latin-1, symbols and Greek, special characters) and
// "apos"; Moodle's editor writes no others.
QHash<QString, char32_t> entityTable() {
    QHash<QString, char32_t> table;
    // U+00A0 to U+00FF, in order.
    const QStringList latin1 =
        QStringLiteral(
            "nbsp iexcl cent pound curren yen brvbar sect uml copy ordf laquo not shy reg macr deg "
            "plusmn sup2 sup3 acute micro para middot cedil sup1 ordm raquo frac14 frac12 frac34 "
            "iquest Agrave Aacute Acirc Atilde Auml Aring AElig Ccedil Egrave Eacute Ecirc Euml "
            "Igrave Iacute Icirc Iuml ETH Ntilde Ograve Oacute Ocirc Otilde Ouml times Oslash "
            "Ugrave "
            "Uacute Ucirc Uuml Yacute THORN szlig agrave aacute acirc atilde auml aring aelig "
            "ccedil "
            "egrave eacute ecirc euml igrave iacute icirc iuml eth ntilde ograve oacute ocirc "
            "otilde "
            "ouml divide oslash ugrave uacute ucirc uuml yacute thorn yuml")
            .split(u' ');
    for (qsizetype i = 0; i < latin1.size(); ++i)
        table.insert(latin1[i], char32_t(0xA0 + i));
    // The Greek letters, in order, capitals from U+0391 and small ones from U+03B1 (no capital
    // final sigma).
    const QStringList greek = QStringLiteral("alpha beta gamma delta epsilon zeta eta theta iota "
                                             "kappa lambda mu nu xi omicron pi rho sigmaf sigma "
                                             "tau upsilon phi chi psi omega")
                                  .split(u' ');
    for (qsizetype i = 0; i < greek.size(); ++i) {
        table.insert(greek[i], char32_t(0x3B1 + i));
        if (greek[i] != u"sigmaf") {
            QString capital = greek[i];
            capital[0] = capital[0].toUpper();
            table.insert(capital, char32_t(0x391 + i));
        }
    }
    const std::pair<const char*, char32_t> others[] = {
        {"quot", 34},       {"amp", 38},         {"apos", 39},       {"lt", 60},
        {"gt", 62},         {"OElig", 0x152},    {"oelig", 0x153},   {"Scaron", 0x160},
        {"scaron", 0x161},  {"Yuml", 0x178},     {"fnof", 0x192},    {"circ", 0x2C6},
        {"tilde", 0x2DC},   {"thetasym", 0x3D1}, {"upsih", 0x3D2},   {"piv", 0x3D6},
        {"ensp", 0x2002},   {"emsp", 0x2003},    {"thinsp", 0x2009}, {"zwnj", 0x200C},
        {"zwj", 0x200D},    {"lrm", 0x200E},     {"rlm", 0x200F},    {"ndash", 0x2013},
        {"mdash", 0x2014},  {"lsquo", 0x2018},   {"rsquo", 0x2019},  {"sbquo", 0x201A},
        {"ldquo", 0x201C},  {"rdquo", 0x201D},   {"bdquo", 0x201E},  {"dagger", 0x2020},
        {"Dagger", 0x2021}, {"bull", 0x2022},    {"hellip", 0x2026}, {"permil", 0x2030},
        {"prime", 0x2032},  {"Prime", 0x2033},   {"lsaquo", 0x2039}, {"rsaquo", 0x203A},
        {"oline", 0x203E},  {"frasl", 0x2044},   {"euro", 0x20AC},   {"image", 0x2111},
        {"weierp", 0x2118}, {"real", 0x211C},    {"trade", 0x2122},  {"alefsym", 0x2135},
        {"larr", 0x2190},   {"uarr", 0x2191},    {"rarr", 0x2192},   {"darr", 0x2193},
        {"harr", 0x2194},   {"crarr", 0x21B5},   {"lArr", 0x21D0},   {"uArr", 0x21D1},
        {"rArr", 0x21D2},   {"dArr", 0x21D3},    {"hArr", 0x21D4},   {"forall", 0x2200},
        {"part", 0x2202},   {"exist", 0x2203},   {"empty", 0x2205},  {"nabla", 0x2207},
        {"isin", 0x2208},   {"notin", 0x2209},   {"ni", 0x220B},     {"prod", 0x220F},
        {"sum", 0x2211},    {"minus", 0x2212},   {"lowast", 0x2217}, {"radic", 0x221A},
        {"prop", 0x221D},   {"infin", 0x221E},   {"ang", 0x2220},    {"and", 0x2227},
        {"or", 0x2228},     {"cap", 0x2229},     {"cup", 0x222A},    {"int", 0x222B},
        {"there4", 0x2234}, {"sim", 0x223C},     {"cong", 0x2245},   {"asymp", 0x2248},
        {"ne", 0x2260},     {"equiv", 0x2261},   {"le", 0x2264},     {"ge", 0x2265},
        {"sub", 0x2282},    {"sup", 0x2283},     {"nsub", 0x2284},   {"sube", 0x2286},
        {"supe", 0x2287},   {"oplus", 0x2295},   {"otimes", 0x2297}, {"perp", 0x22A5},
        {"sdot", 0x22C5},   {"lceil", 0x2308},   {"rceil", 0x2309},  {"lfloor", 0x230A},
        {"rfloor", 0x230B}, {"lang", 0x2329},    {"rang", 0x232A},   {"loz", 0x25CA},
        {"spades", 0x2660}, {"clubs", 0x2663},   {"hearts", 0x2665}, {"diams", 0x2666},
    };
    for (const auto& [name, code] : others)
        table.insert(QString::fromLatin1(name), code);
    return table;
}

// The character a reference's body names ("laquo", "#171", "#xAB"); 0 when it names none.
char32_t referenced(QStringView body) {
    if (body.startsWith(u'#')) {
        bool ok = false;
        const bool hex = body.size() > 1 && (body[1] == u'x' || body[1] == u'X');
        const uint code = body.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
        // Control characters and surrogates are no text.
        if (!ok || code < 32 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return 0;
        return char32_t(code);
    }
    static const QHash<QString, char32_t> table = entityTable();
    return table.value(body.toString(), 0);
}

} // namespace

QString decodeHtmlEntities(const QString& text) {
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype amp = text.indexOf(u'&', i);
        if (amp < 0)
            break;
        out += QStringView(text).mid(i, amp - i);
        // A reference is short (a name of at most 8 letters, or a number): only that far is its
        // ";" looked for, so that a text full of "&" is still read in one pass.
        const qsizetype length = QStringView(text).mid(amp + 1, 11).indexOf(u';');
        const qsizetype semicolon = length < 0 ? -1 : amp + 1 + length;
        const char32_t c =
            length > 0 ? referenced(QStringView(text).mid(amp + 1, length)) : char32_t(0);
        if (c == 0) {
            out += u'&';
            i = amp + 1;
            continue;
        }
        out += QString::fromUcs4(&c, 1);
        i = semicolon + 1;
    }
    out += QStringView(text).mid(i);
    return out;
}
