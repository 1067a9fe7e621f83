#include "study/Journal.h"

#include "lesson/LessonFiles.h"
#include "platform/core/DiskSync.h"
#include "study/Register.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QStandardPaths>

#include <memory>

namespace {

const QByteArray kLineEnd = "\r\n";

struct Journal {
    QString registerPath;
    QString fecha;
    QString path;                     // empty until the first answer
    std::unique_ptr<QLockFile> owner; // held while the visit is open
    qsizetype linesWritten = 0;
    qint64 length = 0; // bytes known to be on the disk
    bool whole = true; // false after a failed write: the next one writes it whole
};

Journal current;

QByteArray header() {
    QJsonObject o;
    o[QStringLiteral("registro")] = current.registerPath;
    o[QStringLiteral("alumno")] = QString(NombreAlumno);
    o[QStringLiteral("leccion")] = QString(NombreLeccion);
    o[QStringLiteral("fecha")] = current.fecha;
    return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

// A new, unique journal file, owned by this process.
bool create() {
    const QString folder = JournalFolder();
    if (!QDir().mkpath(folder))
        return false;
    static int visits = 0;
    const QString stem =
        QStringLiteral("visita-%1-%2-")
            .arg(QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")))
            .arg(QCoreApplication::applicationPid());
    for (int tries = 0; tries < 100; ++tries) {
        const QString path =
            folder + u'/' + stem + QStringLiteral("%1.txt").arg(++visits, 4, 10, QLatin1Char('0'));
        auto owner = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
        owner->setStaleLockTime(0);
        if (!owner->tryLock(0))
            continue;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            continue;
        current.path = path;
        current.owner = std::move(owner);
        current.whole = false; // the header and the lines so far come first
        return true;
    }
    return false;
}

bool writeAll(const QStringList& lines) {
    QFile file(current.path);
    const QByteArray bytes = header() + RegisterBytes(lines);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered) ||
        file.write(bytes) != bytes.size() || !syncToDisk(file))
        return false;
    syncFolder(JournalFolder());
    current.length = bytes.size();
    return true;
}

bool append(const QStringList& lines) {
    QFile file(current.path);
    const QByteArray bytes = RegisterBytes(lines, current.linesWritten);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered) ||
        !file.seek(current.length) || file.write(bytes) != bytes.size() || !syncToDisk(file))
        return false;
    current.length += bytes.size();
    return true;
}

} // namespace

QString JournalFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/visitas");
}

namespace VisitJournal {

void begin(const QString& registerPath, const QString& fecha) {
    // A journal still open here belongs to a visit that was never saved: it stays on the disk,
    // to be offered at the next start.
    current = Journal();
    current.registerPath = registerPath;
    current.fecha = fecha;
}

void record(const QStringList& lines) {
    if (current.registerPath.isEmpty())
        return;
    if (current.path.isEmpty() && !create())
        return;
    current.whole = current.whole ? append(lines) : writeAll(lines);
    if (current.whole)
        current.linesWritten = lines.size();
}

void finish() {
    if (!current.path.isEmpty() && !QFile::remove(current.path)) {
        // A journal that stayed would put the visit in the register a second time.
        QFile file(current.path);
        file.resize(0);
    }
    current = Journal();
}

void leave() {
    current = Journal();
}

QString path() {
    return current.path;
}

} // namespace VisitJournal

std::optional<JournalContents> ReadJournal(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray all = file.readAll();
    const qsizetype headerEnd = all.indexOf('\n');
    if (headerEnd < 0)
        return std::nullopt;
    const QJsonObject o = QJsonDocument::fromJson(all.left(headerEnd)).object();
    JournalContents j;
    j.registerPath = o.value(QStringLiteral("registro")).toString();
    j.alumno = o.value(QStringLiteral("alumno")).toString();
    j.leccion = o.value(QStringLiteral("leccion")).toString();
    j.fecha = o.value(QStringLiteral("fecha")).toString();
    j.bytes = all.mid(headerEnd + 1);
    const qsizetype lastEnd = j.bytes.lastIndexOf(kLineEnd);
    j.bytes.truncate(lastEnd < 0 ? 0 : lastEnd + kLineEnd.size());
    // The visit line and the column line come first, then one line per answer.
    j.answers = int(j.bytes.count(kLineEnd)) - 2;
    if (j.registerPath.isEmpty() || j.answers < 0)
        return std::nullopt;
    return j;
}
