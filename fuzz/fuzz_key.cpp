// The answer key: its load from a file and the queries that the lesson window and the scoring
// make on the loaded key, walked as a student would walk it (every section the window can list,
// every question of it, every answer, one past the last). A key that does not follow the layout
// may only end in the list's "List index out of bounds" error; the scans that the end sentinels
// bound must never reach it.

#include "fuzz/FuzzSupport.h"
#include "lesson/AnswerKey.h"
#include "platform/core/ToolkitError.h"
#include "platform/core/Verdict.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

// Bounds on the walk, so that one input stays fast: the queries are linear scans by design.
constexpr int kMaxSections = 99;
constexpr int kMaxQuestions = 20;
constexpr int kMaxAnswers = 20;
constexpr int kMaxHeaderLines = 50;

const ScratchFile& keyFile() {
    static const ScratchFile file(QStringLiteral("key"));
    return file;
}

bool isListIndexError(const ToolkitError& error) {
    return error.message().startsWith(QStringLiteral("List index out of bounds ("));
}

void checkVerdict(const Judgment& judgment) {
    FUZZ_CHECK(judgment.verdict == Verdict::Correcta || judgment.verdict == Verdict::Incorrecta ||
               judgment.verdict == Verdict::Pendiente);
}

// Answers past the layout may fall outside the key: the list refuses them, nothing else.
void walkAnswers(int questionLine, int answers) {
    const Judgment none = Judge(0, questionLine);
    FUZZ_CHECK(none.verdict == Verdict::Pendiente);
    for (int k = 1; k <= std::min(answers, kMaxAnswers) + 1; ++k) {
        try {
            const QString text = AnswerText(k, questionLine);
            FUZZ_CHECK(text == LineText(Clave->at(questionLine + 2 * k - 1)));
            const Judgment judgment = Judge(k, questionLine);
            checkVerdict(judgment);
            FUZZ_CHECK(judgment.feedback == LineText(Clave->at(questionLine + 2 * k)));
        } catch (const ToolkitError& error) {
            FUZZ_CHECK(isListIndexError(error));
            FUZZ_CHECK(questionLine + 2 * k >= Clave->count());
        }
    }
}

void walkSection(int sectionLine) {
    FUZZ_CHECK(LineMarker(Clave->at(sectionLine)) == QStringLiteral(".s"));
    // Both counts end at a sentinel at the latest, inside the list.
    const int questions = ContarMarcas(QStringLiteral(".c"), sectionLine);
    FUZZ_CHECK(questions >= 0 && questions < Clave->count());
    for (int n = 1; n <= std::min(questions, kMaxQuestions); ++n) {
        const int questionLine = BuscarLineaDePregunta(n, sectionLine);
        FUZZ_CHECK(questionLine > sectionLine && questionLine < Clave->count());
        FUZZ_CHECK(LineMarker(Clave->at(questionLine)) == QStringLiteral(".c"));
        FUZZ_CHECK(QuestionText(questionLine) == LineText(Clave->at(questionLine)));
        const int answers = ContarMarcas(QStringLiteral(".r"), questionLine);
        FUZZ_CHECK(answers >= 0 && answers < Clave->count());
        walkAnswers(questionLine, answers);
    }
    // One question past the count: another section's question, or the list's error.
    try {
        const int beyond = BuscarLineaDePregunta(questions + 1, sectionLine);
        FUZZ_CHECK(LineMarker(Clave->at(beyond)) == QStringLiteral(".c"));
    } catch (const ToolkitError& error) {
        FUZZ_CHECK(isListIndexError(error));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    keyFile().write(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    LoadKey(keyFile().path());
    const qsizetype count = Clave->count();
    FUZZ_CHECK(count >= 2);
    FUZZ_CHECK(Clave->at(count - 2) == QStringLiteral(".s"));
    FUZZ_CHECK(Clave->at(count - 1) == QStringLiteral(".c"));

    for (int n = 1; n <= kMaxSections; ++n) {
        const int line = FindSection(QStringLiteral(".Sección ") + QString::number(n));
        FUZZ_CHECK(line >= -1 && line < count);
        if (line >= 0)
            walkSection(line);
    }
    // A line that is in the key is found, at its own place or at an equal line before it.
    for (int i = 0; i < std::min<qsizetype>(count, kMaxHeaderLines); ++i) {
        const int found = FindSection(Clave->at(i));
        FUZZ_CHECK(found >= 0 && found <= i);
    }
    Clave.reset();
    return 0;
}
