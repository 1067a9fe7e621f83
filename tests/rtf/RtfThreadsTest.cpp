// A large file is read on a second thread while the calling thread builds the document: the
// document must be the one that a single thread builds, whatever the file holds or lacks.

#include "BuildQueue.h"
#include "RtfReader.h"
#include "RtfTestSupport.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextTable>
#include <QUrl>

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

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

// Hundreds of formats, coming back out of order: more than the reading thread keeps track of.
QByteArray manyFormats() {
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < 3000; ++i)
        rtf += "{\\fs" + QByteArray::number(2 + (i * 37) % 601) + (i % 3 ? "\\b " : " ") + "x}y";
    return rtf + "\\par}";
}

TEST(RtfThreads, BuildTheDocumentThatOneThreadBuilds) {
    const QByteArray files[] = {readDataFile("leccion_formato.rtf"), mixedLesson(), manyFormats()};
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

// What is read is added after what the document holds, on one thread or two.
TEST(RtfThreads, TextGoesAfterWhatTheDocumentHolds) {
    const QByteArray rtf = mixedLesson();
    for (const RtfThreads threads : {RtfThreads::One, RtfThreads::Two}) {
        QTextDocument alone, after;
        readRtf(rtf, alone, threads);
        QTextCursor(&after).insertText(QStringLiteral("antes"));
        readRtf(rtf, after, threads);
        EXPECT_EQ(after.toPlainText(), "antes" + alone.toPlainText());
    }
}

// Neither thread waits forever on the other: an error of the reading reaches the document's
// side after the batches before it, and a document's side that gives up frees the reading side
// even while it waits for room.
TEST(RtfThreads, EitherSideStoppingEndsTheOther) {
    BuildQueue failing;
    auto first = std::make_unique<BuildBatch>();
    first->steps.push_back({.kind = BuildBatch::Kind::LeaveTable});
    failing.close(std::move(first), std::make_exception_ptr(std::runtime_error("lectura")));
    EXPECT_NE(failing.take(), nullptr);
    EXPECT_THROW(failing.take(), std::runtime_error);

    BuildQueue abandoned;
    int handed = 0;
    std::thread reader([&] {
        try {
            for (auto batch = std::make_unique<BuildBatch>();; ++handed)
                batch = abandoned.exchange(std::move(batch));
        } catch (const BuildQueue::Stopped&) {
        }
    });
    abandoned.take(); // the reading side is running
    abandoned.stop();
    reader.join();
    EXPECT_GT(handed, 0);
}

} // namespace
