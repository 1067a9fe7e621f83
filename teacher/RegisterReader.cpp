#include "teacher/RegisterReader.h"

#include "lesson/RegisterName.h"
#include "platform/core/Ansi.h"
#include "platform/core/Verdict.h"
#include "study/RegisterLines.h"
#include "teacher/RegisterDates.h"
#include "teacher/RegisterReadLock.h"
#include "teacher/VisitCopies.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace {

// Lines split at CR LF, a lone CR or a lone LF, as views into text.
QList<QStringView> splitLineViews(const QString& text) {
    QList<QStringView> lines;
    const QStringView all(text);
    qsizetype start = 0;
    for (qsizetype i = 0; i < all.size(); ++i) {
        const QChar c = all[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(all.sliced(start, i - start));
        if (c == u'\r' && i + 1 < all.size() && all[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < all.size())
        lines.append(all.sliced(start));
    return lines;
}

// An entry line is read by the register's own rule; the teacher keeps its verdict as a value.
bool parseEntry(QStringView line, RegisterEntry& entry) {
    EntryFields fields;
    if (!ReadEntryLine(line, fields))
        return false;
    entry.section = fields.section;
    entry.question = fields.question;
    entry.answer = fields.answer;
    entry.firstAttempt = fields.firstAttempt;
    entry.verdict = fields.verdict;
    return true;
}

// The visit line: name, date, lesson. An older version wrote a name with a comma unquoted; the
// date is then the last field that reads as one, and the name everything before it.
RegisterVisit parseVisit(QStringView line, QString& ambiguity) {
    RegisterVisit visit;
    QStringList fields;
    if (SplitRegisterLine(line, fields) && fields.size() == 3) {
        visit.name = UnguardedField(fields[0]);
        visit.dateText = fields[1];
        visit.lesson = UnguardedField(fields[2]);
        return visit;
    }
    fields = line.toString().split(u',');
    qsizetype dateField = -1;
    for (qsizetype i = fields.size() - 1; i >= 1 && dateField < 0; --i) {
        if (ParseVisitDate(fields[i]).isValid())
            dateField = i;
    }
    if (dateField < 0)
        dateField = std::min<qsizetype>(1, fields.size() - 1);
    visit.name = UnguardedField(fields.mid(0, std::max<qsizetype>(dateField, 1)).join(u','));
    if (dateField >= 1) {
        visit.dateText = fields[dateField];
        visit.lesson = fields.mid(dateField + 1).join(u',');
    }
    ambiguity = QStringLiteral("línea del alumno sin comillas de una versión antigua: leída con "
                               "el nombre «%1»")
                    .arg(visit.name);
    return visit;
}

} // namespace

QString ProblemLine(const RegisterProblem& problem) {
    return QDir::toNativeSeparators(problem.file) +
           (problem.line ? QStringLiteral(":%1").arg(problem.line) : QString()) +
           QStringLiteral(": ") + problem.message;
}

QStringList FindRegisters(const QString& folder, bool subfolders) {
    QStringList paths;
    QDirIterator it(folder, {u'*' + kRegisterSuffix}, QDir::Files,
                    subfolders ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    // A register the web page saved is one visit: the same file dropped twice (in two subfolders,
    // or saved again at the end of the same visit) counts once, the longest copy.
    QHash<QString, qsizetype> webRegisters;
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = it.fileName();
        if (!WebRegisterId(name)) {
            paths.append(path);
            continue;
        }
        const auto seen = webRegisters.constFind(name.toLower());
        if (seen == webRegisters.cend()) {
            webRegisters.insert(name.toLower(), paths.size());
            paths.append(path);
        } else if (QFileInfo(path).size() > QFileInfo(paths[*seen]).size() ||
                   (QFileInfo(path).size() == QFileInfo(paths[*seen]).size() &&
                    path < paths[*seen])) {
            paths[*seen] = path;
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

void SplitRegisterName(const QString& fileName, QString& lesson, QDate& date) {
    lesson = GuessRegisterLesson(RegisterStem(fileName).value_or(fileName), date);
}

QDate ParseVisitDate(QStringView text) {
    text = text.trimmed();
    QList<QStringView> parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == u'/' || text[i] == u'-' || text[i] == u'.') {
            parts.append(text.sliced(start, i - start));
            start = i + 1;
        }
    }
    if (parts.size() != 3)
        return {};
    int numbers[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        numbers[i] = parts[i].toInt(&ok);
        if (!ok || parts[i].isEmpty() || parts[i].size() > 4)
            return {};
    }
    if (parts[0].size() == 4)
        return QDate(numbers[0], numbers[1], numbers[2]);
    const int year = parts[2].size() <= 2 ? 2000 + numbers[2] : numbers[2];
    return QDate(year, numbers[1], numbers[0]);
}

void ParseRegister(QByteArrayView bytes, RegisterFile& file) {
    // An old editor's end-of-file mark may stand at the end, or before lines appended later.
    QByteArray withoutMarks;
    if (bytes.contains('\x1A')) {
        withoutMarks = bytes.toByteArray();
        withoutMarks.replace('\x1A', QByteArrayView());
        bytes = withoutMarks;
    }
    const QString text = decodeTeacherText(bytes);
    const QList<QStringView> lines = splitLineViews(text);
    const QString column = ColumnLine();
    auto isColumnLine = [&](qsizetype i) {
        return i < lines.size() && lines[i].trimmed() == column;
    };
    auto problem = [&](qsizetype i, const QString& message) {
        file.problems.append({file.path, int(i + 1), message});
    };
    RegisterVisit* visit = nullptr;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringView line = lines[i];
        if (line.trimmed().isEmpty())
            continue;
        if (isColumnLine(i)) {
            problem(i, QStringLiteral("línea de columnas sin la línea del alumno antes; se omite "
                                      "su visita"));
            visit = nullptr;
            continue;
        }
        // A visit line is known by the column line that always follows it.
        if (isColumnLine(i + 1)) {
            QString ambiguity;
            RegisterVisit next = parseVisit(line, ambiguity);
            if (!ambiguity.isEmpty())
                problem(i, ambiguity);
            next.date = ParseVisitDate(next.dateText);
            if (!next.date.isValid())
                next.date = file.fileDate;
            next.line = int(i + 1);
            file.visits.append(std::move(next));
            visit = &file.visits.last();
            ++i;
            continue;
        }
        if (!visit) {
            problem(i, QStringLiteral("línea fuera de una visita; se omite"));
            continue;
        }
        RegisterEntry entry;
        if (parseEntry(line, entry))
            visit->entries.append(entry);
        else
            problem(i, QStringLiteral("línea dañada; se omite"));
    }
}

void DateVisits(RegisterFile& file, const QDate& modifiedDay) {
    QList<VisitDateText> texts;
    for (const RegisterVisit& visit : file.visits)
        texts.append({visit.dateText, visit.lesson});
    const RegisterDating dating = DateRegister(QFileInfo(file.path).fileName(), texts, modifiedDay);
    file.lesson = dating.lesson;
    file.fileDate = dating.fileDate;
    for (qsizetype i = 0; i < file.visits.size(); ++i) {
        RegisterVisit& visit = file.visits[i];
        visit.date = dating.visitDates[i].isValid() ? dating.visitDates[i] : file.fileDate;
        visit.otherDates = dating.otherDates[i];
    }
    if (!dating.doubt.isEmpty())
        file.notices.append({file.path, 0, dating.doubt});
}

RegisterFile ReadRegister(const QString& path, int lockTimeoutMs) {
    RegisterFile file;
    file.path = path;
    SplitRegisterName(QFileInfo(path).fileName(), file.lesson, file.fileDate);
    QByteArray bytes;
    QString failure;
    if (!readRegisterBytes(path, lockTimeoutMs, bytes, failure)) {
        file.problems.append({path, 0, failure});
        return file;
    }
    file.read = true;
    ParseRegister(bytes, file);
    DateVisits(file, QFileInfo(path).lastModified().date());
    file.notices.append(MissingVisitNotices(path, bytes));
    return file;
}
