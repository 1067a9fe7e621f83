#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// Every XML part of a workbook (a zip), by name: what the tests read of the workbooks written.
QMap<QString, QByteArray> WorkbookXmlParts(const QString& path);
