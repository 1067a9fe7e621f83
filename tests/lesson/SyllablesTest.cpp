// The syllables read-aloud lights one after another: a table of words whose syllables trip up
// simple rules, each with the syllables a Spanish teacher writes on the board.
#include "lesson/Syllables.h"
#include "lesson/ReadingUnits.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

TEST(SyllablesTest, HardWordsSplitAsTaughtInClass) {
    const char* const table[] = {
        // Inseparable pairs and digraphs, and consonant clusters of two, three and four.
        "ha-blar", "in-fla-ma-ble", "pe-rro", "ca-lle", "mu-cha-cho", "fe-rro-ca-rril",
        "ex-pri-mir", "cons-truc-ción", "ins-tru-men-to", "obs-tá-cu-lo", "abs-trac-to",
        "trans-por-te", "at-las", "chim-pan-cé", "ac-ción", "e-xa-men",
        // Diphthongs, triphthongs, and hiatus by two strong vowels or a written accent.
        "ciu-dad", "cui-da-do", "pei-ne", "hue-vo", "buey", "U-ru-guay", "a-é-re-o", "po-e-ta",
        "hé-ro-e", "le-er", "pa-ís", "ba-úl", "ma-íz", "re-ír", "o-í-do", "ca-í-do", "in-cre-í-ble",
        "ge-o-gra-fí-a", "bio-lo-gí-a", "cria-tu-ra",
        // A silent u after q and g, a sounded ü, h between vowels, y as a consonant or a vowel.
        "quie-ro", "quios-co", "gue-rra", "gui-ta-rra", "a-gua", "an-ti-guo", "pin-güi-no",
        "lin-güís-ti-ca", "a-ve-ri-guéis", "a-ho-ra", "a-hí", "bú-ho", "ca-ca-hue-te", "ma-yo",
        "rey", "muy", "y",
        // Prefixes as the rules split them.
        "de-sar-mar", "su-bra-yar", "des-ha-cer",
        // Capitals.
        "Ár-bol", "Al-ber-to"};
    int right = 0;
    for (const char* row : table) {
        const QString expected = QString::fromUtf8(row);
        const QString word = QString(expected).remove(u'-');
        EXPECT_EQ(Syllabified(word), expected);
        right += Syllabified(word) == expected ? 1 : 0;
    }
    // The size of the table and the words right, for the figures of the documentation.
    std::printf("syllables: %d of %d words right\n", right, int(std::size(table)));
}

// Each piece the voice reports of a hyphenated word, a number or an address lights it all.
TEST(SyllablesTest, HyphenatedWordsNumbersAndAddressesAreLitWhole) {
    const QString text = QString::fromUtf8(
        "Un estudio físico-químico franco-español de 1936 halló -2 grados, 3,5 litros, el 25 % "
        "y 1.936 casas (ver https://ejemplo.es/fauna). Fin-");
    const struct {
        const char* piece;
        const char* unit;
    } cases[] = {{"químico", "físico-químico"},
                 {"físico", "físico-químico"},
                 {"español", "franco-español"},
                 {"936 h", "1936"},
                 {"2 g", "-2"},
                 {"5 l", "3,5"},
                 {"%", "25 %"},
                 {"25", "25 %"},
                 {"936 c", "1.936"},
                 {"fauna", "https://ejemplo.es/fauna"},
                 {"estudio", "estudio"},
                 {"Fin", "Fin"}};
    for (const auto& c : cases) {
        QString piece = QString::fromUtf8(c.piece);
        const int at = text.indexOf(piece);
        ASSERT_GE(at, 0) << c.piece;
        piece = piece.section(u' ', 0, 0);
        const Span unit = UnitAround(text, {at, at + int(piece.size())});
        EXPECT_EQ(text.mid(unit.start, unit.length()), QString::fromUtf8(c.unit)) << c.piece;
    }
}

} // namespace
