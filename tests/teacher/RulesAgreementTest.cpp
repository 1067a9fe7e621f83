// The student's program and the teacher's check read the same lesson files through the same rules:
// every key and text the tests have (the fuzz corpora, the sample lesson and a table of odd ones)
// is walked by the student's queries, read into the key's value and checked by the teacher's
// program, and all must see the same sections, questions, answers and judgments, shifted answers
// included.

#include "lesson/AnswerKey.h"
#include "lesson/AnswerKeyValue.h"
#include "lesson/LessonFiles.h"
#include "lesson/Marks.h"
#include "lesson/Sections.h"
#include "platform/core/Ansi.h"
#include "platform/core/TextList.h"
#include "platform/core/ToolkitError.h"
#include "teacher/KeyOutline.h"
#include "teacher/LessonCheck.h"
#include "teacher/TextRules.h"
#include "tests/lesson/Fakes.h"
#include "tests/lesson/KeyFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList filesIn(const QString& folder) {
    QStringList paths;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
        paths.append(dir.filePath(name));
    return paths;
}

QStringList linesOf(const QString& path) {
    TextList lines;
    lines.loadFromFile(path, TextList::Encoding::Teacher);
    return lines.lines();
}

LessonText textOf(const QStringList& lines) {
    LessonText text;
    for (const QString& line : lines) {
        if (!text.lineStarts.isEmpty())
            text.text += u'\n';
        text.lineStarts.append(int(text.text.size()));
        text.lines.append(line);
        text.text += line;
    }
    return text;
}

// A text with the markers of sections 1 to 99, so that the check previews every section a key
// can have.
LessonText allSections() {
    QStringList lines;
    for (int n = 1; n <= 99; ++n)
        lines << SectionHeader(n) << QStringLiteral("texto");
    return textOf(lines);
}

// What the student meets in one answer, read as the lesson window reads it.
AnswerView studentAnswer(int questionLine, int k) {
    AnswerView answer;
    answer.line = questionLine + 2 * k;
    try {
        answer.text = AnswerText(k, questionLine);
        const Judgment judgment = Judge(k, questionLine);
        answer.verdict = judgment.verdict;
        answer.feedback = judgment.feedback;
    } catch (const ToolkitError& e) {
        answer.feedback = e.message();
    }
    return answer;
}

// Walks the key in Clave as a student who visits every section, question and answer, and
// compares each step with the key's value, the teacher's preview and the summary's outline.
int compareKey(const AnswerKeyValue& value, const QList<SectionView>& preview,
               const KeyOutline& outline) {
    int compared = 0;
    for (int n = 1; n <= 99; ++n) {
        SCOPED_TRACE(n);
        const SectionView& view = preview.at(n - 1);
        const int header = FindSection(SectionHeader(n));
        EXPECT_EQ(view.headerLine, header + 1);
        EXPECT_EQ(outline.sections.contains(n), header >= 0);
        EXPECT_EQ(value.section(n) ? value.section(n)->line : -1, header);
        if (header < 0) {
            EXPECT_TRUE(view.questions.isEmpty());
            continue;
        }
        const int questions = ContarMarcas(Mark::Question, header);
        EXPECT_EQ(view.questions.size(), questions);
        EXPECT_EQ(outline.sections.value(n).size(), questions);
        EXPECT_EQ(value.section(n)->questions.size(), questions);
        for (int q = 1; q <= std::min<int>(questions, int(view.questions.size())); ++q) {
            const int line = BuscarLineaDePregunta(q, header);
            const QuestionView& question = view.questions.at(q - 1);
            EXPECT_EQ(question.line, line + 1);
            EXPECT_EQ(question.text, QuestionText(line));
            EXPECT_EQ(value.question(n, q)->line, line);
            const int answers = ContarMarcas(Mark::Answer, line);
            EXPECT_EQ(question.answers.size(), answers);
            for (int k = 1; k <= std::min<int>(answers, int(question.answers.size())); ++k) {
                const AnswerView student = studentAnswer(line, k);
                const AnswerView& teacher = question.answers.at(k - 1);
                EXPECT_EQ(teacher.line, student.line);
                EXPECT_EQ(teacher.text, student.text);
                EXPECT_EQ(teacher.verdict, student.verdict);
                EXPECT_EQ(teacher.feedback, student.feedback);
                EXPECT_EQ(outline.answerText(n, q, k), student.text);
                const AnswerKeyValue::Answer* typed = value.answer(n, q, k);
                if (!typed) {
                    ADD_FAILURE() << "no answer " << k;
                    continue;
                }
                EXPECT_EQ(typed->judgmentLine, student.line);
                EXPECT_EQ(typed->verdict, student.verdict);
                EXPECT_EQ(typed->verdict ? typed->feedback : typed->error, student.feedback);
                ++compared;
            }
        }
    }
    return compared;
}

// Keys that the fuzz corpus lacks: shifted and missing judgments, answers between a header and
// its first question, repeated headers, headers in other cases or with something after them.
const QList<QStringList> kOddKeys = {
    {QStringLiteral(".Sección 1"), ".cP", ".rA", ".rB", ".bBien", QStringLiteral(".Sección 2"),
     ".cQ", ".rR"},
    {QStringLiteral(".Sección 1"), ".cP", ".rA", ".bB", QStringLiteral(".Sección 2"), ".rX", ".mY",
     ".cQ", ".rR", ".bB"},
    {QStringLiteral(".SECCIÓN 1"), ".CP", ".RA", ".BBien", QStringLiteral(".sección 1"), ".cOtra",
     QStringLiteral(".Sección 2 "), ".cQ", QStringLiteral(".Seccion 3"), ".cZ",
     QStringLiteral(".Sección 03"), ".c3", ".r", ".n casi", " .b blanco", ".rC", ""},
    {".cAntes", ".rA", ".bB", QStringLiteral(".Sección 2"), ".c", ".xRaro", ".rA", ".pQuizás",
     QStringLiteral(".Sección 1"), ".cP", ".bSin respuesta", ".rA"},
};

TEST(RulesAgreement, KeysReadAlikeByTheStudentAndTheTeacher) {
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    QList<QStringList> keys;
    const QStringList files =
        filesIn(QStringLiteral(DORVALIA_SOURCE "/fuzz/corpus/fuzz_key")) +
        filesIn(QStringLiteral(DORVALIA_SOURCE "/fuzz/corpus/fuzz_textlist")) +
        QStringList{QStringLiteral(DORVALIA_SOURCE "/samples/El_volcan_CRJ.TXT")};
    for (const QString& path : files)
        keys.append(linesOf(path));
    keys += kOddKeys;
    ASSERT_GE(keys.size(), 14);

    int answers = 0;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        SCOPED_TRACE(i < files.size() ? files[i].toStdString() : "odd key " + std::to_string(i));
        writeAnsiLines(folder + KeyName(QStringLiteral("L")), keys[i]);
        const LessonReport report = checkLessonFiles(folder + LessonTextName(QStringLiteral("L")),
                                                     [](const QString&) { return allSections(); });
        ASSERT_FALSE(report.unreadable);
        ASSERT_EQ(report.sections.size(), 99);
        LoadKey(folder + KeyName(QStringLiteral("L")));
        const KeyOutline outline = LoadKeyOutline(report.keyPath);
        answers += compareKey(outline.key, report.sections, outline);
    }
    Clave.reset();
    // Every key above has answers to compare, but not every one: at least the sample's.
    EXPECT_GT(answers, 100);
}

// Texts: the sections counted from the last marker line and where each one is found.
TEST(RulesAgreement, TextsReadAlikeByTheStudentAndTheTeacher) {
    QList<QStringList> texts;
    for (const QString& folder :
         {QStringLiteral("/fuzz/corpus/fuzz_rtf"), QStringLiteral("/fuzz/corpus/fuzz_textlist"),
          QStringLiteral("/tests/data/rtf")}) {
        for (const QString& path : filesIn(QStringLiteral(DORVALIA_SOURCE) + folder))
            texts.append(linesOf(path));
    }
    const QString s1 = SectionHeader(1);
    texts += QList<QStringList>{
        {QStringLiteral("Había una vez.")},
        {s1, QStringLiteral("texto"), QStringLiteral(".Sección 2.")},
        {QStringLiteral(".Sección 0")},
        {QStringLiteral(".Sección -3")},
        {s1, QStringLiteral(".SECCIÓN 2"), QStringLiteral(".SECCIóN 3")},
        {s1, QStringLiteral(".Sección  2"), QStringLiteral(".Sección3"),
         QStringLiteral(" .Sección 4")},
        {s1, QStringLiteral(".Seccion 2"), QStringLiteral("Relee la .sección 3 ya"),
         QStringLiteral(".Sección 3")},
        {s1, QStringLiteral(".Sección 2 El volcán"), QStringLiteral(".Sección 123")},
        {QStringLiteral(".Sección 2"), s1, QStringLiteral(".Sección $A")},
    };

    int found = 0;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(i);
        FakeViewer viewer(texts[i]);
        FakePrompter prompter;
        const LessonText text = textOf(texts[i]);
        QList<Problem> problems;
        const TextFacts facts = checkText(text, QStringLiteral("t"), problems);
        int sections = -1;
        try {
            sections = std::max(ContarSecciones(viewer, prompter), 0);
        } catch (const ToolkitError& e) {
            // The teacher is told what the student's program says, and cannot count either.
            EXPECT_EQ(facts.sections, -1);
            ASSERT_FALSE(problems.isEmpty());
            EXPECT_TRUE(problems.first().text.contains(e.message()));
            continue;
        }
        EXPECT_EQ(facts.sections, sections);
        for (int n = 1; n <= std::min(sections, 99); ++n) {
            const int position = ShowSection(viewer, n);
            EXPECT_EQ(facts.markerLines.contains(n), position >= 0) << n;
            if (position >= 0) {
                EXPECT_EQ(facts.markerLines.value(n), text.lineOf(position)) << n;
                ++found;
            }
        }
    }
    EXPECT_GT(found, 5);
}

} // namespace
