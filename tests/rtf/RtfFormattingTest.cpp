// Character and paragraph formatting as teachers use it, and styles.

#include "tests/rtf/RtfTestSupport.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace {

QByteArray doc(const QByteArray& body) {
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fswiss "
           "DejaVu Sans;}}{\\colortbl;\\red255\\green0\\blue0;\\red255\\green255\\blue0;}" +
           body + "}";
}

TEST(RtfFormatting, CharacterFormats) {
    auto d = readDoc(doc("plain {\\b bold} {\\i italic} {\\ul under} {\\strike struck} "
                         "{\\f1 sans} {\\fs36 big} {\\cf1 red} {\\highlight2 marked} "
                         "x{\\super sup} y{\\sub sub} {\\b\\i\\ul0 mixed} {\\caps caps}\\par"));
    EXPECT_NE(charFormatOf(*d, "plain").fontWeight(), QFont::Bold);
    EXPECT_EQ(charFormatOf(*d, "plain").fontPointSize(), 12.0); // RTF's default \fs24
    EXPECT_EQ(charFormatOf(*d, "plain").fontFamilies().toStringList(),
              QStringList("Times New Roman")); // \deff
    EXPECT_EQ(charFormatOf(*d, "bold").fontWeight(), QFont::Bold);
    EXPECT_TRUE(charFormatOf(*d, "italic").fontItalic());
    EXPECT_TRUE(charFormatOf(*d, "under").fontUnderline());
    EXPECT_TRUE(charFormatOf(*d, "struck").fontStrikeOut());
    EXPECT_EQ(charFormatOf(*d, "sans").fontFamilies().toStringList(), QStringList("DejaVu Sans"));
    EXPECT_EQ(charFormatOf(*d, "big").fontPointSize(), 18.0);
    EXPECT_EQ(charFormatOf(*d, "red").foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(charFormatOf(*d, "marked").background().color(), QColor(255, 255, 0));
    EXPECT_EQ(charFormatOf(*d, "sup").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(charFormatOf(*d, "sub").verticalAlignment(), QTextCharFormat::AlignSubScript);
    const QTextCharFormat mixed = charFormatOf(*d, "mixed");
    EXPECT_EQ(mixed.fontWeight(), QFont::Bold);
    EXPECT_TRUE(mixed.fontItalic());
    EXPECT_FALSE(mixed.fontUnderline());
    EXPECT_EQ(charFormatOf(*d, "caps").fontCapitalization(), QFont::AllUppercase);
    // Groups restore what they changed; \plain resets.
    auto e = readDoc(doc("{\\b in}out \\b\\i x\\plain y\\par"));
    EXPECT_NE(charFormatOf(*e, "out").fontWeight(), QFont::Bold);
    EXPECT_FALSE(charFormatOf(*e, "y").fontItalic());
    EXPECT_EQ(charFormatOf(*e, "x").fontWeight(), QFont::Bold); // words inline, without groups
    EXPECT_TRUE(charFormatOf(*e, "x").fontItalic());
}

TEST(RtfFormatting, ParagraphFormats) {
    auto d = readDoc(doc("\\pard\\qc centred\\par\\pard\\qr right\\par\\pard\\qj justified\\par"
                         "\\pard\\li1440\\ri720\\fi-360\\sb240\\sa120 indented\\par"
                         "\\pard\\tx720\\tqr\\tx4320 a\\tab b\\par\\pard left\\par"));
    EXPECT_EQ(blockFormatOf(*d, "centred").alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    EXPECT_EQ(blockFormatOf(*d, "right").alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(blockFormatOf(*d, "justified").alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignJustify);
    EXPECT_EQ(blockFormatOf(*d, "left").alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    const QTextBlockFormat indented = blockFormatOf(*d, "indented");
    EXPECT_EQ(indented.leftMargin(), 96.0); // twips at 96 pixels to the inch
    EXPECT_EQ(indented.rightMargin(), 48.0);
    EXPECT_EQ(indented.textIndent(), -24.0);
    EXPECT_EQ(indented.topMargin(), 16.0);
    EXPECT_EQ(indented.bottomMargin(), 8.0);
    const QList<QTextOption::Tab> tabs = blockFormatOf(*d, "a").tabPositions();
    ASSERT_EQ(tabs.size(), 2);
    EXPECT_EQ(tabs[0].position, 48.0);
    EXPECT_EQ(tabs[0].type, QTextOption::LeftTab);
    EXPECT_EQ(tabs[1].position, 288.0);
    EXPECT_EQ(tabs[1].type, QTextOption::RightTab);
    // Paragraph properties last until \pard.
    auto e = readDoc(doc("\\pard\\qc one\\par two\\par\\pard three\\par"));
    EXPECT_EQ(blockFormatOf(*e, "two").alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(blockFormatOf(*e, "three").alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

// A list item's text begins at the paragraph's left indent, after its label and tab, and tab
// stops are measured from the left margin, not from where an indented line starts.
TEST(RtfFormatting, TabsLandWhereWordProcessorsPutThem) {
    auto d = readDoc(doc("\\pard\\fi-360\\li720{\\pntext\\'b7\\tab}item text that is long "
                         "enough to wrap onto a second line of the paragraph when laid out in "
                         "a narrow column\\par"
                         "\\pard\\li1440\\tx2160 a\\tab b\\par"));
    d->setTextWidth(200);
    d->documentLayout()->documentSize();
    const QTextBlock item = d->begin();
    const QTextLine first = item.layout()->lineAt(0);
    ASSERT_GT(item.layout()->lineCount(), 1);
    const int afterTab = int(item.text().indexOf(u"item"));
    EXPECT_NEAR(first.cursorToX(afterTab), item.layout()->lineAt(1).x(), 0.5);
    EXPECT_NEAR(item.layout()->lineAt(1).x(), 48.0, 0.5);
    const QTextBlock tabbed = item.next();
    const QTextLine line = tabbed.layout()->lineAt(0);
    EXPECT_NEAR(line.cursorToX(int(tabbed.text().indexOf(u'b'))), 144.0, 0.5); // \tx2160
}

TEST(RtfFormatting, StylesApplyWithTheirBases) {
    const QByteArray sheet = "{\\stylesheet{\\s0 Normal;}{\\s1\\sbasedon2\\b Strong;}"
                             "{\\s2\\sbasedon0\\i\\qc Base;}{\\s3\\sbasedon3\\ul Self;}"
                             "{\\s4\\sbasedon5\\b A;}{\\s5\\sbasedon4\\i B;}}";
    auto d = readDoc(doc(sheet + "\\pard\\s1 styled\\par\\pard\\s3 self\\par"
                                 "\\pard\\s4 loop\\par\\pard\\s99 missing\\par"));
    const QTextCharFormat styled = charFormatOf(*d, "styled");
    EXPECT_EQ(styled.fontWeight(), QFont::Bold);
    EXPECT_TRUE(styled.fontItalic());
    EXPECT_EQ(blockFormatOf(*d, "styled").alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_TRUE(charFormatOf(*d, "self").fontUnderline());
    EXPECT_EQ(charFormatOf(*d, "loop").fontWeight(), QFont::Bold);
    EXPECT_TRUE(charFormatOf(*d, "loop").fontItalic());
    EXPECT_EQ(d->toPlainText(), QStringLiteral("styled\nself\nloop\nmissing"));
}

// Every run of a paragraph keeps its own format, whichever format most of them have, and a
// paragraph break takes the format of the character before it. Bold text is shown as *text*,
// italic as /text/, and each paragraph opens with the format of the break before it.
TEST(RtfFormatting, RunsKeepTheirFormatsWhateverMostOfTheParagraphHas) {
    const auto mark = [](const QTextCharFormat& f) {
        return f.fontWeight() == QFont::Bold ? QStringLiteral("*")
               : f.fontItalic()              ? QStringLiteral("/")
                                             : QString();
    };
    const auto runs = [&](const QTextDocument& d) {
        QString out;
        for (QTextBlock block = d.begin(); block.isValid(); block = block.next()) {
            out += u'[' + mark(block.charFormat()) + u']';
            for (auto it = block.begin(); !it.atEnd(); ++it)
                out += mark(it.fragment().charFormat()) + it.fragment().text() +
                       mark(it.fragment().charFormat());
        }
        return out;
    };
    const struct {
        QByteArray rtf;
        QString shown;
    } cases[] = {
        {"{\\b a} b {\\b c}\\par d", "[]*a* b *c*[*]d"},
        {"a {\\i b} c {\\i d}\\par e", "[]a /b/ c /d/[/]e"},
        {"{\\b a}b\\par c", "[]*a*b[]c"},
        // A character that makes a paragraph of its own inside a run.
        {"a {\\b b\\u8233?c} d\\par e", "[]a *b*[*]*c* d[]e"},
        {"\\intbl {\\b a} b {\\b c}\\cell d {\\i e}\\cell\\row\\pard f", "[][]*a* b *c*[]d /e/[]f"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runs(*readDoc(doc(c.rtf))), c.shown) << c.rtf.toStdString();
}

} // namespace
