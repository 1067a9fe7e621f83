#include "teacher/VisitCopies.h"

#include "platform/core/ToolkitError.h"
#include "study/Register.h"
#include "study/VisitCopy.h"
#include "teacher/RegisterReadLock.h"
#include "teacher/Words.h"

#include <QFile>
#include <QFileInfo>

namespace {

QByteArray copyBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The copies of a register's visits that its bytes lack, with their bytes.
QList<std::pair<QString, QByteArray>> missing(const QString& registerPath, QByteArrayView bytes) {
    QList<std::pair<QString, QByteArray>> found;
    for (const QString& copy : VisitCopiesOf(registerPath)) {
        const QByteArray visit = copyBytes(copy);
        // A copy cut short (a power cut as it was written) is not a whole visit to put back.
        if (visit.endsWith("\r\n") && !bytes.contains(visit))
            found.append({copy, visit});
    }
    return found;
}

const QString kMissing = QStringLiteral("Falta en el registro ");

QString describe(const QString& copy, const QByteArray& visit) {
    RegisterFile read;
    ParseRegister(visit, read);
    if (read.visits.isEmpty())
        return kMissing + QStringLiteral("una visita que se dio por guardada (copia: %1)")
                              .arg(QFileInfo(copy).fileName());
    const RegisterVisit& v = read.visits.first();
    return kMissing +
           QStringLiteral("la visita de %1 del %2 (%3), que se dio por guardada; "
                          "hay una copia (%4): «Restaurar visitas» (o resumen --restaurar) la "
                          "añade")
               .arg(v.name.isEmpty() ? QStringLiteral("un alumno sin nombre") : v.name, v.dateText,
                    Counted(int(v.entries.size()), QStringLiteral("respuesta"),
                            QStringLiteral("respuestas")),
                    QFileInfo(copy).fileName());
}

} // namespace

QList<RegisterProblem> MissingVisitNotices(const QString& registerPath, QByteArrayView bytes) {
    QList<RegisterProblem> notices;
    for (const auto& [copy, visit] : missing(registerPath, bytes))
        notices.append({registerPath, 0, describe(copy, visit)});
    return notices;
}

bool IsMissingVisit(const RegisterProblem& notice) {
    return notice.line == 0 && notice.message.startsWith(kMissing);
}

int RestoreMissingVisits(const QString& folder, bool subfolders, QStringList& failures) {
    int restored = 0;
    for (const QString& path : FindRegisters(folder, subfolders)) {
        QByteArray bytes;
        QString failure;
        if (VisitCopiesOf(path).isEmpty())
            continue;
        if (!readRegisterBytes(path, 5000, bytes, failure)) {
            failures.append(QStringLiteral("%1: %2").arg(path, failure));
            continue;
        }
        for (const auto& [copy, visit] : missing(path, bytes)) {
            try {
                restored += AppendToRegisterIfMissing(path, visit) ? 1 : 0;
            } catch (const ToolkitError& e) {
                failures.append(e.message());
            }
        }
    }
    return restored;
}
