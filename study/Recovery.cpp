#include "study/Recovery.h"

#include "platform/core/ToolkitError.h"
#include "study/Journal.h"
#include "study/Register.h"
#include "study/VisitCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

#include <algorithm>

namespace {

// The boxes break their lines with a line feed and then a carriage return, in that order.
const QString kBoxLineBreak = QStringLiteral("\n\r");

QString offerText(const JournalContents& j) {
    const QString alumno = j.alumno.isEmpty() ? QStringLiteral("un alumno sin nombre") : j.alumno;
    const QString answers = j.answers == 1 ? QStringLiteral("1 respuesta")
                                           : QStringLiteral("%1 respuestas").arg(j.answers);
    return QStringLiteral("La visita de %1 a la lección %2, empezada el %3, no se terminó: "
                          "tiene %4.")
               .arg(alumno, j.leccion, j.fecha, answers) +
           kBoxLineBreak + QStringLiteral("¿Guardarla en el registro?");
}

// Moves the journal out of the offer, keeping it for the teacher.
void discard(const QString& path) {
    const QDir folder(QFileInfo(path).absolutePath() + u'/' + QLatin1String(kDiscardedFolder));
    if (!folder.mkpath(QStringLiteral(".")))
        return;
    const QString name = QFileInfo(path).fileName();
    QString target = folder.filePath(name);
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = folder.filePath(QStringLiteral("%1-%2").arg(n).arg(name));
    QFile::rename(path, target);
}

// This machine's name as QLockFile writes it in its locks.
QString lockHostName() {
#ifdef Q_OS_WIN
    return qEnvironmentVariable("COMPUTERNAME"); // not the DNS name, which may differ
#else
    return QSysInfo::machineHostName();
#endif
}

// Its register is the one of the day it is saved, as for any save: the journal's only tells the
// folder.
QString registerOf(const JournalContents& j) {
    if (j.leccion.isEmpty())
        return j.registerPath;
    const qsizetype cut =
        std::max(j.registerPath.lastIndexOf(u'/'), j.registerPath.lastIndexOf(u'\\'));
    return RegisterPathForSaving(j.registerPath.left(cut + 1), j.leccion);
}

void offer(const QString& path, Prompter& prompter, ErrorBox& errors) {
    // A journal whose program still runs holds its lock: that visit is still going on.
    if (path == VisitJournal::path())
        return;
    QLockFile owner(path + QStringLiteral(".lock"));
    owner.setStaleLockTime(0);
    if (!owner.tryLock(0)) {
        // A lock naming this very process is a dead program's: process numbers start again after
        // a restart (under Wine, after its server restarts, the first program is always 32).
        qint64 pid = 0;
        QString host, program;
        if (!owner.getLockInfo(&pid, &host, &program) ||
            pid != QCoreApplication::applicationPid() || host != lockHostName() ||
            !owner.removeStaleLockFile() || !owner.tryLock(0))
            return;
    }
    const std::optional<JournalContents> journal = ReadJournal(path);
    if (!journal) {
        // Cut before its first answer was on the disk: nothing to offer, kept all the same.
        discard(path);
        return;
    }
    // A save that reached the register but not its copy, or died before removing its journal:
    // the visit is saved already and is not offered a second time. Its copy is made if missing.
    const QString tag = VisitCopyTag(path);
    for (const QString& saved : {journal->registerPath, registerOf(*journal)}) {
        if (VisitInRegister(saved, journal->bytes, tag)) {
            WriteVisitCopy(saved, journal->bytes, tag);
            QFile::remove(path);
            return;
        }
    }
    if (!prompter.askYesNo(QStringLiteral("Visita sin terminar"), offerText(*journal))) {
        discard(path);
        return;
    }
    try {
        AppendToRegister(registerOf(*journal), journal->bytes, tag);
    } catch (const ToolkitError& e) {
        errors.showError(e.message());
        return;
    }
    QFile::remove(path);
}

} // namespace

void OfferUnfinishedVisits(Prompter& prompter, ErrorBox& errors) {
    // The names begin with the visit's start: their order is the visits' order.
    const QDir folder(JournalFolder());
    const QStringList names =
        folder.entryList({QStringLiteral("visita-*.txt")}, QDir::Files, QDir::Name);
    for (const QString& name : names)
        offer(folder.filePath(name), prompter, errors);
}
