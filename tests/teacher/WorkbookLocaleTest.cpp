#include "teacher/ClassSummary.h"
#include "teacher/SummaryXlsx.h"
#include "tests/teacher/WorkbookParts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>

namespace {

#ifdef _WIN32
const char* const kSpanish = "Spanish_Spain.1252"; // Windows names its locales so
#else
const char* const kSpanish = "es_ES.UTF-8";
#endif

// On a Spanish desktop the C library writes "33,3": the workbook must hold "33.3" all the same,
// in its cells and in its column widths and margins, or Excel calls it damaged.
TEST(SummaryXlsx, NumbersHaveAFullStopOnASpanishDesktop) {
    QTemporaryDir dir;
    QFile reg(dir.filePath("L071226_reg.csv"));
    ASSERT_TRUE(reg.open(QIODevice::WriteOnly));
    reg.write("Ana,07/12/2026,L\r\nNombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,1er intento\r\n"
              "Ana,1,1,1,Correcta,si\r\nAna,1,2,2,Incorrecta\r\nAna,1,3,1,Incorrecta\r\n");
    reg.close();
    const ClassSummary summary = SummarizeFolder(dir.path(), false);
    ASSERT_NE(std::setlocale(LC_NUMERIC, kSpanish), nullptr)
        << "the locale " << kSpanish << " is not generated: scripts/test generates it";
    QString failure;
    const bool written = WriteSummaryXlsx(summary, dir.filePath("libro.xlsx"), failure);
    std::setlocale(LC_NUMERIC, "C");
    ASSERT_TRUE(written) << failure.toStdString();

    const QMap<QString, QByteArray> parts = WorkbookXmlParts(dir.filePath("libro.xlsx"));
    ASSERT_TRUE(parts.contains("xl/worksheets/sheet1.xml"));
    static const QRegularExpression decimalComma(QStringLiteral("(<v>|=\")-?\\d+,\\d"));
    for (auto it = parts.begin(); it != parts.end(); ++it)
        EXPECT_FALSE(decimalComma.match(QString::fromUtf8(it.value())).hasMatch())
            << it.key().toStdString();
    EXPECT_TRUE(std::any_of(parts.begin(), parts.end(),
                            [](const QByteArray& xml) { return xml.contains("<v>33.3"); }));
}

// Every cell of the workbook as a line "sheet!cell<TAB>value", strings taken from the shared table.
QStringList cellsOf(const QMap<QString, QByteArray>& parts) {
    QStringList shared;
    QXmlStreamReader strings(parts.value("xl/sharedStrings.xml"));
    while (strings.readNextStartElement() || !strings.atEnd())
        if (strings.isStartElement() && strings.name() == u"t")
            shared.append(strings.readElementText());
    QStringList cells;
    for (int sheet = 1; parts.contains(QStringLiteral("xl/worksheets/sheet%1.xml").arg(sheet));
         ++sheet) {
        QXmlStreamReader xml(parts.value(QStringLiteral("xl/worksheets/sheet%1.xml").arg(sheet)));
        QString cell, type;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == u"c") {
                cell = xml.attributes().value("r").toString();
                type = xml.attributes().value("t").toString();
            } else if (xml.name() == u"v" || xml.name() == u"f") {
                const bool formula = xml.name() == u"f";
                const QString value = xml.readElementText();
                cells.append(
                    QStringLiteral("%1!%2\t%3%4")
                        .arg(sheet)
                        .arg(cell, formula ? QStringLiteral("=") : QString(),
                             type == u"s" && !formula ? shared.value(value.toInt()) : value));
            }
        }
    }
    return cells;
}

// The workbook of a committed register, cell by cell, under the Spanish locale: what teachers'
// spreadsheets read from it (sheets, places, numbers, texts, dates) stays as it was written, in
// its order; the cells added since then are listed on their own, and are all there too.
TEST(SummaryXlsx, CellsOfAStoredRegisterStayAsTheyWere) {
    QTemporaryDir dir;
    const QString stored = QStringLiteral(DORVALIA_SOURCE "/tests/data/stored/");
    ASSERT_TRUE(QFile::copy(stored + "El_volcan07122026_reg.csv",
                            dir.filePath("El_volcan07122026_reg.csv")));
    ASSERT_TRUE(
        QFile::copy(stored + "../published/El_volcan_CRJ.TXT", dir.filePath("El_volcan_CRJ.TXT")));
    // The day the register was written, which settles how its dates read.
    QFile reg(dir.filePath("El_volcan07122026_reg.csv"));
    ASSERT_TRUE(reg.open(QIODevice::ReadWrite));
    ASSERT_TRUE(reg.setFileTime(QDateTime(QDate(2026, 12, 7), QTime(18, 0)),
                                QFileDevice::FileModificationTime));
    reg.close();
    const ClassSummary summary = SummarizeFolder(dir.path(), false);
    ASSERT_NE(std::setlocale(LC_NUMERIC, kSpanish), nullptr);
    QString failure;
    const bool written = WriteSummaryXlsx(summary, dir.filePath("libro.xlsx"), failure);
    std::setlocale(LC_NUMERIC, "C");
    ASSERT_TRUE(written) << failure.toStdString();

    QFile expected(stored + "El_volcan07122026_reg.xlsx.celdas");
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
    QStringList inBook = cellsOf(WorkbookXmlParts(dir.filePath("libro.xlsx")));
    inBook.replaceInStrings(QDir::toNativeSeparators(dir.path()), QStringLiteral("CARPETA"));
    QFile added(stored + "../El_volcan07122026_reg.xlsx.celdas-nuevas");
    ASSERT_TRUE(added.open(QIODevice::ReadOnly));
    for (const QString& cell : QString::fromUtf8(added.readAll()).split(u'\n', Qt::SkipEmptyParts))
        EXPECT_TRUE(inBook.removeOne(cell)) << cell.toStdString();
    const QString cells = inBook.join(u'\n') + u'\n';
    EXPECT_EQ(cells.toStdString(), expected.readAll().toStdString());
}

} // namespace
