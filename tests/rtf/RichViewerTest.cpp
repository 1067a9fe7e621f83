// The viewer as the lesson uses it: load, display lines at its width (shown or not), text, find,
// selection and the two-step jump that brings a marker to the top.

#include "platform/RichViewer.h"
#include "platform/core/ToolkitError.h"
#include "tests/rtf/RtfTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QGlyphRun>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace {

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

TEST(RichViewer, LoadFailuresKeepWhatWasShown) {
    QTemporaryDir dir;
    RichViewer viewer;
    viewer.load(writeFile(dir, "a.rtf", "{\\rtf1 first\\par}"));
    const QString missing = dir.filePath(QStringLiteral("missing.rtf"));
    try {
        viewer.load(missing);
        FAIL() << "no error";
    } catch (const ToolkitError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Cannot open file ") + missing);
    }
    try {
        viewer.load(dir.path()); // a folder opens, but cannot be read as a stream
        FAIL() << "no error";
    } catch (const ToolkitError& error) {
        EXPECT_TRUE(error.message() == QStringLiteral("Failed to Load Stream") ||
                    error.message() == QStringLiteral("Cannot open file ") + dir.path());
    }
    EXPECT_EQ(viewer.plainText(), QStringLiteral("first"));
}

TEST(RichViewer, FilesThatAreNotRtfShowAsPlainText) {
    QTemporaryDir dir;
    RichViewer viewer;
    viewer.load(writeFile(dir, "u.txt", ".Secci\xC3\xB3n 1\r\nTexto\rM\xC3\xA1s\n"));
    EXPECT_EQ(viewer.plainText(), QStringLiteral(".Secci\u00F3n 1\nTexto\nM\u00E1s"));
    viewer.load(writeFile(dir, "a.txt", QByteArray(".Secci\xF3n 2\nA\0B", 14)));
    EXPECT_EQ(viewer.plainText(), QStringLiteral(".Secci\u00F3n 2\nAB"));
    viewer.load(writeFile(dir, "w.txt",
                          QByteArray("\xFF\xFE"
                                     "a\0\xF1\0",
                                     6)));
    EXPECT_EQ(viewer.plainText(), QStringLiteral("a\u00F1"));
    viewer.load(writeFile(dir, "e.rtf", ""));
    EXPECT_EQ(viewer.textLength(), 0);
    EXPECT_EQ(viewer.lineCount(), 1);
    viewer.showPlainLine(QStringLiteral("No se encuentra el documento"));
    EXPECT_EQ(viewer.plainText(), QStringLiteral("No se encuentra el documento"));
    EXPECT_EQ(viewer.line(0), QStringLiteral("No se encuentra el documento"));
}

TEST(RichViewer, DisplayLinesWrapAtTheViewersWidthEvenUnshown) {
    RichViewer viewer;
    viewer.resize(400, 300);
    viewer.load(dataFile("leccion_larga.rtf"));
    ASSERT_FALSE(viewer.isVisible());
    const int narrow = viewer.lineCount();
    const int paragraphs = int(viewer.plainText().count(u'\n')) + 1;
    EXPECT_GT(narrow, paragraphs); // long paragraphs wrap
    QString joined;
    for (int i = 0; i < narrow; ++i) {
        const QString line = viewer.line(i);
        EXPECT_FALSE(line.contains(u'\n') || line.contains(QChar::LineSeparator)) << i;
        EXPECT_LE(line.size(), 4096);
        joined += line;
    }
    QString text = viewer.plainText();
    EXPECT_EQ(joined, text.remove(u'\n')); // the lines hold all the text, in order
    EXPECT_EQ(viewer.line(narrow), QString());
    EXPECT_EQ(viewer.line(-1), QString());
    EXPECT_EQ(viewer.line(0), QStringLiteral(".Secci\u00F3n 1"));

    viewer.resize(900, 300); // a wider viewer has fewer lines
    EXPECT_LT(viewer.lineCount(), narrow);
    viewer.show();
    QApplication::processEvents();
    const int shown = viewer.lineCount();
    viewer.hide();
    RichViewer unshown;
    unshown.resize(900, 300);
    unshown.load(dataFile("leccion_larga.rtf"));
    EXPECT_EQ(unshown.lineCount(), shown); // the same lines whether shown or not
}

TEST(RichViewer, LinesGiveAtMostTheirFirst4096Characters) {
    QTemporaryDir dir;
    RichViewer viewer;
    viewer.resize(16000000, 100); // wide enough for one unbroken line of 10000 characters
    viewer.load(writeFile(dir, "l.rtf", "{\\rtf1 " + QByteArray(10000, 'x') + "\\line y\\par}"));
    ASSERT_EQ(viewer.lineCount(), 2);
    EXPECT_EQ(viewer.line(0), QString(4096, u'x'));
    EXPECT_EQ(viewer.line(1), QStringLiteral("y"));
}

TEST(RichViewer, FindIgnoresCaseWithinTheRange) {
    QTemporaryDir dir;
    RichViewer viewer;
    viewer.load(writeFile(
        dir, "f.rtf", "{\\rtf1 Intro\\par .Secci\\'f3n 1\\par texto\\par .Secci\\'f3n 10\\par}"));
    const QString text = viewer.plainText();
    const int first = int(text.indexOf(QStringLiteral(".Secci\u00F3n 1")));
    EXPECT_EQ(viewer.find(QStringLiteral(".SECCI\u00D3N 1"), 0, viewer.textLength()), first);
    EXPECT_EQ(viewer.find(QStringLiteral(".sección 10"), 0, viewer.textLength()),
              int(text.indexOf(QStringLiteral(".Secci\u00F3n 10"))));
    EXPECT_EQ(viewer.find(QStringLiteral("ecci"), first + 2, viewer.textLength()),
              int(text.indexOf(QStringLiteral("ecci"), first + 2)));
    // The whole match must lie inside the range.
    EXPECT_EQ(viewer.find(QStringLiteral("texto"), 0, int(text.indexOf(u't')) + 4), -1);
    EXPECT_EQ(viewer.find(QStringLiteral("Intro"), 1, 100), -1);
    EXPECT_EQ(viewer.find(QStringLiteral("nada"), 0, viewer.textLength()), -1);
    EXPECT_EQ(viewer.find(QString(), 0, viewer.textLength()), -1);
    EXPECT_EQ(viewer.find(QStringLiteral("Intro"), 5000, 10), -1);
}

TEST(RichViewer, PositionsAgreeWithTheTextPastTablesAndPictures) {
    RichViewer viewer;
    viewer.load(dataFile("leccion_formato.rtf"));
    for (const QString& what :
         {QStringLiteral(".Secci\u00F3n 3"), QStringLiteral(".Secci\u00F3n 12"),
          QStringLiteral("Fin de la lecci\u00F3n")}) {
        const int at = viewer.find(what, 0, viewer.textLength());
        ASSERT_GE(at, 0);
        viewer.setSelection(at, int(what.size()));
        EXPECT_EQ(viewer.selectionStart(), at);
        EXPECT_EQ(viewer.selectionLength(), what.size());
        EXPECT_EQ(viewer.textCursor().selectedText(), what);
    }
    viewer.setSelection(viewer.textLength(), 1); // past the end: clamped
    EXPECT_EQ(viewer.selectionStart(), viewer.textLength());
    EXPECT_EQ(viewer.selectionLength(), 0);
}

TEST(RichViewer, TwoStepJumpLeavesTheMarkerAtTheTop) {
    RichViewer viewer;
    viewer.resize(420, 240);
    viewer.load(dataFile("leccion_larga.rtf"));
    viewer.show();
    QApplication::processEvents();
    for (int section : {5, 2, 9}) {
        const QString marker = QStringLiteral(".Secci\u00F3n %1").arg(section);
        const int at = viewer.find(marker, 0, viewer.textLength());
        ASSERT_GE(at, 0);
        viewer.setSelection(viewer.textLength(), 1);
        viewer.setFocus();
        viewer.scrollCaretIntoView();
        viewer.setSelection(at, 10);
        viewer.setFocus();
        viewer.scrollCaretIntoView();
        QApplication::processEvents();
        const QRect caret = viewer.cursorRect();
        EXPECT_GE(caret.top(), 0) << section;
        EXPECT_LT(caret.top(), caret.height()) << section; // the marker's line is the top line
        EXPECT_GT(viewer.verticalScrollBar()->value(), 0);
    }
}

// The glyphs of a line and where they stand from the first one (a right-to-left line stands
// at the right).
std::vector<std::pair<quint32, QPointF>> glyphsOf(const QTextLine& line) {
    std::vector<std::pair<quint32, QPointF>> glyphs;
    QPointF origin;
    for (const QGlyphRun& run : line.glyphRuns()) {
        for (qsizetype i = 0; i < run.glyphIndexes().size(); ++i) {
            if (glyphs.empty())
                origin = run.positions()[i];
            glyphs.emplace_back(run.glyphIndexes()[i], run.positions()[i] - origin);
        }
    }
    return glyphs;
}

// Latin text is laid out glyph for character, which is fast; text that needs shaping (joined
// Arabic letters, right to left, combining marks) still gets it, and its lines are counted. A
// plain-text file that needs shaping anywhere is shaped everywhere.
TEST(RichViewer, ShapesOnlyTheTextThatNeedsIt) {
    const QString texts[] = {
        QStringLiteral("Texto: office, fflow, pi\u00F1a"),
        QStringLiteral("\u0627\u0644\u0639\u0631\u0628\u064A\u0629 \u0628\u0639\u0636"),
        QStringLiteral("pin\u0303a q\u0323 x\u0302"),
    };
    QByteArray rtf = "{\\rtf1\\ansi\\uc0{\\fonttbl{\\f0 DejaVu Sans;}}\\f0 ";
    QByteArray plain;
    for (const QString& text : texts) {
        for (QChar c : text)
            rtf += c.unicode() < 0x80 ? QByteArray(1, char(c.unicode()))
                                      : "\\u" + QByteArray::number(c.unicode()) + " ";
        rtf += "\\par ";
        plain += text.toUtf8() + "\n";
    }
    QTemporaryDir dir;
    for (const QString& path :
         {writeFile(dir, "s.rtf", rtf + "}"), writeFile(dir, "s.txt", plain)}) {
        RichViewer viewer;
        viewer.resize(1200, 300);
        viewer.load(path);
        ASSERT_EQ(viewer.lineCount(), 3) << path.toStdString();
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(viewer.line(i), texts[i]) << path.toStdString() << " " << i;
            // The same paragraph laid out glyph for character.
            const QTextBlock block = viewer.document()->findBlockByNumber(i);
            QFont font = block.begin().fragment().charFormat().font().resolve(
                viewer.document()->defaultFont());
            font.setStyleStrategy(QFont::PreferNoShaping);
            QTextLayout simple(texts[i], font);
            simple.beginLayout();
            simple.createLine();
            simple.endLayout();
            const bool shaped = i > 0 || path.endsWith(u".txt");
            EXPECT_EQ(glyphsOf(block.layout()->lineAt(0)) != glyphsOf(simple.lineAt(0)), shaped)
                << path.toStdString() << " " << i;
        }
    }
}

TEST(RichViewer, IsReadOnlyWithAVerticalScrollBarOnly) {
    RichViewer viewer;
    EXPECT_TRUE(viewer.isReadOnly());
    EXPECT_EQ(viewer.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(viewer.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(viewer.lineWrapMode(), QTextEdit::WidgetWidth);
}

} // namespace
