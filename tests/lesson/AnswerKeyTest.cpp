#include "lesson/AnswerKey.h"

#include "platform/core/ToolkitError.h"
#include "platform/core/Verdict.h"
#include "tests/lesson/KeyFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Section 1: two questions (the second with marker letters in capitals and a judgment that is
// neither .b nor .m); section 2: a question with no answers; section 3: no questions; a header
// with a trailing blank; the last section ends at the sentinels.
const QStringList kKey = {
    QStringLiteral(".Sección 1"),         // 0
    QStringLiteral(".c¿Quién llegó?"),    // 1
    QStringLiteral(".rJuan"),             // 2
    QStringLiteral(".bMuy bien"),         // 3
    QStringLiteral(".rPedro"),            // 4
    QStringLiteral(".mNo, lee otra vez"), // 5
    QStringLiteral(".C¿Dónde?"),          // 6
    QStringLiteral(".RMadrid"),           // 7
    QStringLiteral(".BSí"),               // 8
    QStringLiteral(".rLima"),             // 9
    QStringLiteral(".pQuizá"),            // 10
    QStringLiteral(".rQuito"),            // 11
    QStringLiteral(""),                   // 12
    QStringLiteral(".SECCIÓN 2"),         // 13
    QStringLiteral(".cSin respuestas"),   // 14
    QStringLiteral(".sección 3"),         // 15
    QStringLiteral(".Sección 4 "),        // 16
    QStringLiteral(".Sección 5"),         // 17
    QStringLiteral(".cÚltima"),           // 18
    QStringLiteral(".rUna"),              // 19
    QStringLiteral(".mNo"),               // 20
    QStringLiteral(".rOtra"),             // 21
    QStringLiteral(".bSí"),               // 22
};

class AnswerKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("Tema_CRJ.TXT"));
        writeAnsiLines(path, kKey);
        Clave = std::make_unique<TextList>();
        LoadKey(path);
    }
    void TearDown() override { Clave.reset(); }

    QTemporaryDir dir;
    QString path;
};

TEST_F(AnswerKeyTest, LoadAppendsTheTwoSentinels) {
    ASSERT_EQ(Clave->count(), kKey.size() + 2);
    EXPECT_EQ(Clave->at(1), QStringLiteral(".c¿Quién llegó?"));
    EXPECT_EQ(Clave->at(kKey.size()), QStringLiteral(".s"));
    EXPECT_EQ(Clave->at(kKey.size() + 1), QStringLiteral(".c"));
    // Loading again replaces, it does not add.
    LoadKey(path);
    EXPECT_EQ(Clave->count(), kKey.size() + 2);
}

TEST_F(AnswerKeyTest, MissingKeyFileGivesTheOpenError) {
    const QString missing = dir.filePath(QStringLiteral("Otro_CRJ.TXT"));
    try {
        LoadKey(missing);
        FAIL() << "no error";
    } catch (const ToolkitError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Cannot open file ") + missing);
    }
}

// Windows opens "Otro_CRJ.txt" (as Notepad names it) for "Otro_CRJ.TXT"; so does the program,
// and the message of a key missing under every spelling still names the lesson's own key.
TEST_F(AnswerKeyTest, KeyNamedInOtherLetterCaseIsRead) {
    const QString lesson = dir.filePath(QStringLiteral("Otro_CRJ.TXT"));
    writeAnsiLines(dir.filePath(QStringLiteral("Otro_crj.Txt")), {QStringLiteral(".Sección 1")});
    LoadKey(lesson);
    EXPECT_EQ(Clave->at(0), QStringLiteral(".Sección 1"));
    QFile::remove(dir.filePath(QStringLiteral("Otro_crj.Txt")));
    writeAnsiLines(dir.filePath(QStringLiteral("Otro_CRJ.TXT.txt")), {QStringLiteral("x")});
    try {
        LoadKey(lesson);
        FAIL() << "no error";
    } catch (const ToolkitError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Cannot open file ") + lesson);
    }
}

TEST_F(AnswerKeyTest, FindSectionMatchesWholeLinesWithoutRegardToCase) {
    EXPECT_EQ(FindSection(QStringLiteral(".Sección 1")), 0);
    // Accented capital and small letters match each other.
    EXPECT_EQ(FindSection(QStringLiteral(".Sección 2")), 13);
    EXPECT_EQ(FindSection(QStringLiteral(".Sección 3")), 15);
    // A trailing blank in the key hides the header; a prefix is not a match.
    EXPECT_EQ(FindSection(QStringLiteral(".Sección 4")), -1);
    EXPECT_EQ(FindSection(QStringLiteral(".Sección")), -1);
    EXPECT_EQ(FindSection(QStringLiteral(".Seccion 1")), -1);
}

TEST_F(AnswerKeyTest, CountsQuestionsAndAnswersInEitherCase) {
    EXPECT_EQ(ContarMarcas(QStringLiteral(".c"), 0), 2);
    EXPECT_EQ(ContarMarcas(QStringLiteral(".r"), 1), 2);
    EXPECT_EQ(ContarMarcas(QStringLiteral(".r"), 6), 3);
    // No answers before the next question; no questions before the next header.
    EXPECT_EQ(ContarMarcas(QStringLiteral(".c"), 13), 1);
    EXPECT_EQ(ContarMarcas(QStringLiteral(".r"), 14), 0);
    EXPECT_EQ(ContarMarcas(QStringLiteral(".c"), 15), 0);
    // The last section stops at the ".s" sentinel, its last question at the ".c" sentinel.
    EXPECT_EQ(ContarMarcas(QStringLiteral(".c"), 17), 1);
    EXPECT_EQ(ContarMarcas(QStringLiteral(".r"), 18), 2);
}

TEST_F(AnswerKeyTest, FindsQuestionsAndTheirTexts) {
    EXPECT_EQ(BuscarLineaDePregunta(1, 0), 1);
    EXPECT_EQ(BuscarLineaDePregunta(2, 0), 6);
    EXPECT_EQ(BuscarLineaDePregunta(1, 17), 18);
    EXPECT_EQ(QuestionText(6), QStringLiteral("¿Dónde?"));
    EXPECT_EQ(AnswerText(1, 6), QStringLiteral("Madrid"));
    EXPECT_EQ(AnswerText(3, 6), QStringLiteral("Quito"));
}

TEST_F(AnswerKeyTest, JudgesByTheMarkerOfTheLineAfterTheAnswer) {
    const Judgment right = Judge(1, 1);
    EXPECT_EQ(right.verdict, Verdict::Correcta);
    EXPECT_EQ(right.feedback, QStringLiteral("Muy bien"));
    EXPECT_EQ(Judge(2, 1).verdict, Verdict::Incorrecta);
    EXPECT_EQ(Judge(2, 1).feedback, QStringLiteral("No, lee otra vez"));
    EXPECT_EQ(Judge(1, 6).verdict, Verdict::Correcta); // ".B"
    // ".p" and an empty judgment line are neither right nor wrong.
    EXPECT_EQ(Judge(2, 6).verdict, Verdict::Pendiente);
    EXPECT_EQ(Judge(2, 6).feedback, QStringLiteral("Quizá"));
    EXPECT_EQ(Judge(3, 6).verdict, Verdict::Pendiente);
    EXPECT_EQ(Judge(3, 6).feedback, QString());
    const Judgment none = Judge(0, 6);
    EXPECT_EQ(none.verdict, Verdict::Pendiente);
    EXPECT_EQ(none.feedback, QStringLiteral("NINGUNA DE LAS RESPUESTAS"));
}

TEST_F(AnswerKeyTest, PositionsPastTheKeyGiveTheListIndexError) {
    const int end = static_cast<int>(Clave->count());
    auto expectIndexError = [](auto query, qsizetype index) {
        try {
            query();
            ADD_FAILURE() << "no error for index " << index;
        } catch (const ToolkitError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("List index out of bounds (%1)").arg(index));
        }
    };
    // Question 3 of the last section: past its one question and the ".c" sentinel.
    expectIndexError([] { BuscarLineaDePregunta(3, 17); }, end);
    expectIndexError([] { Judge(4, 18); }, 26);
    expectIndexError([] { AnswerText(4, 18); }, 25);
    // Counting from the last sentinel runs off the end.
    expectIndexError([end] { ContarMarcas(QStringLiteral(".r"), end - 1); }, end);
    // No question found (-1) is not a way into the key's first lines.
    expectIndexError([] { AnswerText(1, -1); }, -1);
    expectIndexError([] { Judge(1, -1); }, -1);
}

TEST(LineMarker, FoldsOnlyAsciiLetters) {
    EXPECT_EQ(LineMarker(QStringLiteral(".CQuién")), QStringLiteral(".c"));
    EXPECT_EQ(LineMarker(QStringLiteral("ÓR")), QStringLiteral("Ór"));
    EXPECT_EQ(LineMarker(QStringLiteral(".")), QStringLiteral("."));
    EXPECT_EQ(LineMarker(QString()), QString());
    EXPECT_EQ(LineText(QStringLiteral(".bBien hecho")), QStringLiteral("Bien hecho"));
    EXPECT_EQ(LineText(QStringLiteral(".b")), QString());
}

TEST(KeyEncoding, Utf8KeysAreReadAsUtf8AndOthersAsWindows1252) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("k_CRJ.TXT"));
    const QByteArray utf8 = QStringLiteral(".Sección 1\n.c¿Qué?\n").toUtf8();
    for (const QByteArray& bytes : {utf8, QByteArray("\xEF\xBB\xBF") + utf8,
                                    stringToAnsi(QStringLiteral(".Sección 1\r.c¿Qué?"))}) {
        writeBytes(path, bytes);
        LoadKey(path);
        EXPECT_EQ(FindSection(QStringLiteral(".Sección 1")), 0);
        EXPECT_EQ(QuestionText(1), QStringLiteral("¿Qué?"));
        EXPECT_EQ(Clave->count(), 4);
    }
    Clave.reset();
}

} // namespace
