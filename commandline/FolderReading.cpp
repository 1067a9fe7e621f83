#include "commandline/FolderReading.h"

#include "lesson/RegisterName.h"
#include "platform/core/Printable.h"

#include <QDir>
#include <QFileInfo>

QList<VerbOption> FolderVerbOptions() {
    const FolderOptions names;
    return {
        {names.from, QStringLiteral("FECHA"),
         QStringLiteral("Solo las visitas de esa fecha (DD/MM/AAAA) en adelante.")},
        {names.to, QStringLiteral("FECHA"), QStringLiteral("Solo las visitas hasta esa fecha.")},
        {names.subfolders, QString(),
         QStringLiteral("Lee también los registros de las subcarpetas.")},
        {names.joins, QStringLiteral("ARCHIVO"),
         QStringLiteral("Los nombres unidos en un alumno (por omisión, alumnos.ini de la "
                        "carpeta, si existe).")},
    };
}

QString FolderProblem(const QStringList& positional) {
    if (positional.size() != 1)
        return positional.isEmpty() ? QStringLiteral("falta la carpeta de los registros.")
                                    : QStringLiteral("se espera una sola carpeta.");
    if (!QFileInfo(positional.first()).isDir())
        return QStringLiteral("no existe la carpeta %1.")
            .arg(QDir::toNativeSeparators(positional.first()));
    return {};
}

FolderReading ReadFolder(const QCommandLineParser& parser, const FolderOptions& options,
                         const QString& folder, QTextStream& err,
                         const std::function<int(const QString&)>& usageError) {
    FolderReading reading;
    QDate* dates[2] = {&reading.from, &reading.to};
    const QString* dateOptions[2] = {&options.from, &options.to};
    for (int i = 0; i < 2; ++i) {
        if (!parser.isSet(*dateOptions[i]))
            continue;
        const QString text = parser.value(*dateOptions[i]);
        *dates[i] = QDate::fromString(text, QStringLiteral("d/M/yyyy"));
        if (!dates[i]->isValid()) {
            reading.status = usageError(
                QStringLiteral("la fecha «%1» no es válida: escríbala como DD/MM/AAAA.").arg(text));
            return reading;
        }
    }
    if (reading.from.isValid() && reading.to.isValid() && reading.from > reading.to) {
        reading.status = usageError(QStringLiteral("--desde es posterior a --hasta."));
        return reading;
    }
    const QString joinsPath = JoinsFile(folder, parser.value(options.joins));
    if (parser.isSet(options.joins) && !QFileInfo::exists(joinsPath)) {
        reading.status = usageError(QStringLiteral("no existe el archivo de alumnos %1.")
                                        .arg(QDir::toNativeSeparators(joinsPath)));
        return reading;
    }
    QString failure;
    if (!reading.names.load(joinsPath, failure)) {
        reading.status = usageError(failure + u'.');
        return reading;
    }

    reading.summary = SummarizeFolder(folder, parser.isSet(options.subfolders), reading.from,
                                      reading.to, {}, reading.names);
    for (const RegisterProblem& problem : AllWarnings(reading.summary))
        err << EscapeControls(ProblemLine(problem)) << u'\n';
    if (reading.summary.registersRead == 0) {
        const QString where = QDir::toNativeSeparators(folder);
        err << (reading.summary.registersFound == 0
                    ? QStringLiteral("No hay registros (*%2) en %1.\n").arg(where, kRegisterSuffix)
                    : QStringLiteral("No se ha podido leer ningún registro de %1.\n").arg(where));
        reading.status = status(Exit::Findings);
    }
    return reading;
}
