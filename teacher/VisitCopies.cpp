#include "teacher/VisitCopies.h"

#include "platform/core/ToolkitError.h"
#include "study/Register.h"
#include "study/VisitCopy.h"
#include "study/VisitMatch.h"
#include "teacher/RegisterReadLock.h"
#include "teacher/Words.h"

#include <QBuffer>
#include <QFileInfo>

#include <algorithm>

namespace {

// A visit that the register lacks: the copy that holds it, and how many times the register must
// hold it once this copy is put back (a visit saved alike twice is there twice).
struct Missing {
    QString copy;
    QByteArray visit;
    int times = 1;
};

struct Copies {
    QList<Missing> missing;
    QList<VisitCopyRead> notValid;
};

// The register's copies, sealed ones matched against its visits as a whole: each visit as often
// as its copies say.
Copies examine(const QString& registerPath, QIODevice& bytes) {
    Copies found;
    QList<std::pair<QByteArray, QStringList>> visits; // in the copies' order
    for (const QString& path : VisitCopiesOf(registerPath)) {
        VisitCopyRead read = ReadVisitCopy(registerPath, path);
        if (read.visit.isEmpty()) {
            found.notValid.append(std::move(read));
            continue;
        }
        const auto same = std::find_if(visits.begin(), visits.end(),
                                       [&](const auto& v) { return v.first == read.visit; });
        if (same == visits.end())
            visits.append({read.visit, {path}});
        else
            same->second.append(path);
    }
    for (const auto& [visit, copies] : visits) {
        bytes.seek(0);
        const int held = CountWholeVisit(bytes, visit);
        for (qsizetype i = held; i < copies.size(); ++i)
            found.missing.append({copies[i], visit, int(i + 1)});
    }
    return found;
}

QString describe(const QString& copy, const QByteArray& visit) {
    RegisterFile read;
    ParseRegister(visit, read);
    const QString missing = QStringLiteral("Falta en el registro ");
    if (read.visits.isEmpty())
        return missing + QStringLiteral("una visita que se dio por guardada (copia: %1)")
                             .arg(QFileInfo(copy).fileName());
    const RegisterVisit& v = read.visits.first();
    return missing +
           QStringLiteral("la visita de %1 del %2 (%3), que se dio por guardada; "
                          "hay una copia (%4): «Restaurar visitas» (o resumen --restaurar) la "
                          "añade")
               .arg(v.name.isEmpty() ? QStringLiteral("un alumno sin nombre") : v.name, v.dateText,
                    Counted(int(v.entries.size()), QStringLiteral("respuesta"),
                            QStringLiteral("respuestas")),
                    QFileInfo(copy).fileName());
}

QString describeNotValid(const VisitCopyRead& copy) {
    return QStringLiteral("copia no válida entre las visitas guardadas: %1 (%2); no se toma por "
                          "una visita ni se restaura")
        .arg(QFileInfo(copy.path).fileName(), copy.notValid);
}

} // namespace

QList<RegisterProblem> MissingVisitNotices(const QString& registerPath, QByteArrayView bytes) {
    // Read in place: the register may be large.
    QByteArray held = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&held);
    buffer.open(QIODevice::ReadOnly);
    const Copies copies = examine(registerPath, buffer);
    QList<RegisterProblem> notices;
    for (const Missing& missing : copies.missing)
        notices.append(
            {registerPath, 0, describe(missing.copy, missing.visit), NoticeKind::MissingVisit});
    for (const VisitCopyRead& copy : copies.notValid)
        notices.append({registerPath, 0, describeNotValid(copy), NoticeKind::InvalidCopy});
    return notices;
}

bool IsMissingVisit(const RegisterProblem& notice) {
    return notice.kind == NoticeKind::MissingVisit;
}

int RestoreMissingVisits(const QString& folder, bool subfolders, QStringList& failures) {
    int restored = 0;
    for (const QString& path : FindRegisters(folder, subfolders)) {
        if (VisitCopiesOf(path).isEmpty())
            continue;
        QByteArray bytes;
        QString failure;
        if (!readRegisterBytes(path, 5000, bytes, failure)) {
            failures.append(QStringLiteral("%1: %2").arg(path, failure));
            continue;
        }
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        for (const Missing& missing : examine(path, buffer).missing) {
            try {
                restored += AppendToRegisterIfMissing(path, missing.visit, missing.times) ? 1 : 0;
            } catch (const ToolkitError& e) {
                failures.append(e.message());
            }
        }
    }
    return restored;
}
