// How fast «Preparar lección» answers the teacher, on a key of 99 sections of 10 questions of
// four answers (4,059 lines) beside a reading of 99 sections: one letter typed into a question
// in the form, with the tree and the problems list brought up to date; the rules of revisar alone
// on the key after one edit; and the lesson opened in the form. They run in program_bench, whose
// main() sets up the application.
#include "bench/LessonMaker.h"

#include "lesson/AnswerKey.h"
#include "platform/core/TextList.h"
#include "teacher/LessonCheck.h"
#include "teacher/editor/KeyDocument.h"
#include "windows/teacher/editor/PrepareView.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype kReadingBytes = 64 * 1024;

// A question of section 50 chosen in the form, its text field focused.
QLineEdit* chooseQuestion(PrepareView& view) {
    auto* tree = view.findChild<QTreeWidget*>(QStringLiteral("ArbolClave"));
    tree->setCurrentItem(tree->topLevelItem(49)->child(4));
    return view.findChild<QLineEdit*>(QStringLiteral("EdTexto"));
}

void KeystrokeInTheForm(benchmark::State& state) {
    QTemporaryDir dir;
    LessonMaker::write(dir.path(), QStringLiteral("Grande"), kReadingBytes, 10);
    PrepareView view;
    view.openLesson(dir.path() + QStringLiteral("/Grande_lec.rtf"));
    QLineEdit* text = chooseQuestion(view);
    for (auto _ : state) {
        QTest::keyClick(text, Qt::Key_A);
        view.checkNow();
    }
    if (view.report().count(Problem::Severity::Error) != 0)
        state.SkipWithError("the key has errors");
}
BENCHMARK(KeystrokeInTheForm)->Unit(benchmark::kMillisecond);

void CheckAfterOneEdit(benchmark::State& state) {
    KeyDocument document;
    TextList lines;
    lines.loadFromBytes(LessonMaker::key(99, 10));
    document.startNew(QStringLiteral("k"), lines.lines());
    LessonText text;
    for (int s = 1; s <= 99; ++s) {
        text.lineStarts.append(int(text.text.size()));
        text.lines.append(SectionHeader(s));
        text.text += text.lines.last() + u'\n';
    }
    const int line = 50 * 91 + 1;
    for (auto _ : state) {
        document.edit(KeyEdits::setText(document.lines(), line,
                                        ReadKeyLine(document.lines().at(line)).text + u'a'),
                      true);
        const LessonReport report = checkLesson("t", text, "k", document.lines());
        benchmark::DoNotOptimize(report.problems.size());
    }
}
BENCHMARK(CheckAfterOneEdit)->Unit(benchmark::kMillisecond);

void OpenTheLessonInTheForm(benchmark::State& state) {
    QTemporaryDir dir;
    LessonMaker::write(dir.path(), QStringLiteral("Grande"), kReadingBytes, 10);
    for (auto _ : state) {
        PrepareView view;
        view.openLesson(dir.path() + QStringLiteral("/Grande_lec.rtf"));
        if (view.document()->lines().size() != 99 * 91)
            state.SkipWithError("the key did not open");
    }
}
BENCHMARK(OpenTheLessonInTheForm)->Unit(benchmark::kMillisecond);

} // namespace
