// Documents saved by LibreOffice Writer (their HTML sources are beside them): the reader gives the
// text that LibreOffice itself exports, and the formats that were written.

#include "platform/rtf/DocumentFile.h"
#include "tests/rtf/RtfTestSupport.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextFrame>
#include <QTextTable>

#include <gtest/gtest.h>

namespace {

// Lines without list labels, white space runs, pictures and empty lines: what both exports must
// agree on.
QStringList comparable(QString text) {
    text.remove(QChar(0xFEFF));
    text.remove(QChar(0xFFFC));
    static const QRegularExpression label(QStringLiteral("^\\s*(\u2022|\\d+\\.)\\s+"));
    QStringList lines;
    for (QString line : text.split(u'\n')) {
        line.remove(label);
        line = line.simplified();
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines;
}

TEST(LibreOffice, TextMatchesLibreOfficesOwnExport) {
    for (const char* name : {"leccion_formato", "leccion_larga"}) {
        const auto doc = DocumentFile::load(dataFile(QString::fromLatin1(name) + ".rtf"));
        const QString ours = DocumentFile::plainText(*doc);
        const QString theirs =
            QString::fromUtf8(readDataFile(QString::fromLatin1(name) + ".lo.txt"));
        EXPECT_EQ(comparable(ours), comparable(theirs)) << name;
    }
}

TEST(LibreOffice, EveryMarkerIsAWholeLine) {
    const auto doc = DocumentFile::load(dataFile("leccion_larga.rtf"));
    const QStringList lines = DocumentFile::plainText(*doc).split(u'\n');
    for (int n = 1; n <= 12; ++n)
        EXPECT_TRUE(lines.contains(QStringLiteral(".Secci\u00F3n %1").arg(n))) << n;
}

TEST(LibreOffice, FormatsAsWritten) {
    const auto d = DocumentFile::load(dataFile("leccion_formato.rtf"));
    EXPECT_EQ(charFormatOf(*d, "ciclo").fontWeight(), QFont::Bold);
    EXPECT_TRUE(charFormatOf(*d, "condensa").fontItalic());
    EXPECT_TRUE(charFormatOf(*d, "lluvia").fontUnderline());
    EXPECT_TRUE(charFormatOf(*d, "incorrecto").fontStrikeOut());
    EXPECT_EQ(charFormatOf(*d, "2O").verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(charFormatOf(*d, "2 aparecen").verticalAlignment(),
              QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(charFormatOf(*d, "Texto en rojo").foreground().color(), QColor(0xc0, 0, 0));
    EXPECT_EQ(charFormatOf(*d, "texto resaltado").background().color(), QColor(0xff, 0xff, 0));
    EXPECT_EQ(charFormatOf(*d, "otra fuente").fontFamilies().toStringList(),
              QStringList("DejaVu Serif"));
    EXPECT_EQ(charFormatOf(*d, "letra grande").fontPointSize(), 18.0);
    EXPECT_EQ(blockFormatOf(*d, "El agua en la Tierra").alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    EXPECT_EQ(blockFormatOf(*d, "Alineado").alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(blockFormatOf(*d, "justificado").alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignJustify);
    const QTextBlockFormat indented = blockFormatOf(*d, "sangr");
    EXPECT_EQ(indented.leftMargin(), 96.0); // 1 inch
    EXPECT_EQ(indented.rightMargin(), 48.0);
    EXPECT_NEAR(indented.textIndent(), 28.8, 0.1);
    EXPECT_EQ(indented.topMargin(), 16.0); // 12 pt
    QTextTable* table = nullptr;
    for (QTextFrame* frame : d->rootFrame()->childFrames())
        table = table ? table : qobject_cast<QTextTable*>(frame);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 3);
    EXPECT_EQ(table->columns(), 2);
    int pictures = 0;
    for (QTextBlock block = d->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            pictures += it.fragment().charFormat().isImageFormat();
    }
    EXPECT_EQ(pictures, 2); // the PNG and the JPEG, not their metafile copies
}

} // namespace
