// The text the voice is given: the forms it says wrongly rewritten, every word traced back to the
// viewer's text, and sentences that abbreviations do not end.
#include "lesson/SpokenText.h"
#include "lesson/ReadingUnits.h"

#include <gtest/gtest.h>

namespace {

QString spoken(const char* shown) {
    const QString text = QString::fromUtf8(shown);
    return SpokenText(text, 0, text.size()).text();
}

TEST(SpokenTextTest, SaysAbbreviationsOrdinalsUnitsAndDatesAsAReaderWould) {
    const struct {
        const char* shown;
        const char* said;
    } cases[] = {
        {"el 1.º de la fila y la 2.ª", "el primero de la fila y la segunda"},
        {"el 1.er día, el 3.er piso, la 21.ª vez",
         "el primer día, el tercer piso, la vigésima primera vez"},
        {"el 11.º y el 18.º", "el undécimo y el decimoctavo"},
        {"la casa n.º 5 y el nº 7", "la casa número 5 y el número 7"},
        {"frutas, p. ej. uvas", "frutas, por ejemplo uvas"},
        {"viajó a EE. UU. y a EE.UU. en mayo", "viajó a Estados Unidos y a Estados Unidos en mayo"},
        {"a 3 km de aquí, a 1 km del mar", "a 3 kilómetros de aquí, a 1 kilómetro del mar"},
        {"a 90 km/h", "a 90 kilómetros por hora"},
        {"ver pág. 12", "ver página 12"},
        {"uvas, higos, etc. Luego", "uvas, higos, etcétera. Luego"},
        {"uvas, higos, etc., y pan", "uvas, higos, etcétera, y pan"},
        {"la Sra. Pérez y el Dr. Gil", "la señora Pérez y el doctor Gil"},
        {"el 12/10/2026 y el 3/5/26", "el 12 de octubre de 2026 y el 3 de mayo del 26"},
        // Left to the voice, which says them right; and what only looks like our forms.
        {"en 2024 había 1.500 vecinos, el 3,5 %, a las 8:30",
         "en 2024 había 1.500 vecinos, el 3,5 %, a las 8:30"},
        {"el 40/13/2026, la 1/2 y el kmart", "el 40/13/2026, la 1/2 y el kmart"},
        {"«Hola», dijo", " Hola , dijo"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(spoken(c.shown), QString::fromUtf8(c.said)) << c.shown;
}

TEST(SpokenTextTest, EveryRewrittenWordLeadsBackToWhatTheStudentSees) {
    const QString shown = QString::fromUtf8("¿Vio la Sra. Núñez el 12/10/2026 en la pág. 3?");
    const SpokenText text(shown, 4, shown.size());
    const struct {
        const char* said;
        const char* lit;
    } cases[] = {{"la", "la"},       {"señora", "Sra"},
                 {"Núñez", "Núñez"}, {"octubre", "12/10/2026"},
                 {"página", "pág"},  {"3", "3"}};
    for (const auto& c : cases) {
        const QString said = QString::fromUtf8(c.said);
        const int at = text.text().indexOf(said);
        ASSERT_GE(at, 0) << c.said;
        const Span span = WordOnly(shown, text.shownSpan(at, said.size()));
        EXPECT_EQ(shown.mid(span.start, span.length()), QString::fromUtf8(c.lit)) << c.said;
    }
}

TEST(SpokenTextTest, SentencesEndWhereAReaderStops) {
    const QString shown = QString::fromUtf8("La Sra. Gil vino, p. ej. ayer. ¿Qué trajo? Uvas, "
                                            "higos, etc. Hay 1.500 más.\nOtra línea");
    const struct {
        const char* inside;
        const char* sentence;
    } cases[] = {{"Gil", "La Sra. Gil vino, p. ej. ayer."},
                 {"trajo", "¿Qué trajo?"},
                 {"higos", "Uvas, higos, etc."},
                 {"1.500", "Hay 1.500 más."},
                 {"Otra", "Otra línea"}};
    for (const auto& c : cases) {
        const Span s = SentenceAround(shown, shown.indexOf(QString::fromUtf8(c.inside)));
        EXPECT_EQ(shown.mid(s.start, s.length()), QString::fromUtf8(c.sentence)) << c.inside;
    }
}

TEST(SpokenTextTest, AReadingStartsAtItsSectionOrItsWord) {
    const QString shown = QStringLiteral("Título\n.Sección 1\nUno dos.\n.Sección 2\nTres cuatro.");
    const Span first = SectionAround(shown, shown.indexOf(QStringLiteral("dos")));
    EXPECT_EQ(shown.mid(first.start, first.length()), QStringLiteral("Uno dos.\n"));
    const Span second = SectionBody(shown, 2);
    EXPECT_EQ(shown.mid(second.start, second.length()), QStringLiteral("Tres cuatro."));
    const Span title = SectionAround(shown, 2);
    EXPECT_EQ(shown.mid(title.start, title.length()), QStringLiteral("Título\n"));
    EXPECT_EQ(WordStart(shown, shown.indexOf(QStringLiteral("atro"))),
              shown.indexOf(QStringLiteral("cuatro")));
}

} // namespace
