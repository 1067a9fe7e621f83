#include "ToolkitError.h"

ToolkitError::ToolkitError(QString message)
    : message_(std::move(message)), utf8_(message_.toStdString()) {}

ToolkitError ToolkitError::cannotOpenFile(const QString& path) {
    return ToolkitError(QStringLiteral("Cannot open file %1").arg(path));
}

ToolkitError ToolkitError::cannotCreateFile(const QString& path) {
    return ToolkitError(QStringLiteral("Cannot create file %1").arg(path));
}

ToolkitError ToolkitError::listIndexOutOfBounds(qsizetype index) {
    return ToolkitError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

ToolkitError ToolkitError::notAValidInteger(const QString& text) {
    return ToolkitError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

ToolkitError ToolkitError::failedToLoadStream() {
    return ToolkitError(QStringLiteral("Failed to Load Stream"));
}

ToolkitError ToolkitError::inputOutput(int code) {
    switch (code) {
    case 2:
        return ToolkitError(QStringLiteral("File not found"));
    case 3:
        return ToolkitError(QStringLiteral("Invalid filename"));
    case 4:
        return ToolkitError(QStringLiteral("Too many open files"));
    case 5:
        return ToolkitError(QStringLiteral("File access denied"));
    case 100:
        return ToolkitError(QStringLiteral("Read beyond end of file"));
    case 101:
        return ToolkitError(QStringLiteral("Disk full"));
    case 106:
        return ToolkitError(QStringLiteral("Invalid numeric input"));
    default:
        return ToolkitError(QStringLiteral("I/O error %1").arg(code));
    }
}
