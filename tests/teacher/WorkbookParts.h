#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// Every file of a zip, by name; a file whose bytes fail the zip's CRC is left out.
QMap<QString, QByteArray> ZipParts(const QString& path);

// Every XML part of a workbook (a zip), by name: what the tests read of the workbooks written.
QMap<QString, QByteArray> WorkbookXmlParts(const QString& path);
