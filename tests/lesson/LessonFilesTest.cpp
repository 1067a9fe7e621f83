#include "lesson/LessonFiles.h"

#include <gtest/gtest.h>

namespace {

TEST(SepararRutaDeLeccion, SplitsAtTheLastSeparatorAndTheLastUnderscore) {
    SepararRutaDeLeccion(QStringLiteral("C:\\Lecturas\\El_volcan_lec.rtf"));
    EXPECT_EQ(DirLeccion.str(), QStringLiteral("C:\\Lecturas\\"));
    EXPECT_EQ(NombreLeccion.str(), QStringLiteral("El_volcan"));
    EXPECT_EQ(LessonTextPath(), QStringLiteral("C:\\Lecturas\\El_volcan_lec.rtf"));
    EXPECT_EQ(KeyPath(), QStringLiteral("C:\\Lecturas\\El_volcan_CRJ.TXT"));
    EXPECT_EQ(RegisterPath(QStringLiteral("07122026")),
              QStringLiteral("C:\\Lecturas\\El_volcan07122026_reg.csv"));

    SepararRutaDeLeccion(QStringLiteral("/home/ana/lecturas_2/Tema_3.rtf"));
    EXPECT_EQ(DirLeccion.str(), QStringLiteral("/home/ana/lecturas_2/"));
    EXPECT_EQ(NombreLeccion.str(), QStringLiteral("Tema"));
    EXPECT_EQ(LessonTextPath(), QStringLiteral("/home/ana/lecturas_2/Tema_lec.rtf"));

    // No underscore, or one at the start: an empty name. No folder: an empty folder.
    SepararRutaDeLeccion(QStringLiteral("/tmp/volcan.rtf"));
    EXPECT_EQ(NombreLeccion.str(), QString());
    EXPECT_EQ(KeyPath(), QStringLiteral("/tmp/_CRJ.TXT"));
    SepararRutaDeLeccion(QStringLiteral("_lec.rtf"));
    EXPECT_EQ(DirLeccion.str(), QString());
    EXPECT_EQ(NombreLeccion.str(), QString());
    SepararRutaDeLeccion(QStringLiteral("Tema_lec.rtf"));
    EXPECT_EQ(DirLeccion.str(), QString());
    EXPECT_EQ(NombreLeccion.str(), QStringLiteral("Tema"));
    // An underscore in the folder does not name the lesson.
    SepararRutaDeLeccion(QStringLiteral("C:\\mis_lecturas\\volcan"));
    EXPECT_EQ(NombreLeccion.str(), QString());
}

TEST(SepararRutaDeLeccion, CutsALongPathBeforeSplittingIt) {
    const QString folder = QStringLiteral("/") + QString(250, u'a') + QStringLiteral("/");
    SepararRutaDeLeccion(folder + QStringLiteral("El_volcan_lec.rtf"));
    // 252 characters of folder leave "El_" of the file name: the name is "El".
    EXPECT_EQ(DirLeccion.str(), folder);
    EXPECT_EQ(NombreLeccion.str(), QStringLiteral("El"));
    SepararRutaDeLeccion(QStringLiteral("/") + QString(300, u'b') + QStringLiteral("/x_lec.rtf"));
    EXPECT_EQ(DirLeccion.str(), QStringLiteral("/"));
    EXPECT_EQ(NombreLeccion.str(), QString());

    NombreAlumno = QString(300, u'n');
    EXPECT_EQ(NombreAlumno.str().size(), 255);
}

} // namespace
