#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

// The whole bytes of a file; throws ToolkitError("No se puede leer …") when it cannot be read.
QByteArray ReadWholeFile(const QString& path);

// Writes each file in full beside its place before any of them takes it, so that a failure
// leaves every old file as it was. Throws ToolkitError("No se puede escribir …: reason").
void WriteFilesTogether(const QList<std::pair<QString, QByteArray>>& files);
