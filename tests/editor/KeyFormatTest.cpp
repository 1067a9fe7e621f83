#include "teacher/editor/KeyEdits.h"
#include "teacher/editor/KeySave.h"
#include "teacher/editor/KeyStructure.h"
#include "teacher/editor/KeyText.h"
#include "tests/faults/FileFaults.h"

#include "platform/core/Ansi.h"
#include "platform/core/TextList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray ansi(const QString& text) {
    return stringToAnsi(text);
}

// Keys as teachers' editors leave them, and keys with problems.
const QList<std::pair<const char*, QByteArray>> kKeys = {
    {"vacía", ""},
    {"CR LF", ansi(".Sección 1\r\n.c¿Qué?\r\n.rAlgo\r\n.bBien\r\n")},
    {"sin salto final", ansi(".Sección 1\r\n.c¿Qué?\r\n.rAlgo\r\n.bBien")},
    {"LF", ansi(".Sección 1\n.cQ\n.rA\n.mNo\n")},
    {"CR", ansi(".Sección 1\r.cQ\r.rA\r.mNo\r")},
    {"saltos mezclados y líneas vacías", ansi(".Sección 1\r\n\n.cQ\r\r\n.rA\n\n\n")},
    {"UTF-8",
     QByteArray(".Secci\xC3\xB3n 1\r\n.c\xC2\xBFQu\xC3\xA9?\r\n.r\xE2\x86\x92 A\r\n.b\r\n")},
    {"UTF-8 con marca", QByteArray("\xEF\xBB\xBF.Secci\xC3\xB3n 1\r\n.cQ\r\n")},
    {"marca y solo ASCII", QByteArray("\xEF\xBB\xBF.cQ\r\n.rA\r\n")},
    {"marca y Windows-1252", QByteArray("\xEF\xBB\xBF.Secci\xF3n 1\r\n")},
    {"UTF-8 roto", QByteArray(".c\xC3\x28\r\n.r\xF3\r\n")},
    {"bytes sin letra", QByteArray(".c\x81\x8D\x8F\x90\x9D\xFF\r\n")},
    {"NUL y lo que sigue", QByteArray(".Secci\xF3n 1\r\n.cQ\0.rno se lee\r\n", 30)},
    {"problemas", ansi(".Sección 1 \r\n.rA\r\n.cQ\r\n.rB\r\n.rC\r\n.x\r\n.SECCIÓN 2\r\n  \r\n")},
};

std::vector<std::pair<QString, QByteArray>> allKeys() {
    std::vector<std::pair<QString, QByteArray>> keys;
    for (const auto& [name, bytes] : kKeys)
        keys.emplace_back(QString::fromUtf8(name), bytes);
    // The sample lesson's key and the fuzz seeds (the window tests' keys and keys with problems).
    keys.emplace_back("El_volcan", readFile(DORVALIA_SAMPLES "/El_volcan_CRJ.TXT"));
    for (const QFileInfo& file : QDir(DORVALIA_KEY_SEEDS).entryInfoList(QDir::Files))
        keys.emplace_back(file.fileName(), readFile(file.filePath()));
    return keys;
}

} // namespace

// Opened and saved without a change, every key is the same file byte for byte, and its lines are
// the ones the student's program reads.
TEST(KeyText, OpenAndSaveGiveTheSameBytes) {
    QTemporaryDir dir;
    for (const auto& [name, bytes] : allKeys()) {
        SCOPED_TRACE(name.toStdString());
        KeyText text = readKeyText(bytes);
        TextList student;
        student.loadFromBytes(bytes, TextList::Encoding::Teacher);
        EXPECT_EQ(text.lines, student.lines());
        EXPECT_EQ(writeKeyText(text), bytes);

        const QString path = dir.filePath(QStringLiteral("Tema_CRJ.TXT"));
        writeFile(path, bytes);
        const KeySaveResult saved = saveKey(text, path);
        EXPECT_TRUE(saved.saved) << saved.failure.toStdString();
        EXPECT_EQ(readFile(path), bytes);
        EXPECT_EQ(readFile(path + ".bak"), bytes);
    }
}

// A changed key keeps the file's own encoding and line ends; a character that Windows-1252 has
// not, or bytes it would misread, turn it to UTF-8 with a notice.
TEST(KeyText, SavingChoosesAnEncodingTheStudentsProgramReadsBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tema_CRJ.TXT"));
    struct Case {
        QByteArray bytes;
        QString newLine;
        QByteArray saved;
        bool notice;
    };
    const QList<Case> cases = {
        {ansi(".cQ\n"), ".rSí", ansi(".cQ\n.rSí\n"), false},
        {ansi(".cQ"), ".rSí", ansi(".cQ\r\n.rSí"), false},
        {ansi(".cQ\r\n"), ".r→", QByteArray(".cQ\r\n.r\xE2\x86\x92\r\n"), true},
        {ansi(".cQ\r\n"), ".rÃ³", QByteArray(".cQ\r\n.r\xC3\x83\xC2\xB3\r\n"), true},
        {QByteArray("\xEF\xBB\xBF.c\xC3\xA9\r\n"), ".rA",
         QByteArray("\xEF\xBB\xBF.c\xC3\xA9\r\n.rA\r\n"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.newLine.toStdString());
        KeyText text = readKeyText(c.bytes);
        text.lines.append(c.newLine);
        text.ends.append(text.newLineEnd());
        const KeySaveResult saved = saveKey(text, path);
        ASSERT_TRUE(saved.saved);
        EXPECT_EQ(readFile(path), c.saved);
        EXPECT_EQ(!saved.notice.isEmpty(), c.notice);
        TextList student;
        student.loadFromFile(path, TextList::Encoding::Teacher);
        EXPECT_EQ(student.lines(), text.lines);
    }
}

// A folder where nothing can be written: the save refuses in Spanish and the key stays as it was.
TEST(KeyText, ReadOnlyFolderIsRefused) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("clase"));
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/Tema_CRJ.TXT");
    writeFile(path, ansi(".Sección 1\r\n"));
    if (const QString why = FileFaults::privateMounts(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    if (const QString why = FileFaults::mountTmpfs(folder, 1 << 20); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    writeFile(path, ansi(".Sección 1\r\n"));
    ASSERT_TRUE(FileFaults::remount(folder, true).isEmpty());
    KeyText text = readKeyText(readFile(path));
    text.lines.append(".cQ");
    text.ends.append(KeyText::LineEnd::CrLf);
    const KeySaveResult saved = saveKey(text, path);
    EXPECT_FALSE(saved.saved);
    EXPECT_TRUE(saved.failure.startsWith("No se puede guardar la clave: la carpeta"))
        << saved.failure.toStdString();
    EXPECT_TRUE(saved.failure.contains("es de solo lectura"));
    EXPECT_EQ(readFile(path), ansi(".Sección 1\r\n"));
    EXPECT_FALSE(QFile::exists(path + ".bak"));
    FileFaults::unmount(folder);
}

// The structure the form shows, and the form's edits on it, line by line.
TEST(KeyEdits, FormEditsChangeOnlyTheirLines) {
    const QStringList key = {".Sección 1", ".C¿Uno?", ".rA",         ".bBien",     ".rB",
                             "",           "x",       ".c¿Dos?",     ".rC",        ".MNo",
                             ".Sección 1", ".cOtra",  ".Sección 3 ", ".Sección 2", ".rD"};
    const KeyStructure s = readKeyStructure(key);
    ASSERT_EQ(s.sections.size(), 4);
    EXPECT_EQ(s.sections[0].number, 1);
    EXPECT_EQ(s.sections[1].number, 0); // a second ".Sección 1" is never found
    EXPECT_EQ(s.sections[2].number, 0); // a blank after the number
    EXPECT_EQ(s.sections[3].number, 2);
    EXPECT_EQ(s.sectionNumbered(2), 3);
    const KeySection& one = s.sections[0];
    ASSERT_EQ(one.questions.size(), 2);
    ASSERT_EQ(one.questions[0].answers.size(), 2);
    EXPECT_EQ(one.questions[0].answers[1].judgment, 5); // the empty line judges B
    EXPECT_EQ(one.questions[0].end(), 6);               // "x" belongs to nothing
    EXPECT_TRUE(s.sections[3].questions.isEmpty());     // an answer with no question

    struct Case {
        const char* name;
        LineEdit edit;
        QStringList expected; // lines 0 .. 10 after the edit
    };
    const KeyQuestion& q1 = one.questions[0];
    const QList<Case> cases = {
        {"text keeps the mark",
         KeyEdits::setText(key, 1, "¿Uno?\nsí"),
         {".Sección 1", ".C¿Uno? sí", ".rA", ".bBien", ".rB", "", "x", ".c¿Dos?", ".rC", ".MNo",
          ".Sección 1"}},
        {"judgment",
         KeyEdits::setJudgment(key, q1.answers[0], Verdict::Pendiente),
         {".Sección 1", ".C¿Uno?", ".rA", ".pBien", ".rB", "", "x", ".c¿Dos?", ".rC", ".MNo",
          ".Sección 1"}},
        {"feedback on an empty judgment line",
         KeyEdits::setFeedback(key, q1.answers[1], "Casi"),
         {".Sección 1", ".C¿Uno?", ".rA", ".bBien", ".rB", ".pCasi", "x", ".c¿Dos?", ".rC", ".MNo",
          ".Sección 1"}},
        {"answer added at the end",
         KeyEdits::addAnswer(q1, 2),
         {".Sección 1", ".C¿Uno?", ".rA", ".bBien", ".rB", "", ".r", ".m", "x", ".c¿Dos?", ".rC"}},
        {"question added first",
         KeyEdits::addQuestion(one, -1),
         {".Sección 1", ".c", ".C¿Uno?", ".rA", ".bBien", ".rB", "", "x", ".c¿Dos?", ".rC",
          ".MNo"}},
        {"questions swapped, the loose line stays",
         *KeyEdits::moveQuestion(key, one, 0, 1),
         {".Sección 1", ".c¿Dos?", ".rC", ".MNo", "x", ".C¿Uno?", ".rA", ".bBien", ".rB", "",
          ".Sección 1"}},
        {"answers swapped",
         *KeyEdits::moveAnswer(key, q1, 1, -1),
         {".Sección 1", ".C¿Uno?", ".rB", "", ".rA", ".bBien", "x", ".c¿Dos?", ".rC", ".MNo",
          ".Sección 1"}},
        {"question removed",
         KeyEdits::removeQuestion(one, 0),
         {".Sección 1", "x", ".c¿Dos?", ".rC", ".MNo", ".Sección 1", ".cOtra", ".Sección 3 ",
          ".Sección 2", ".rD"}},
        {"section placed by number",
         KeyEdits::addSection(key, s, 1),
         {".Sección 1", ".C¿Uno?", ".rA", ".bBien", ".rB", "", "x", ".c¿Dos?", ".rC", ".MNo",
          ".Sección 1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList lines = key;
        applyEdit(lines, c.edit);
        EXPECT_EQ(lines.mid(0, c.expected.size()), c.expected);
    }
    EXPECT_FALSE(KeyEdits::moveAnswer(key, q1, 1, 1).has_value());
    QStringList withTwo = key;
    applyEdit(withTwo, KeyEdits::addSection(key, readKeyStructure({".Sección 3"}), 2));
    EXPECT_EQ(withTwo.first(), ".Sección 2");

    // The text view's change is the lines between what stayed the same.
    const auto diff = KeyEdits::difference({"a", "b", "c", "d"}, {"a", "x", "y", "d"});
    ASSERT_TRUE(diff.has_value());
    EXPECT_EQ(diff->start, 1);
    EXPECT_EQ(diff->removed, 2);
    EXPECT_EQ(diff->inserted, QStringList({"x", "y"}));
}

// A key kept with the tests, its lines ending in CR LF, LF and CR: both programs read the lines
// written beside it, and the editor writes its bytes back unchanged.
TEST(KeyText, TheStoredKeyWithMixedBreaksKeepsItsLinesAndBytes) {
    const QByteArray bytes = readFile(DORVALIA_STORED "/Mezcla_CRJ.TXT");
    const QStringList expected =
        QString::fromUtf8(readFile(DORVALIA_STORED "/Mezcla_CRJ.lineas")).split(u'\n').mid(0, 12);
    ASSERT_EQ(expected.size(), 12);
    TextList student;
    student.loadFromBytes(bytes, TextList::Encoding::Teacher);
    EXPECT_EQ(student.lines(), expected);
    const KeyText text = readKeyText(bytes);
    EXPECT_EQ(text.lines, expected);
    EXPECT_EQ(writeKeyText(text), bytes);
}
