#include "lesson/Sections.h"

#include "lesson/IntegerText.h"
#include "lesson/LessonFiles.h"
#include "platform/core/ToolkitError.h"
#include "tests/lesson/Fakes.h"

#include <gtest/gtest.h>

namespace {

int count(const QStringList& lines, FakePrompter& prompter) {
    FakeViewer viewer(lines);
    return ContarSecciones(viewer, prompter);
}

QString conversionError(const QString& text) {
    try {
        TextToInteger(text);
    } catch (const ToolkitError& e) {
        return e.message();
    }
    return QStringLiteral("(converted)");
}

TEST(ContarSecciones, TakesTheNumberOfTheLastMarkerLine) {
    FakePrompter prompter;
    // Markers missing or out of order do not matter: the last one says how many.
    EXPECT_EQ(count({QStringLiteral(".Sección 2"), QStringLiteral("texto"),
                     QStringLiteral(".Sección 7"), QStringLiteral("fin")},
                    prompter),
              7);
    EXPECT_EQ(count({QStringLiteral(".Sección 12")}, prompter), 12);
    EXPECT_EQ(count({QStringLiteral(".Sección 123")}, prompter), 12);
    // ASCII capitals fold; a capital Ó does not, nor does a marker that does not begin its line.
    EXPECT_EQ(count({QStringLiteral(".SECCIóN 4"), QStringLiteral(".SECCIÓN 5"),
                     QStringLiteral(" .Sección 6")},
                    prompter),
              4);
    // No blank or two blanks before the number still count here.
    EXPECT_EQ(count({QStringLiteral(".Sección3")}, prompter), 3);
    EXPECT_EQ(count({QStringLiteral(".Sección  9")}, prompter), 9);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST(ContarSecciones, ReportsTheThreeCharactersThatDoNotConvert) {
    FakePrompter prompter;
    FakeViewer dot({QStringLiteral(".Sección 1."), QStringLiteral("texto")});
    try {
        ContarSecciones(dot, prompter);
        FAIL() << "no error";
    } catch (const ToolkitError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("' 1.' is not a valid integer value"));
    }
    FakeViewer titled({QStringLiteral(".Sección 2 El volcán")});
    EXPECT_THROW(ContarSecciones(titled, prompter), ToolkitError);
    FakeViewer bare({QStringLiteral(".Sección")});
    try {
        ContarSecciones(bare, prompter);
        FAIL() << "no error";
    } catch (const ToolkitError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'' is not a valid integer value"));
    }
}

TEST(ContarSecciones, TextWithoutMarkersHasNoSectionsAndSaysSo) {
    FakePrompter prompter;
    NombreLeccion = QStringLiteral("El_volcan");
    EXPECT_EQ(count({QStringLiteral("Sección 1"), QStringLiteral("sin marcas")}, prompter), 0);
    EXPECT_EQ(count({}, prompter), 0);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].kind, QStringLiteral("message"));
    EXPECT_EQ(prompter.shown[0].text,
              QStringLiteral("No se encuentra ninguna .Sección en el archivo El_volcan_lec.rtf"));
}

TEST(TextToInteger, FollowsTheToolkitConversion) {
    EXPECT_EQ(TextToInteger(QStringLiteral(" 12")), 12);
    EXPECT_EQ(TextToInteger(QStringLiteral("  7")), 7);
    EXPECT_EQ(TextToInteger(QStringLiteral(" -3")), -3);
    EXPECT_EQ(TextToInteger(QStringLiteral("+5")), 5);
    EXPECT_EQ(TextToInteger(QStringLiteral("$1F")), 31);
    EXPECT_EQ(TextToInteger(QStringLiteral("x1f")), 31);
    EXPECT_EQ(TextToInteger(QStringLiteral("X0A")), 10);
    EXPECT_EQ(TextToInteger(QStringLiteral("0x9")), 9);
    EXPECT_EQ(TextToInteger(QStringLiteral("007")), 7);
    for (const char* bad : {"", "   ", " 1 ", "1a", "$", "0x", "-", "+ 1", "\t1", "١٢"})
        EXPECT_EQ(conversionError(QString::fromUtf8(bad)),
                  QStringLiteral("'%1' is not a valid integer value").arg(QString::fromUtf8(bad)))
            << bad;
    EXPECT_EQ(conversionError(QStringLiteral("99999999999")),
              QStringLiteral("'99999999999' is not a valid integer value"));
}

TEST(LlenarListaDeSecciones, ListsEverySectionAsPending) {
    FakeList list;
    list.items = {QStringLiteral("viejo")};
    SeccionesPendientes.add(200);
    NumSecciones = 3;
    LlenarListaDeSecciones(list);
    EXPECT_EQ(list.items, QStringList({QStringLiteral("Sección 1"), QStringLiteral("Sección 2"),
                                       QStringLiteral("Sección 3")}));
    EXPECT_EQ(list.selectedIndex(), -1);
    EXPECT_TRUE(SeccionesPendientes.contains(1) && SeccionesPendientes.contains(3));
    EXPECT_FALSE(SeccionesPendientes.contains(200) || SeccionesPendientes.contains(4));

    NumSecciones = 0;
    LlenarListaDeSecciones(list);
    EXPECT_TRUE(list.items.isEmpty());
    EXPECT_TRUE(SeccionesPendientes.isEmpty());
}

TEST(ShowSection, JumpsToTheEndThenBringsTheMarkerToTheTop) {
    FakeViewer viewer({QStringLiteral("Intro"), QStringLiteral(".Sección 1"), QStringLiteral("uno"),
                       QStringLiteral("  .sección 10 x"), QStringLiteral(".Sección2")});
    const int length = viewer.textLength();
    EXPECT_EQ(ShowSection(viewer, 1), 6);
    EXPECT_EQ(viewer.calls,
              QStringList({QStringLiteral("select %1 1").arg(length), QStringLiteral("focus"),
                           QStringLiteral("scroll"), QStringLiteral("select 6 10"),
                           QStringLiteral("focus"), QStringLiteral("scroll")}));
    // Found where it does not begin a line, regardless of case.
    EXPECT_EQ(ShowSection(viewer, 10), 23);
    viewer.calls.clear();
    // No blank before the number: not found, and the view is left alone.
    EXPECT_EQ(ShowSection(viewer, 2), -1);
    EXPECT_TRUE(viewer.calls.isEmpty());
}

} // namespace
