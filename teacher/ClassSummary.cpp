#include "teacher/ClassSummary.h"

#include "lesson/LessonPlace.h"
#include "lesson/PublishedKey.h"
#include "teacher/KeyOutline.h"
#include "teacher/RegisterDates.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <atomic>

namespace {

// What one student did with one question. A «Pendiente» is no attempt: the first attempt is the
// first answer judged right or wrong, in time order over all the student's visits.
struct Attempt {
    int firstAnswer = 0; // the first judged answer; the first answer chosen while none is judged
    bool judged = false;
    bool firstRight = false;
    Verdict last = Verdict::Pendiente; // the verdict of the last accepted answer
};

struct QuestionTally {
    QuestionRow row;
    int answeredStudents = 0;
    int judgedStudents = 0;
    QMap<int, int> wrongTimes;
    QMap<int, int> correctTimes;
};

quint32 questionKey(int section, int question) {
    return quint32(section) << 16 | quint32(question);
}

bool inDates(const QDate& date, const QDate& from, const QDate& to) {
    if (!date.isValid())
        return !from.isValid() && !to.isValid();
    return (!from.isValid() || date >= from) && (!to.isValid() || date <= to);
}

// The most chosen of the times, ties to the smaller number; -1 when there are none.
int mostChosen(const QMap<int, int>& times) {
    int best = -1;
    for (auto it = times.cbegin(); it != times.cend(); ++it) {
        if (best < 0 || it.value() > times.value(best))
            best = it.key();
    }
    return best;
}

// An opinion question: every answer in the key is «Pendiente»; without the question in the key,
// no answer to it was judged.
bool isOpinion(const QuestionView* q, int judgedStudents) {
    if (!q)
        return judgedStudents == 0;
    return !q->answers.isEmpty() &&
           std::all_of(q->answers.cbegin(), q->answers.cend(),
                       [](const AnswerView& a) { return a.verdict == Verdict::Pendiente; });
}

QuestionRow finishQuestion(QuestionTally& tally, const KeyOutline& key) {
    QuestionRow& row = tally.row;
    const QuestionView* q = key.question(row.section, row.question);
    if (q)
        row.text = q->text;
    row.opinion = isOpinion(q, tally.judgedStudents);
    // Facility and discrimination count one group: those who made an attempt at it; an opinion
    // question has no attempts, and counts those who answered it.
    row.students = row.opinion ? tally.answeredStudents : tally.judgedStudents;
    row.firstRightPercent = row.students ? 100.0 * row.firstRight / row.students : 0;
    row.mostWrongAnswer = mostChosen(tally.wrongTimes);
    if (row.mostWrongAnswer >= 0) {
        row.mostWrongTimes = tally.wrongTimes.value(row.mostWrongAnswer);
        row.mostWrongText = key.answerText(row.section, row.question, row.mostWrongAnswer);
    }
    const int right = mostChosen(tally.correctTimes);
    const int rightTimes = right >= 0 ? tally.correctTimes.value(right) : 0;
    row.review = !row.opinion && row.students > 0 &&
                 (row.firstRightPercent < kReviewBelowPercent || row.mostWrongTimes > rightTimes);
    return row;
}

LessonSummary summarizeLesson(const QString& name, QList<const RegisterVisit*> visits,
                              const KeyOutline& key, const StudentNames& names) {
    // Time order: the visit line's date, then the order of files and of visits within a file.
    std::stable_sort(
        visits.begin(), visits.end(),
        [](const RegisterVisit* a, const RegisterVisit* b) { return a->date < b->date; });
    LessonSummary lesson;
    lesson.name = name;
    lesson.hasKey = key.loaded;

    QList<StudentRow> students;
    QHash<QString, int> studentByName;
    QHash<quint64, Attempt> attempts;
    QMap<quint32, QuestionTally> questions;
    for (int v = 0; v < visits.size(); ++v) {
        const RegisterVisit& visit = *visits[v];
        const QString trimmed = visit.name.trimmed();
        int student;
        if (trimmed.isEmpty()) {
            student = int(students.size());
            students.append(StudentRow());
            students.last().name = kSinNombre;
            students.last().named = false;
        } else {
            const QString id = names.id(trimmed);
            student = studentByName.value(id, -1);
            if (student < 0) {
                student = int(students.size());
                studentByName.insert(id, student);
                students.append(StudentRow());
                students.last().name = names.shownName(trimmed);
            }
        }
        StudentRow& row = students[student];
        ++row.visits;
        row.visitDates.append(visit.date);
        for (const RegisterEntry& entry : visit.entries) {
            ++row.accepted;
            const quint32 qkey = questionKey(entry.section, entry.question);
            QuestionTally& tally = questions[qkey];
            tally.row.section = entry.section;
            tally.row.question = entry.question;
            ++tally.row.accepted;
            ++tally.row.answerTimes[entry.answer];
            lesson.maxAnswer = std::max(lesson.maxAnswer, entry.answer);
            switch (entry.verdict) {
            case Verdict::Correcta:
                ++row.correct;
                ++tally.correctTimes[entry.answer];
                break;
            case Verdict::Incorrecta:
                ++row.incorrect;
                ++tally.wrongTimes[entry.answer];
                break;
            case Verdict::Pendiente:
                ++row.pending;
                break;
            }
            const quint64 akey = quint64(student) << 32 | qkey;
            auto it = attempts.find(akey);
            if (it == attempts.end()) {
                it = attempts.insert(akey, {entry.answer, false, false, entry.verdict});
                ++tally.answeredStudents;
            }
            it->last = entry.verdict;
            if (!it->judged && entry.verdict != Verdict::Pendiente) {
                it->judged = true;
                it->firstAnswer = entry.answer;
                it->firstRight = entry.verdict == Verdict::Correcta;
                ++tally.judgedStudents;
            }
        }
    }

    // Per student and section: how many of the key's questions were answered.
    QHash<quint64, int> answeredInSection;
    for (auto it = attempts.cbegin(); it != attempts.cend(); ++it) {
        const int student = int(it.key() >> 32);
        const int section = int(it.key() >> 16 & 0xFFFF);
        const int question = int(it.key() & 0xFFFF);
        StudentRow& row = students[student];
        ++row.questionsAnswered;
        if (it->firstRight) {
            ++row.firstRight;
            ++questions[questionKey(section, question)].row.firstRight;
        }
        row.firstAttempts.append({section, question, it->firstAnswer, it->firstRight, it->judged});
        if (it->last == Verdict::Incorrecta) {
            const QuestionView* q = key.question(section, question);
            row.wrongAtLast.append({section, question, q ? q->text : QString()});
        }
        if (const auto s = key.sections.constFind(section);
            s != key.sections.cend() && question >= 1 && question <= s->size())
            ++answeredInSection[quint64(student) << 32 | quint32(section)];
    }
    if (key.loaded) {
        for (int s = 0; s < students.size(); ++s) {
            StudentRow& row = students[s];
            row.sectionsCompleted = 0;
            for (auto it = key.sections.cbegin(); it != key.sections.cend(); ++it) {
                // A section without questions is never completed by answering.
                if (!it->isEmpty() &&
                    answeredInSection.value(quint64(s) << 32 | quint32(it.key())) == it->size())
                    ++row.sectionsCompleted;
                else
                    row.sectionsPending.append(it.key());
            }
        }
    }

    for (StudentRow& row : students)
        std::sort(row.wrongAtLast.begin(), row.wrongAtLast.end(),
                  [](const WrongQuestion& a, const WrongQuestion& b) {
                      return std::pair(a.section, a.question) < std::pair(b.section, b.question);
                  });
    for (QuestionTally& tally : questions)
        lesson.questions.append(finishQuestion(tally, key));

    // By name as a Spanish reader sorts them; the visits without a name last, in time order.
    QCollator collator(QLocale(QLocale::Spanish, QLocale::Spain));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true); // "Alumno 2" before "Alumno 10"
    std::stable_sort(students.begin(), students.end(),
                     [&](const StudentRow& a, const StudentRow& b) {
                         if (a.named != b.named)
                             return a.named;
                         return a.named && collator.compare(a.name, b.name) < 0;
                     });
    lesson.students = std::move(students);
    AnalyseLesson(lesson, key);
    return lesson;
}

// A visit the dates leave out is counted; when that may be only because its date was read one way
// of several, or could not be read at all, the teacher is told which visit it is.
void leaveOut(const RegisterVisit& visit, const QString& path, const QDate& from, const QDate& to,
              ClassSummary& summary) {
    const QString name =
        visit.name.trimmed().isEmpty() ? kSinNombre : QStringLiteral("«%1»").arg(visit.name);
    if (!visit.date.isValid()) {
        summary.notices.append(
            {path, visit.line,
             QStringLiteral("visita de %1 no incluida: su fecha «%2» no se puede leer y se han "
                            "elegido fechas")
                 .arg(name, visit.dateText)});
        return;
    }
    for (const QDate& other : visit.otherDates) {
        if (inDates(other, from, to)) {
            summary.notices.append(
                {path, visit.line,
                 QStringLiteral("visita de %1 no incluida: su fecha «%2» se lee como el %3, "
                                "fuera de las fechas elegidas, pero puede ser el %4, dentro de "
                                "ellas")
                     .arg(name, visit.dateText, TeacherDate(visit.date), TeacherDate(other))});
            return;
        }
    }
    ++summary.visitsLeftOut;
}

// Finds keys as the student's program does (the plain key in any letter case, else the published
// key), listing each folder once for all its lessons: a folder of many lessons without keys is not
// listed once per lesson.
class KeyFinder {
public:
    // The key file to read, or empty when the folder has none.
    QString find(const LessonPlace& lesson) {
        const QString folder = lesson.folder.isEmpty() ? QStringLiteral(".") : lesson.folder;
        auto listing = listings_.find(folder);
        if (listing == listings_.end()) {
            Listing names;
            for (const QString& name :
                 QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
                names.exact.insert(name);
                if (!names.folded.contains(name.toCaseFolded()))
                    names.folded.insert(name.toCaseFolded(), name);
            }
            listing = listings_.insert(folder, names);
        }
        for (const QString& name : lesson.keyNamesInOrder()) {
            // The exact name first, as the folder may tell two names apart by letter case; else
            // the name as the folder lists it (a Windows folder finds any spelling, and the file
            // is then named as it is written there).
            if (listing->folded.contains(name.toCaseFolded()))
                return QDir(folder).filePath(listing->exact.contains(name)
                                                 ? name
                                                 : listing->folded.value(name.toCaseFolded()));
        }
        return {};
    }

private:
    struct Listing {
        QSet<QString> exact;
        QHash<QString, QString> folded; // case-folded name: the first name listed so
    };
    QHash<QString, Listing> listings_;
};

} // namespace

QList<RegisterProblem> AllWarnings(const ClassSummary& summary) {
    return summary.problems + summary.notices;
}

QList<int> SpreadBands(const LessonSummary& lesson) {
    QList<int> bands(10, 0);
    for (const StudentRow& s : lesson.students) {
        if (s.questionsAnswered > 0)
            ++bands[std::min(9, 10 * s.firstRight / s.questionsAnswered)];
    }
    return bands;
}

QString NumberList(const QList<int>& numbers) {
    QStringList texts;
    for (int n : numbers)
        texts.append(QString::number(n));
    return texts.join(QStringLiteral(", "));
}

ClassSummary Summarize(const QList<RegisterFile>& files, QDate from, QDate to,
                       const StudentNames& names) {
    ClassSummary summary;
    summary.registersFound = int(files.size());
    QMap<QString, QList<const RegisterVisit*>> byLesson;
    QMap<QString, LessonPlace> places;
    for (const RegisterFile& file : files) {
        summary.problems += file.problems;
        if (!file.read)
            continue;
        ++summary.registersRead;
        if (!places.contains(file.lesson))
            places.insert(file.lesson, {QFileInfo(file.path).path() + u'/', file.lesson});
        QList<const RegisterVisit*>& visits = byLesson[file.lesson];
        summary.notices += file.notices;
        for (const RegisterVisit& visit : file.visits) {
            if (inDates(visit.date, from, to)) {
                visits.append(&visit);
                if (visit.date.isValid()) {
                    if (!summary.firstDay.isValid() || visit.date < summary.firstDay)
                        summary.firstDay = visit.date;
                    if (!summary.lastDay.isValid() || visit.date > summary.lastDay)
                        summary.lastDay = visit.date;
                }
            } else
                leaveOut(visit, file.path, from, to, summary);
        }
    }
    KeyFinder keys;
    for (auto it = byLesson.cbegin(); it != byLesson.cend(); ++it) {
        if (it->isEmpty())
            continue;
        const QString keyPath = keys.find(places.value(it.key()));
        // A plain key dropped beside the published one is what the students read.
        if (const QString hidden = PublishedKeyHiddenBy(places.value(it.key()).keyPath());
            !hidden.isEmpty() && !IsPublishedKey(keyPath))
            summary.notices.append(
                {keyPath, 0,
                 QStringLiteral("junto a la clave publicada %1 está la clave sin proteger: el "
                                "programa del alumno lee esta en lugar de la publicada, y "
                                "cualquiera puede abrirla. Si la carpeta es la de la clase, "
                                "bórrela")
                     .arg(u'«' + QFileInfo(hidden).fileName() + u'»')});
        summary.lessons.append(
            summarizeLesson(it.key(), it.value(),
                            keyPath.isEmpty() ? KeyOutline() : LoadKeyOutline(keyPath), names));
        summary.lessons.last().folder = QFileInfo(places.value(it.key()).keyPath()).path();
    }
    return summary;
}

ClassSummary SummarizeFolder(const QString& folder, bool subfolders, QDate from, QDate to,
                             const SummaryProgress& progress, const StudentNames& names) {
    const QStringList paths = FindRegisters(folder, subfolders);
    const int total = int(paths.size());
    std::atomic<int> done = 0;
    if (progress)
        progress(0, total);
    const QList<RegisterFile> files = QtConcurrent::blockingMapped(paths, [&](const QString& path) {
        RegisterFile file = ReadRegister(path);
        const int now = ++done;
        // Every hundredth register is enough for a progress bar.
        if (progress && (now % 100 == 0 || now == total))
            progress(now, total);
        return file;
    });
    return Summarize(files, from, to, names);
}
