// A large file is read on a second thread while the calling thread builds the document: the
// document must be the one that a single thread builds, whatever the file holds or lacks.

#include "RtfReader.h"
#include "RtfTestSupport.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextTable>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

QString describe(const QTextFormat& format) {
    QString text = QString::number(format.type());
    const auto properties = format.properties();
    for (auto it = properties.begin(); it != properties.end(); ++it)
        QDebug(&text).nospace() << ' ' << it.key() << '=' << it.value();
    return text;
}

// Every paragraph and fragment with its formats, the table cell it is in, and the pictures.
QStringList describe(const QTextDocument& doc) {
    QStringList lines;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QString cell;
        if (const QTextTable* table = QTextCursor(block).currentTable()) {
            const QTextTableCell at = table->cellAt(block.position());
            cell = QStringLiteral("cell %1,%2 ").arg(at.row()).arg(at.column());
        }
        lines << cell + describe(block.blockFormat()) + " | " + describe(block.charFormat());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            lines << "  " + fragment.text() + " | " + describe(fragment.charFormat());
            if (fragment.charFormat().isImageFormat()) {
                const QString name = fragment.charFormat().toImageFormat().name();
                lines << "  " + QDebug::toString(doc.resource(QTextDocument::ImageResource, name));
            }
        }
    }
    return lines;
}

QByteArray mixedLesson() {
    const QByteArray png = readDataFile("cuadro.png").toHex();
    QByteArray rtf =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Symbol;}}{\\colortbl;\\red200\\green0"
        "\\blue0;}{\\*\\listtable{\\list\\listid7{\\listlevel\\levelnfc0{\\leveltext"
        "\\'02\\'00.;}}}}{\\*\\listoverridetable{\\listoverride\\listid7\\ls1}}\n";
    for (int i = 0; i < 400; ++i) {
        rtf += "\\pard\\s1\\qj .Secci\\'f3n " + QByteArray::number(i) +
               "\\par\\pard\\ls1 uno {\\b dos}"
               "{\\i tres}\\line cuatro\\tab {\\cf1 \\u1513?\\u1500?} e\\u769? {\\f1 \\'b7}\\par\n";
        if (i % 50 == 7)
            rtf += "\\trowd\\cellx2000\\cellx4000\\pard\\intbl a{\\b b}\\cell c\\cell\\row"
                   "\\pard\\intbl {\\pict\\pngblip\\picw80\\pich40 " +
                   png + "}\\cell\\cell\\row\n";
    }
    return rtf + "}";
}

TEST(RtfThreads, BuildTheDocumentThatOneThreadBuilds) {
    const QByteArray files[] = {readDataFile("leccion_formato.rtf"), mixedLesson()};
    for (const QByteArray& full : files) {
        ASSERT_FALSE(full.isEmpty());
        // Whole, and cut short anywhere: inside a table, a picture, a group, a word.
        for (const qsizetype length : {full.size(), full.size() * 3 / 4, full.size() / 2 + 17,
                                       full.size() / 3 + 5, full.size() / 5}) {
            QTextDocument one, two;
            readRtf(full.left(length), one, RtfThreads::One);
            readRtf(full.left(length), two, RtfThreads::Two);
            EXPECT_EQ(describe(one), describe(two)) << "read up to byte " << length;
        }
    }
}

} // namespace
