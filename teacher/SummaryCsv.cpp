#include "SummaryCsv.h"

#include "RegisterLines.h"

#include <QDir>
#include <QSaveFile>

namespace {

QString cell(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
        return QString::number(value.toInt());
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'f', 1);
    case QMetaType::QString:
        return TypedRegisterField(value.toString());
    default:
        return {};
    }
}

QString joinedRow(const QVariantList& cells) {
    QStringList texts;
    for (const QVariant& value : cells)
        texts.append(cell(value));
    return texts.join(u',') + QStringLiteral("\r\n");
}

bool writeFile(const QString& path, const QByteArray& bytes, QString& failure) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    failure = QStringLiteral("No se puede escribir %1: %2")
                  .arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
}

} // namespace

QByteArray TableCsv(const SummaryTable& table) {
    QString text;
    QVariantList headers;
    for (const QString& header : table.headers)
        headers.append(header);
    text += joinedRow(headers);
    for (const QVariantList& row : table.rows)
        text += joinedRow(row);
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

bool WriteSummaryCsv(const ClassSummary& summary, const QString& folder, QString& failure) {
    if (!QDir().mkpath(folder)) {
        failure =
            QStringLiteral("No se puede crear la carpeta %1").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    const QDir dir(folder);
    return writeFile(dir.filePath(QStringLiteral("cuestiones.csv")),
                     TableCsv(QuestionsTable(summary)), failure) &&
           writeFile(dir.filePath(QStringLiteral("alumnos.csv")), TableCsv(StudentsTable(summary)),
                     failure);
}
