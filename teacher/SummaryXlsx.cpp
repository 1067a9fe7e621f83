#include "teacher/SummaryXlsx.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/RegularFile.h"
#include "teacher/AnswersTable.h"
#include "teacher/CourseSummary.h"
#include "teacher/DecimalCell.h"
#include "teacher/SummaryTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <clocale>
#include <string>

namespace {

// The library writes its numbers with the C library ("%.16g"), which follows the desktop's
// LC_NUMERIC: on a Spanish desktop "33,3", which Excel reports as a damaged file. While a
// workbook is written they follow "C"; the locale comes back after.
class CNumbers {
public:
    CNumbers() {
        if (const char* now = std::setlocale(LC_NUMERIC, nullptr))
            saved_ = now;
        std::setlocale(LC_NUMERIC, "C");
    }
    ~CNumbers() { std::setlocale(LC_NUMERIC, saved_.c_str()); }
    CNumbers(const CNumbers&) = delete;
    CNumbers& operator=(const CNumbers&) = delete;

private:
    std::string saved_ = "C";
};

struct Formats {
    lxw_format* header;
    lxw_format* percent;
    lxw_format* date;
    lxw_format* tenths = nullptr;     // a mark: one decimal
    lxw_format* hundredths = nullptr; // a discrimination: two decimals
};

void writeSheet(lxw_workbook* book, const char* name, const SummaryTable& table,
                const Formats& formats) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, name);
    QList<int> widths;
    for (int c = 0; c < table.headers.size(); ++c) {
        worksheet_write_string(sheet, 0, lxw_col_t(c), table.headers[c].toUtf8().constData(),
                               formats.header);
        widths.append(int(table.headers[c].size()));
    }
    for (int r = 0; r < table.rows.size(); ++r) {
        const QVariantList& row = table.rows[r];
        for (int c = 0; c < row.size(); ++c) {
            const QVariant& value = row[c];
            const lxw_row_t at = lxw_row_t(r + 1);
            if (IsDecimal(value)) {
                const Decimal number = value.value<Decimal>();
                worksheet_write_number(sheet, at, lxw_col_t(c), number.value,
                                       number.decimals > 1 ? formats.hundredths : formats.tenths);
                continue;
            }
            switch (value.typeId()) {
            case QMetaType::Int:
                worksheet_write_number(sheet, at, lxw_col_t(c), value.toInt(), nullptr);
                break;
            case QMetaType::Double:
                worksheet_write_number(sheet, at, lxw_col_t(c), value.toDouble(), formats.percent);
                break;
            case QMetaType::QDate: {
                const QDate day = value.toDate();
                lxw_datetime when{day.year(), day.month(), day.day(), 0, 0, 0};
                worksheet_write_datetime(sheet, at, lxw_col_t(c), &when, formats.date);
                widths[c] = std::max(widths[c], 10);
                break;
            }
            case QMetaType::QString:
                // A text cell is never a formula: no guard is needed here.
                worksheet_write_string(sheet, at, lxw_col_t(c),
                                       value.toString().toUtf8().constData(), nullptr);
                widths[c] = std::max(widths[c], int(value.toString().size()));
                break;
            default:
                break;
            }
        }
    }
    for (int c = 0; c < widths.size(); ++c)
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), std::min(widths[c], 60) + 2,
                             nullptr);
    worksheet_freeze_panes(sheet, 1, 0);
    if (!table.headers.isEmpty())
        worksheet_autofilter(sheet, 0, 0, lxw_row_t(table.rows.size()),
                             lxw_col_t(table.headers.size() - 1));
}

SummaryTable problemsTable(const ClassSummary& summary) {
    SummaryTable table;
    table.headers = {QStringLiteral("Archivo"), QStringLiteral("Línea"), QStringLiteral("Aviso")};
    for (const RegisterProblem& p : AllWarnings(summary))
        table.rows.append(
            {QDir::toNativeSeparators(p.file), p.line ? QVariant(p.line) : QVariant(), p.message});
    return table;
}

} // namespace

bool WriteSummaryXlsx(const ClassSummary& summary, const QString& path, QString& failure) {
    const CNumbers numbers;
    failure =
        QStringLiteral("No se puede escribir el libro %1").arg(QDir::toNativeSeparators(path));
    // The library opens its file by a narrow name: it writes into a temporary folder, and Qt
    // puts the result where the teacher chose, whatever the characters of that path.
    QTemporaryDir work;
    if (!work.isValid())
        return false;
    const QString temporary = work.filePath(QStringLiteral("resumen.xlsx"));
    lxw_workbook* book = workbook_new(QFile::encodeName(temporary).constData());
    if (!book)
        return false;
    lxw_format* header = workbook_add_format(book);
    format_set_bold(header);
    lxw_format* percent = workbook_add_format(book);
    format_set_num_format(percent, "0.0");
    lxw_format* date = workbook_add_format(book);
    format_set_num_format(date, "dd/mm/yyyy");
    Formats formats{header, percent, date};
    formats.tenths = workbook_add_format(book);
    format_set_num_format(formats.tenths, "0.0");
    formats.hundredths = workbook_add_format(book);
    format_set_num_format(formats.hundredths, "0.00");
    writeSheet(book, "Cuestiones", QuestionsTable(summary), formats);
    writeSheet(book, "Alumnos", StudentsTable(summary), formats);
    writeSheet(book, "Curso", CourseTable(CourseStudents(summary)), formats);
    writeSheet(book, "Respuestas", AnswersTable(summary), formats);
    writeSheet(book, "Avisos", problemsTable(summary), formats);
    // Last, so that the sheets teachers' spreadsheets read keep their places.
    writeSheet(book, "Prueba", TestTable(summary), formats);
    if (workbook_close(book) != LXW_NO_ERROR)
        return false;
    QByteArray bytes;
    QString reason;
    // A workbook is a zip file, whole only with its closing record at the end.
    if (!ReadRegularFile(temporary, bytes, reason) ||
        bytes.lastIndexOf("PK\x05\x06") < bytes.size() - 22 - 0xFFFF)
        return false;
    if (!WriteFileAtomically(path, bytes, failure))
        return false;
    failure.clear();
    return true;
}
