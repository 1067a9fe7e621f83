#include "RegisterReader.h"

#include "Ansi.h"
#include "RegisterLines.h"
#include "RegisterReadLock.h"
#include "Verdict.h"

#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <array>

namespace {

const QString kRegisterSuffix = QStringLiteral("_reg.csv");

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

// Sections and answers are small numbers (a lesson has at most 99 sections; each answer of a
// question is a column of the exports), questions a little larger; anything else is a damaged
// line.
constexpr int kMostSection = 255;
constexpr int kMostQuestion = 0xFFFF;
constexpr int kMostAnswer = 255;

int boundedNumber(QStringView text, int most, bool& ok) {
    const int value = text.toInt(&ok);
    ok = ok && value >= 0 && value <= most;
    return value;
}

// An entry line read from its end: its last four fields (five with ",si") are numbers and a
// verdict and are never quoted; the name before them may hold commas and is not needed, since
// students are told apart by their visit line.
bool parseEntry(QStringView line, RegisterEntry& entry) {
    std::array<QStringView, 5> fields; // right to left
    qsizetype end = line.size();
    int count = 0;
    while (count < 5 && end > 0) {
        const qsizetype comma = line.lastIndexOf(u',', end - 1);
        if (comma < 0)
            break;
        fields[count++] = line.sliced(comma + 1, end - comma - 1);
        end = comma;
    }
    const bool si = count >= 1 && fields[0] == u"si";
    const int first = si ? 1 : 0;
    if (count < first + 4)
        return false;
    const QStringView verdict = fields[first];
    if (verdict == Verdict::Correcta)
        entry.verdict = Juicio::Correcta;
    else if (verdict == Verdict::Incorrecta)
        entry.verdict = Juicio::Incorrecta;
    else if (verdict == Verdict::Pendiente)
        entry.verdict = Juicio::Pendiente;
    else
        return false;
    // "si" is written only after "Correcta".
    if (si && entry.verdict != Juicio::Correcta)
        return false;
    entry.firstAttempt = si;
    bool a = false, q = false, s = false;
    entry.answer = boundedNumber(fields[first + 1], kMostAnswer, a);
    entry.question = boundedNumber(fields[first + 2], kMostQuestion, q);
    entry.section = boundedNumber(fields[first + 3], kMostSection, s);
    return a && q && s;
}

// The visit line: name, date, lesson. An older version wrote a name with a comma unquoted; the
// date is then the last field that reads as one, and the name everything before it.
RegisterVisit parseVisit(QStringView line, QString& ambiguity) {
    RegisterVisit visit;
    QStringList fields;
    if (SplitRegisterLine(line, fields) && fields.size() == 3) {
        visit.name = UnguardedField(fields[0]);
        visit.dateText = fields[1];
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
    if (dateField >= 1)
        visit.dateText = fields[dateField];
    ambiguity = QStringLiteral("línea del alumno sin comillas de una versión antigua: leída con "
                               "el nombre «%1»")
                    .arg(visit.name);
    return visit;
}

QDate dayMonthYear(QStringView digits) {
    bool ok = false;
    const int day = digits.sliced(0, 2).toInt(&ok);
    const int month = digits.sliced(2, 2).toInt(&ok);
    int year = digits.sliced(4).toInt(&ok);
    if (digits.size() == 6)
        year += 2000;
    return QDate(year, month, day);
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
    while (it.hasNext())
        paths.append(it.next());
    std::sort(paths.begin(), paths.end());
    return paths;
}

void SplitRegisterName(const QString& fileName, QString& lesson, QDate& date) {
    QString stem = fileName;
    if (stem.endsWith(kRegisterSuffix, Qt::CaseInsensitive))
        stem.chop(kRegisterSuffix.size());
    qsizetype digits = 0;
    while (digits < stem.size() && stem[stem.size() - 1 - digits].isDigit())
        ++digits;
    date = QDate();
    // The day/month/year digits of a Spanish system, then two-digit years; other short date
    // formats leave only their digits to strip.
    for (const qsizetype size : {8, 6}) {
        if (digits >= size && (date = dayMonthYear(QStringView(stem).last(size))).isValid()) {
            digits = size;
            break;
        }
    }
    lesson = stem.left(stem.size() - digits);
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
    return file;
}
