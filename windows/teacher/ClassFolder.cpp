#include "windows/teacher/ClassFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

QSettings settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Dorvalia"),
                     QStringLiteral("Docente"));
}

const QString kLastFolder = QStringLiteral("resultados/carpeta");
const QString kExportFolder = QStringLiteral("resultados/exportados");

bool isFolder(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace

QString LastClassFolder() {
    return settings().value(kLastFolder).toString();
}

void RememberClassFolder(const QString& folder) {
    settings().setValue(kLastFolder, QFileInfo(folder).absoluteFilePath());
}

QString ExportFolder(const QString& classFolder) {
    // One place for every export; the class's folder comes last, as its students read it too.
    const QString last = settings().value(kExportFolder).toString();
    if (isFolder(last))
        return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (isFolder(documents))
        return documents;
    return classFolder;
}

void RememberExportFolder(const QString& folder) {
    settings().setValue(kExportFolder, QFileInfo(folder).absoluteFilePath());
}
