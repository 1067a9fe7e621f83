#include "teacher/LessonCheck.h"
#include "lesson/LessonFiles.h"
#include "lesson/PublishedKey.h"
#include "platform/core/ToolkitError.h"
#include "tests/lesson/KeyFile.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A text of one paragraph per element; a paragraph given as several strings is one paragraph that
// the viewer wrapped into those display lines.
LessonText paragraphsOf(const QList<QStringList>& paragraphs) {
    LessonText text;
    for (const QStringList& paragraph : paragraphs) {
        if (!text.text.isEmpty())
            text.text += u'\n';
        for (const QString& line : paragraph) {
            text.lineStarts.append(int(text.text.size()));
            text.lines.append(line);
            text.text += line;
        }
    }
    return text;
}

LessonText textOf(const QStringList& lines) {
    QList<QStringList> paragraphs;
    for (const QString& line : lines)
        paragraphs.append({line});
    return paragraphsOf(paragraphs);
}

// A key with one well-formed question for each of the sections.
QStringList keyFor(int sections) {
    QStringList key;
    for (int s = 1; s <= sections; ++s)
        key << QStringLiteral(".Sección %1").arg(s) << QStringLiteral(".c¿P%1?").arg(s)
            << QStringLiteral(".rSí") << QStringLiteral(".bBien") << QStringLiteral(".rNo")
            << QStringLiteral(".mMal");
    return key;
}

// The problems as printed, each cut to the length of the expected line: the table gives the
// place, the severity and the start of the text.
void expectProblems(const LessonReport& report, const QStringList& expected) {
    QStringList actual;
    for (qsizetype i = 0; i < report.problems.size(); ++i) {
        const QString line = problemLine(report.problems[i]);
        actual.append(i < expected.size() ? line.left(expected[i].size()) : line);
    }
    EXPECT_EQ(actual.join(u'\n').toStdString(), expected.join(u'\n').toStdString());
}

const QStringList kTwoSections = {QStringLiteral(".Sección 1"), QStringLiteral("Había una vez."),
                                  QStringLiteral(".Sección 2"), QStringLiteral("Y después.")};

struct KeyCase {
    const char* what;
    QStringList key;
    QStringList expected;
};

TEST(LessonCheck, KeyRules) {
    const QString s1 = QStringLiteral(".Sección 1");
    const QString s2 = QStringLiteral(".Sección 2");
    const QStringList tail = {s2, QStringLiteral(".cQ"), QStringLiteral(".rR"),
                              QStringLiteral(".bB")};
    const std::vector<KeyCase> cases = {
        {"clean, headers in any case, blank lines between sections",
         {QStringLiteral(".SECCIÓN 1"), ".cP", ".rA", ".bBien", ".RB", ".MNo", "",
          QStringLiteral(".sección 2"), ".cQ", ".rR", ".bB"},
         {}},
        {"answer without its judgment",
         QStringList{s1, ".cP", ".rA", ".rB", ".bBien"} + tail,
         {"k:3: error: falta la línea de juicio"}},
        {"answer without its judgment at the end of the key",
         QStringList{s1, ".cP", ".rA", ".bB"} + tail.mid(0, 3),
         {"k:6: aviso: la pregunta no tiene ninguna respuesta correcta",
          "k:7: error: falta la línea de juicio"}},
        {"two judgments",
         QStringList{s1, ".cP", ".rA", ".bBien", ".mOtra"} + tail,
         {"k:5: error: línea de juicio sin respuesta antes: la respuesta de la línea 3"}},
        {"judgment right after the question",
         QStringList{s1, ".cP", ".bBien"} + tail,
         {"k:2: error: la pregunta no tiene ninguna respuesta",
          "k:3: error: línea de juicio sin respuesta antes"}},
        {"answer between a header and its first question",
         QStringList{s1, ".cP", ".rA", ".bB", s2, ".rX", ".mY", ".cQ", ".rR", ".bB"},
         {"k:6: error: respuesta entre el encabezado de la línea 5 y su primera pregunta: el "
          "alumno la verá como una respuesta más de la pregunta de la línea 2"}},
        {"question without answers, section without questions",
         {s1, ".cP", s2},
         {"k:2: error: la pregunta no tiene ninguna respuesta",
          "k:3: error: la sección 2 no tiene ninguna pregunta"}},
        {"header with a trailing blank",
         QStringList{s1, ".cP", ".rA", ".bB", s2 + " ", ".cQ", ".rR", ".bB"},
         {"t:3: error: la sección 2 no tiene encabezado «.Sección 2» en la clave",
          "k:5: error: el encabezado «.Sección 2 » no se encuentra nunca (tiene un blanco al "
          "final)"}},
        {"header with a title, and a line of .s",
         QStringList{s1, ".cP", ".rA", ".bB", ".Sección 2 El volcán", ".sí", s2, ".cQ", ".rR",
                     ".bB"},
         {"k:5: error: el encabezado «.Sección 2 El volcán» no se encuentra nunca (tiene algo "
          "tras el número)",
          "k:6: error: la línea «.sí» empieza por «.s» pero no es un encabezado"}},
        {"unknown mark and blank line where an answer is expected",
         QStringList{s1, ".cP", ".xNota", ".rA", ".bB", "", ".rC", ".mD"} + tail,
         {"k:3: error: línea «.xNota» donde se espera una respuesta",
          "k:6: error: línea vacía donde se espera una respuesta"}},
        {"unknown marks that are ignored",
         QStringList{"Clave de El volcán", s1, "#Primera parte", ".cP", ".rA", ".bB", ".xFin"} +
             tail,
         {"k:1: aviso: la marca «Cl» no es ninguna de las conocidas",
          "k:3: aviso: la marca «#P» no es ninguna de las conocidas",
          "k:7: aviso: la marca «.x» no es ninguna de las conocidas"}},
        {"no correct answer, empty question and answer",
         QStringList{s1, ".c", ".r", ".mNo", ".rB", ".mNo"} + tail,
         {"k:2: aviso: la pregunta está vacía",
          "k:2: aviso: la pregunta no tiene ninguna respuesta correcta",
          "k:3: aviso: la respuesta está vacía"}},
        {"header twice, header of a section the text lacks, question before any header",
         QStringList{".c¿Y esto?", ".rA", ".bB", s1, ".cP", ".rA", ".bB"} + tail +
             QStringList{s1, ".cP2", ".rA", ".bB", ".Sección 3", ".cP3", ".rA", ".bB"},
         {"k:1: aviso: pregunta antes del primer encabezado",
          "k:12: aviso: encabezado repetido: la sección 1 ya empieza en la línea 4",
          "k:16: aviso: el texto no tiene sección 3"}},
        {"judgment marks one key away from .b or .m, or with a blank before",
         QStringList{s1, ".cP", ".rA", ".bBien", ".rB", ".nMal", ".rC", " .bBlanco", ".rD",
                     ",mComa", ".rE", ".VCasi"} +
             tail,
         {"k:6: aviso: el juicio «.n» está a una tecla de «.b» o «.m»: el alumno verá «Pendiente»",
          "k:8: aviso: el juicio « .b» lleva un blanco delante",
          "k:10: aviso: el juicio «,m» está a una tecla",
          "k:12: aviso: el juicio «.V» está a una tecla"}},
        {"opinion question: every answer pending on purpose, a note; one pending by slip is not",
         QStringList{s1, ".cP", ".rA", ".pVale", ".rB", ".pVale", ".cQ", ".rA", ".pVale", ".rB",
                     ".nMal"} +
             tail,
         {"k:2: nota: pregunta de opinión: todas sus respuestas son «Pendiente»",
          "k:7: aviso: la pregunta no tiene ninguna respuesta correcta",
          "k:11: aviso: el juicio «.n» está a una tecla"}},
        {"pending judgments, two correct answers, empty feedback",
         QStringList{s1, ".cP", ".rA", ".bBien", ".rB", ".b", ".rC", ".pQuizás", ".rD", "", ".rE",
                     ".xTal vez"} +
             tail,
         {"k:2: nota: la pregunta tiene 2 respuestas correctas",
          "k:6: nota: el comentario de este juicio está vacío",
          "k:10: nota: la línea de juicio está vacía",
          "k:12: nota: el juicio «.x» no es «.b» ni «.m»: el alumno verá «Pendiente»"}},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        expectProblems(checkLesson("t", textOf(kTwoSections), "k", c.key), c.expected);
    }
    // The judgment the editor writes for «Pendiente» is counted once, not listed answer by answer.
    EXPECT_EQ(checkLesson("t", textOf(kTwoSections), "k", cases.back().key).pendingAnswers, 1);
}

struct TextCase {
    const char* what;
    LessonText text;
    int keySections;
    QStringList expected;
};

TEST(LessonCheck, TextRules) {
    const QString s1 = QStringLiteral(".Sección 1");
    QStringList twelve;
    for (int n = 1; n <= 12; ++n)
        twelve << QStringLiteral(".Sección %1").arg(n) << QStringLiteral("texto");
    const std::vector<TextCase> cases = {
        {"no marker", textOf({"Había una vez."}), 0, {"t: error: el texto no tiene ninguna marca"}},
        {"last marker not a number",
         textOf({s1, "texto", ".Sección 2."}),
         2,
         {"t:3: error: la última marca, «.Sección 2.», no da el número de secciones: el "
          "programa del alumno dice «' 2.' is not a valid integer value»"}},
        {"last marker 0",
         textOf({".Sección 0"}),
         0,
         {"t:1: error: la última marca, «.Sección 0», da 0"}},
        {"last marker counts sections that have no marker",
         textOf({s1, "texto", ".Sección 3"}),
         3,
         {"t:3: error: la sección 2 no tiene marca en el texto, pero esta última marca cuenta 3"}},
        {"two blanks and no blank",
         textOf({s1, ".Sección  2", ".Sección3"}),
         3,
         {"t:2: error: el alumno no llega a la sección 2: su marca lleva 2 blancos",
          "t:3: error: el alumno no llega a la sección 3: su marca lleva 0 blancos"}},
        {"last marker not at a line start, or with a capital Ó",
         textOf({s1, " .Sección 2", ".SECCIÓN 3"}),
         3,
         {"t:2: error: la sección 2 no se cuenta: su marca lleva blancos delante; el número de "
          "secciones lo da la última marca al principio de una línea, la de la línea 1, y es 1",
          "t:3: error: la sección 3 no se cuenta: su marca lleva mayúsculas acentuadas",
          "k:7: aviso: el texto no tiene sección 2", "k:13: aviso: el texto no tiene sección 3"}},
        {"indented marker that is not the last",
         textOf({s1, "\t.Sección 2", ".Sección 3"}),
         3,
         {"t:2: aviso: la marca de la sección 2 no empieza la línea"}},
        {"first occurrence in the middle of a line, or split by the line breaking",
         paragraphsOf(QList<QStringList>{{s1},
                                         {"Relee la .Sección 2 antes."},
                                         {"Y luego la .Sección", " 3 entera."},
                                         {".Sección 2"},
                                         {".Sección 3"}}),
         3,
         {"t:2: error: la primera «.Sección 2» del texto está en medio de esta línea",
          "t:3: error: la marca de la sección 3 queda partida en dos líneas"}},
        {"last marker split by the line breaking",
         paragraphsOf(QList<QStringList>{{s1}, {"Y aquí empieza la .Sección", " 2 del texto."}}),
         1,
         {"t:2: error: la sección 2 no se cuenta: su marca queda partida en dos líneas"}},
        {"markers out of order",
         textOf({".Sección 2", s1, ".Sección 3"}),
         3,
         {"t:2: aviso: la marca de la sección 1 viene después de la de la sección 2"}},
        {"more than 99 sections",
         textOf(twelve + QStringList{".Sección 123"}),
         12,
         {"t:25: aviso: la última marca, «.Sección 123», se lee como 12 secciones"}},
        {"a marker without its accent, as the last marker or not",
         textOf({s1, "texto", ".Seccion 2", "texto", ".Sección 3", " .SECCION 4"}),
         4,
         {"t:3: error: la marca «.Seccion 2» no se reconoce: falta la tilde de «Sección»; el "
          "alumno no llega a la sección 2",
          "t:6: error: la marca «.SECCION 4» no se reconoce",
          "k:19: aviso: el texto no tiene sección 4"}},
        {"markers found but unlike the last: a capital Ó, something after the number",
         textOf({".SECCIÓN 1", ".Sección 2.", ".Sección 3 El volcán", ".Sección 4"}),
         4,
         {"t:1: nota: la marca de la sección 1 lleva la «Ó» mayúscula: el alumno llega a ella, "
          "pero como última marca no contaría las secciones",
          "t:2: nota: la marca de la sección 2 lleva «.» tras el número",
          "t:3: nota: la marca de la sección 3 lleva « El volcán» tras el número"}},
        {"a section without its header in the key",
         textOf(kTwoSections),
         1,
         {"t:3: error: la sección 2 no tiene encabezado «.Sección 2» en la clave"}},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.what);
        expectProblems(checkLesson("t", c.text, "k", keyFor(c.keySections)), c.expected);
    }
}

// The preview shows what the student's program reads at the computed lines, faults included.
TEST(LessonCheck, PreviewReadsTheKeyAsTheStudentsProgram) {
    const LessonReport report = checkLesson("t", textOf({".Sección 1", ".Sección 2"}), "k",
                                            {".Sección 1", ".c¿P?", ".rA", ".bBien", ".rB",
                                             ".pQuizás", ".Sección 2", ".cQ", ".rA", ".rB", ".rC"});
    ASSERT_EQ(report.sections.size(), 2);
    const QuestionView& p = report.sections[0].questions.at(0);
    EXPECT_EQ(p.line, 2);
    EXPECT_EQ(p.text, "¿P?");
    ASSERT_EQ(p.answers.size(), 2);
    EXPECT_EQ(p.answers[0].verdict, Verdict::Correcta);
    EXPECT_EQ(p.answers[1].text, "B");
    EXPECT_EQ(p.answers[1].verdict, Verdict::Pendiente);
    EXPECT_EQ(p.answers[1].feedback, "Quizás");
    EXPECT_EQ(report.sections[1].headerLine, 7);
    EXPECT_EQ(report.sections[1].markerLine, 2);
    // No judgments: answer 1 is judged by the line of answer 2, answer 2 reads the line of
    // answer 3, and the judgment of answer 3 lies past the key and its sentinels.
    const QList<AnswerView>& q = report.sections[1].questions.at(0).answers;
    ASSERT_EQ(q.size(), 3);
    EXPECT_EQ(q[0].verdict, Verdict::Pendiente);
    EXPECT_EQ(q[0].feedback, "B");
    EXPECT_EQ(q[1].text, "C");
    EXPECT_EQ(q[2].verdict, std::nullopt);
    EXPECT_EQ(q[2].feedback, "List index out of bounds (13)");
}

// Files: names derived as the student's program derives them, keys in UTF-8 or Windows-1252, and
// a lesson that cannot be read.
TEST(LessonCheck, ReadsTheFilesAsTheStudentsProgram) {
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    const auto reader = [](const QString& path) -> LessonText {
        if (!path.endsWith(QStringLiteral("/Tema_lec.rtf")))
            throw ToolkitError::cannotOpenFile(path);
        return textOf({QStringLiteral(".Sección 1")});
    };
    writeBytes(folder + "Tema_CRJ.TXT",
               QStringLiteral(".Sección 1\n.c¿Qué?\n.rSí\n.bBien\n").toUtf8());
    // The student's program-wide lesson stays as it was.
    SepararRutaDeLeccion(QStringLiteral("C:\\Clase\\Otra_lec.rtf"));
    LessonReport report = checkLessonFiles(folder + "Tema_3.rtf", reader);
    EXPECT_EQ(DirLeccion.str(), QStringLiteral("C:\\Clase\\"));
    EXPECT_EQ(NombreLeccion.str(), QStringLiteral("Otra"));
    EXPECT_EQ(report.keyPath, folder + "Tema_CRJ.TXT");
    EXPECT_TRUE(report.problems.isEmpty());
    EXPECT_EQ(report.sections.at(0).questions.at(0).text, QStringLiteral("¿Qué?"));

    writeAnsiLines(folder + "Tema_CRJ.TXT",
                   {QStringLiteral(".Sección 1"), ".cP", ".rA", ".bB", ".rC"});
    report = checkLessonFiles(folder + "Tema_lec.rtf", reader);
    EXPECT_FALSE(report.unreadable);
    expectProblems(report, {folder + "Tema_CRJ.TXT:5: error: falta la línea de juicio"});

    report = checkLessonFiles(folder + "Otra_lec.rtf", reader);
    EXPECT_TRUE(report.unreadable);
    expectProblems(report, {folder +
                                "Otra_lec.rtf: error: no se puede leer el texto: no se "
                                "puede abrir el archivo " +
                                folder + "Otra_lec.rtf",
                            folder +
                                "Otra_CRJ.TXT: error: no se puede leer la clave: no se "
                                "puede abrir el archivo " +
                                folder + "Otra_CRJ.TXT"});

    // A key whose name differs only in letter case is read, and named; with none, the nearest
    // file of the folder is offered.
    QFile::rename(folder + "Tema_CRJ.TXT", folder + "Tema_CRJ.txt");
    report = checkLessonFiles(folder + "Tema_lec.rtf", reader);
    if (QFileInfo::exists(folder + "Tema_CRJ.TXT")) {
        // A folder that does not tell the names apart (Windows) opens it by its described name.
        EXPECT_EQ(report.keyPath, folder + "Tema_CRJ.TXT");
        expectProblems(report, {folder + "Tema_CRJ.TXT:5: error: falta la línea de juicio"});
    } else {
        EXPECT_EQ(report.keyPath, folder + "Tema_CRJ.txt");
        expectProblems(report,
                       {folder + "Tema_CRJ.txt: nota: se lee la clave «Tema_CRJ.txt», porque "
                                 "no hay ninguna «Tema_CRJ.TXT»",
                        folder + "Tema_CRJ.txt:5: error: falta la línea de juicio"});
    }
    QFile::rename(folder + "Tema_CRJ.txt", folder + "Tema_CRJ.TXT.txt");
    report = checkLessonFiles(folder + "Tema_lec.rtf", reader);
    expectProblems(report, {folder +
                            "Tema_CRJ.TXT: error: no se puede leer la clave: no se puede "
                            "abrir el archivo " +
                            folder + "Tema_CRJ.TXT. ¿Es Tema_CRJ.TXT.txt?"});

    // A plain key dropped beside the published one is what the students read: said.
    writeAnsiLines(folder + "Tema_CRJ.TXT", {QStringLiteral(".Sección 1"), ".cP", ".rA", ".bB"});
    writeBytes(folder + "Tema_CRJ.dvk", SealKey(".Secci\xf3n 1\r\n", QStringLiteral("Tema")));
    report = checkLessonFiles(folder + "Tema_lec.rtf", reader);
    expectProblems(report, {folder + "Tema_CRJ.TXT: aviso: junto a la clave publicada "
                                     "«Tema_CRJ.dvk» está la clave sin proteger «Tema_CRJ.TXT»"});
}

} // namespace
