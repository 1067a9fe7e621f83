// Moodle's formats read into a key: GIFT and Aiken. A file either gives its questions or one
// message with its line and no question at all; what is read goes into a key and out to GIFT
// again without an error, every question accounted for.

#include "fuzz/FuzzSupport.h"
#include "platform/core/Ansi.h"
#include "teacher/editor/KeyStructure.h"
#include "teacher/editor/Questions.h"

#include <cstddef>
#include <cstdint>

namespace {

void checkResult(const ImportResult& result) {
    if (!result.failure.isEmpty()) {
        FUZZ_CHECK(result.failure.startsWith(QStringLiteral("línea ")));
        FUZZ_CHECK(result.questions.isEmpty());
        return;
    }
    for (const LeftOutQuestion& q : result.leftOut)
        FUZZ_CHECK(q.line > 0 && !q.kind.isEmpty());
    for (const ImportedQuestion& q : result.questions) {
        FUZZ_CHECK(!q.answers.isEmpty());
        FUZZ_CHECK(q.section >= 0 && q.section <= 99);
    }
    // Into a key: every question and answer where the student's program finds it.
    const QStringList lines = withQuestions({}, result.questions, 1);
    const KeyStructure key = readKeyStructure(lines);
    qsizetype questions = 0;
    for (const KeySection& section : key.sections) {
        FUZZ_CHECK(section.number > 0);
        for (const KeyQuestion& q : section.questions) {
            for (const KeyAnswer& a : q.answers)
                FUZZ_CHECK(a.judgment == a.line + 1);
        }
        questions += section.questions.size();
    }
    FUZZ_CHECK(questions == result.questions.size());
    // And out to GIFT: read back whole, each question again a question or named as left out.
    const GiftExport gift = writeGift(lines);
    FUZZ_CHECK(gift.questions == result.questions.size());
    const ImportResult again = readGift(gift.text);
    FUZZ_CHECK(again.failure.isEmpty());
    FUZZ_CHECK(again.questions.size() + again.leftOut.size() == gift.questions);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        decodeTeacherText(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    checkResult(readGift(text));
    checkResult(readAiken(text));
    return 0;
}
