// The teacher's reading of a register, on any bytes: besides not crashing, every line that is
// not blank is used (a visit line with its column line, or an answer) or listed as skipped, and
// the summary of what was read keeps its counts consistent. The same bytes as one typed name
// must come back whole through the register's quoting and apostrophe guard.

#include "fuzz/FuzzSupport.h"
#include "platform/core/Ansi.h"
#include "platform/core/TextList.h"
#include "study/RegisterLines.h"
#include "teacher/ClassSummary.h"
#include "teacher/RegisterReader.h"

#include <QSet>

#include <cstddef>
#include <cstdint>

namespace {

void checkReading(QByteArrayView bytes) {
    RegisterFile file;
    file.path = QStringLiteral("Fuzz07122026_reg.csv");
    file.read = true;
    SplitRegisterName(file.path, file.lesson, file.fileDate);
    ParseRegister(bytes, file);

    qsizetype used = 0;
    QSet<int> visitLines;
    for (const RegisterVisit& visit : file.visits) {
        used += 2 + visit.entries.size();
        visitLines.insert(visit.line);
        for (const RegisterEntry& e : visit.entries)
            FUZZ_CHECK(e.section >= 0 && e.question >= 0 && e.answer >= 0 && e.section <= 255 &&
                       e.question <= 0xFFFF && e.answer <= 255);
    }
    for (const RegisterProblem& problem : file.problems) {
        FUZZ_CHECK(problem.line >= 1);
        if (!visitLines.contains(problem.line))
            ++used;
    }
    QByteArray text = bytes.toByteArray();
    text.replace('\x1A', QByteArrayView());
    qsizetype lines = 0;
    for (const QString& line : splitLines(decodeTeacherText(text)))
        lines += line.trimmed().isEmpty() ? 0 : 1;
    FUZZ_CHECK(used == lines);

    const ClassSummary summary = Summarize({file});
    for (const LessonSummary& lesson : summary.lessons) {
        for (const QuestionRow& q : lesson.questions)
            FUZZ_CHECK(q.firstRight <= q.students && q.students >= 1 &&
                       q.mostWrongTimes <= q.accepted);
        for (const StudentRow& s : lesson.students)
            FUZZ_CHECK(s.correct + s.incorrect + s.pending == s.accepted &&
                       s.firstRight <= s.questionsAnswered);
    }
}

void checkQuoting(QByteArrayView bytes) {
    QString name = QString::fromUtf8(bytes);
    name.remove(u'\r');
    name.remove(u'\n');
    // A name typed with its own apostrophe before "=" reads as the guarded one: the guard cannot
    // tell them apart, and a spreadsheet shows both the same.
    if (name.startsWith(u'\''))
        return;
    QStringList fields;
    FUZZ_CHECK(SplitRegisterLine(VisitLine(name, QStringLiteral("07/12/2026"), QStringLiteral("L")),
                                 fields));
    FUZZ_CHECK(fields.size() == 3 && UnguardedField(fields[0]) == name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkReading(bytes);
    checkQuoting(bytes);
    return 0;
}
