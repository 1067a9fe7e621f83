#include "platform/core/ToolkitError.h"

ToolkitError::ToolkitError(QString message) : ToolkitError(message, message) {}

ToolkitError::ToolkitError(QString message, QString spanish)
    : message_(std::move(message)), spanish_(std::move(spanish)), utf8_(message_.toStdString()) {}

QString ToolkitError::spanishSentence() const {
    return spanish_.isEmpty() ? spanish_ : spanish_.left(1).toUpper() + spanish_.mid(1);
}

ToolkitError ToolkitError::cannotOpenFile(const QString& path) {
    return {QStringLiteral("Cannot open file %1").arg(path),
            QStringLiteral("no se puede abrir el archivo %1").arg(path)};
}

ToolkitError ToolkitError::cannotCreateFile(const QString& path) {
    return {QStringLiteral("Cannot create file %1").arg(path),
            QStringLiteral("no se puede crear el archivo %1").arg(path)};
}

ToolkitError ToolkitError::listIndexOutOfBounds(qsizetype index) {
    return {QStringLiteral("List index out of bounds (%1)").arg(index),
            QStringLiteral("índice de lista fuera de los límites (%1)").arg(index)};
}

ToolkitError ToolkitError::notAValidInteger(const QString& text) {
    return {QStringLiteral("'%1' is not a valid integer value").arg(text),
            QStringLiteral("«%1» no es un número entero válido").arg(text)};
}

ToolkitError ToolkitError::failedToLoadStream() {
    return {QStringLiteral("Failed to Load Stream"),
            QStringLiteral("no se ha podido cargar el documento")};
}

ToolkitError ToolkitError::inputOutput(int code) {
    switch (code) {
    case 2:
        return {QStringLiteral("File not found"), QStringLiteral("no se encuentra el archivo")};
    case 3:
        return {QStringLiteral("Invalid filename"),
                QStringLiteral("el nombre del archivo no es válido")};
    case 4:
        return {QStringLiteral("Too many open files"),
                QStringLiteral("hay demasiados archivos abiertos")};
    case 5:
        return {QStringLiteral("File access denied"), QStringLiteral("acceso denegado al archivo")};
    case 100:
        return {QStringLiteral("Read beyond end of file"),
                QStringLiteral("lectura más allá del final del archivo")};
    case 101:
        return {QStringLiteral("Disk full"), QStringLiteral("el disco está lleno")};
    case 106:
        return {QStringLiteral("Invalid numeric input"),
                QStringLiteral("entrada numérica no válida")};
    default:
        return {QStringLiteral("I/O error %1").arg(code),
                QStringLiteral("error de entrada o salida %1").arg(code)};
    }
}
