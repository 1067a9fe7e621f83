#include "teacher/SummaryCsv.h"

#include "platform/core/AtomicFile.h"
#include "study/RegisterLines.h"
#include "teacher/AnswersTable.h"
#include "teacher/CourseSummary.h"
#include "teacher/DecimalCell.h"

#include <QDir>

namespace {

QString cell(const QVariant& value, CsvStyle style) {
    const bool excel = style == CsvStyle::SpanishExcel;
    if (IsDecimal(value))
        return DecimalText(value.value<Decimal>(), excel ? u',' : u'.');
    switch (value.typeId()) {
    case QMetaType::Int:
        return QString::number(value.toInt());
    case QMetaType::Double: {
        QString number = QString::number(value.toDouble(), 'f', 1);
        return excel ? number.replace(u'.', u',') : number;
    }
    case QMetaType::QDate:
        // A Spanish Excel reads its own day/month/year; any other spreadsheet, year first.
        return value.toDate().toString(excel ? QStringLiteral("dd/MM/yyyy")
                                             : QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QString: {
        // A field that the register's rule left unquoted holds no double quote.
        const QString text = TypedRegisterField(value.toString());
        if (excel && !text.startsWith(u'"') && text.contains(u';'))
            return u'"' + text + u'"';
        return text;
    }
    default:
        return {};
    }
}

QString joinedRow(const QVariantList& cells, CsvStyle style) {
    QStringList texts;
    for (const QVariant& value : cells)
        texts.append(cell(value, style));
    return texts.join(style == CsvStyle::SpanishExcel ? u';' : u',') + QStringLiteral("\r\n");
}

} // namespace

QByteArray TableCsv(const SummaryTable& table, CsvStyle style) {
    QString text;
    QVariantList headers;
    for (const QString& header : table.headers)
        headers.append(header);
    text += joinedRow(headers, style);
    for (const QVariantList& row : table.rows)
        text += joinedRow(row, style);
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

bool WriteSummaryCsv(const ClassSummary& summary, const QString& folder, QString& failure,
                     CsvStyle style) {
    if (!QDir().mkpath(folder)) {
        failure =
            QStringLiteral("No se puede crear la carpeta %1").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    const QDir dir(folder);
    // The tables are one export: all of them replace the old ones, or none does.
    return WriteFilesAtomically(
        {{dir.filePath(QStringLiteral("cuestiones.csv")), TableCsv(QuestionsTable(summary), style)},
         {dir.filePath(QStringLiteral("alumnos.csv")), TableCsv(StudentsTable(summary), style)},
         {dir.filePath(QStringLiteral("curso.csv")),
          TableCsv(CourseTable(CourseStudents(summary)), style)},
         {dir.filePath(QStringLiteral("respuestas.csv")), TableCsv(AnswersTable(summary), style)},
         {dir.filePath(QStringLiteral("prueba.csv")), TableCsv(TestTable(summary), style)}},
        failure);
}
