// What the reader shows and what it leaves out: destinations, fields, lists, tables and breaks.

#include "platform/rtf/RtfReader.h"
#include "tests/rtf/RtfTestSupport.h"

#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>

#include <gtest/gtest.h>

namespace {

QByteArray doc(const QByteArray& body) {
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}"
           "{\\colortbl;\\red255\\green0\\blue0;}" +
           body + "}";
}

TEST(RtfStructure, TablesAndHiddenDestinationsAreNotShown) {
    const QByteArray body = "{\\stylesheet{\\s0 Normal;}{\\s1\\sbasedon0 heading 1;}}"
                            "{\\info{\\title Secret title}{\\author Someone}}"
                            "{\\header Header text\\par}{\\footerl Footer text\\par}"
                            "{\\*\\generator Writer 1.0;}{\\*\\unknowndest {nested {deeper}} text}"
                            "{\\*\\bkmkstart b1}Body{\\*\\bkmkend b1} text\\par"
                            "{\\xe index entry}{\\tc toc entry}{\\*\\themedata 0102}end\\par";
    EXPECT_EQ(rtfText(doc(body)), QStringLiteral("Body text\nend"));
}

TEST(RtfStructure, HiddenTextAndFootnotes) {
    EXPECT_EQ(rtfText(doc("a{\\v hidden}b{\\v0 shown}\\par")), QStringLiteral("abshown"));
    // The footnote's text stays out of the reading; its number stays as the reference mark.
    EXPECT_EQ(rtfText(doc("Word{\\super\\chftn}{\\footnote\\pard {\\super\\chftn} Note.}"
                          " and{\\super\\chftn}{\\footnote Other.}\\par")),
              QStringLiteral("Word1 and2"));
}

TEST(RtfStructure, FieldsShowTheirResultOnly) {
    EXPECT_EQ(rtfText(doc("See {\\field{\\*\\fldinst HYPERLINK \"http://x.invalid/\"}"
                          "{\\fldrslt {\\ul\\cf1 the page}}}.\\par")),
              QStringLiteral("See the page."));
    // A field inside a result shows its own result; a field inside an instruction is not run.
    EXPECT_EQ(rtfText(doc("{\\field{\\*\\fldinst HYPERLINK \"#a\"}{\\fldrslt Page "
                          "{\\field{\\*\\fldinst PAGEREF a}{\\fldrslt 42}} here}}\\par")),
              QStringLiteral("Page 42 here"));
    EXPECT_EQ(rtfText(doc("{\\field{\\*\\fldinst INCLUDETEXT {\\field{\\*\\fldinst FILENAME}"
                          "{\\fldrslt secret}} }{\\fldrslt shown}}\\par")),
              QStringLiteral("shown"));
    // A field instruction written without \* is still an instruction.
    EXPECT_EQ(rtfText(doc("{\\field{\\fldinst INCLUDEPICTURE \"x.png\"}{\\fldrslt ok}}\\par")),
              QStringLiteral("ok"));
    // Embedded objects show their result picture or text, never their data.
    EXPECT_EQ(rtfText(doc("{\\object\\objemb{\\*\\objclass Package}{\\*\\objdata 0102ff}"
                          "{\\result result text}}\\par")),
              QStringLiteral("result text"));
}

TEST(RtfStructure, ListsShowOneLabelEach) {
    const QByteArray lists =
        "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc0\\levelstartat3"
        "{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}{\\listlevel\\levelnfc4\\levelstartat1"
        "{\\leveltext\\'03\\'00.\\'01;}{\\levelnumbers\\'01\\'03;}}\\listid7}"
        "{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}\\f1}\\listid8}}"
        "{\\*\\listoverridetable{\\listoverride\\listid7\\ls1}{\\listoverride\\listid8\\ls2}}";
    // Written labels (Word, LibreOffice): the \listtext and the \pn fallback give one label.
    EXPECT_EQ(
        rtfText(doc(lists + "{\\listtext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec}"
                            "\\pard\\ls1 One\\par{\\listtext 2.\\tab}{\\pntext 2.\\tab}Two\\par")),
        QStringLiteral("1.\tOne\n2.\tTwo"));
    // No written labels: they come from the list table, numbered from \levelstartat, with the
    // nested level's template.
    EXPECT_EQ(rtfText(doc(lists + "\\pard\\ls1 A\\par B\\par\\pard\\ls1\\ilvl1 C\\par"
                                  "\\pard\\ls2 D\\par\\pard After\\par")),
              QStringLiteral("3.\tA\n4.\tB\n4.a\tC\n\u2022\tD\nAfter"));
    // Old-style lists: the \pn definition numbers the paragraphs after the written label.
    EXPECT_EQ(rtfText(doc("\\pard{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart1"
                          "{\\pntxta .}}X\\par Y\\par")),
              QStringLiteral("1.\tX\n2.\tY"));
    EXPECT_EQ(rtfText(doc("\\pard{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb \\'b7}}X\\par")),
              QStringLiteral("\u2022\tX"));
}

TEST(RtfStructure, TableCellsReadInOrder) {
    const QByteArray table =
        "Before\\par"
        "\\trowd\\cellx2000\\cellx4000\\pard\\intbl a\\cell b\\cell\\row"
        "\\trowd\\cellx2000\\cellx4000\\pard\\intbl c\\par c2\\cell d\\cell\\row"
        "\\pard After\\par";
    auto d = readDoc(doc(table));
    EXPECT_EQ(d->toPlainText().split(u'\n', Qt::SkipEmptyParts),
              QStringList({"Before", "a", "b", "c", "c2", "d", "After"}));
    QTextTable* t = nullptr;
    for (QTextFrame* frame : d->rootFrame()->childFrames())
        t = t ? t : qobject_cast<QTextTable*>(frame);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->rows(), 2);
    EXPECT_EQ(t->columns(), 2);
    // Rows with more cells than the first widen the table; the table adds no blank line.
    EXPECT_EQ(rtfText(doc("\\trowd\\cellx100\\intbl a\\cell\\row\\intbl b\\cell c\\cell\\row"
                          "\\pard z\\par"))
                  .split(u'\n', Qt::SkipEmptyParts),
              QStringList({"a", "b", "c", "z"}));
    // Nested tables flatten into their outer cell.
    EXPECT_EQ(rtfText(doc("\\trowd\\cellx100\\pard\\intbl\\itap2 x\\nestcell y\\nestcell"
                          "{\\*\\nesttableprops\\trowd\\cellx50\\nestrow}"
                          "{\\nonesttables x y}\\itap1 outer\\cell\\row\\pard"))
                  .split(u'\n', Qt::SkipEmptyParts),
              QStringList({"x\ty\t", "outer"}));
}

TEST(RtfStructure, BreaksAreParagraphBreaks) {
    EXPECT_EQ(rtfText(doc("a\\par b\\line c\\page d\\sect e\\par")),
              QStringLiteral("a\nb\nc\nd\ne"));
    // A page break after a paragraph end adds no empty paragraph.
    EXPECT_EQ(rtfText(doc("a\\par\\page b\\par")), QStringLiteral("a\nb"));
    // "\" followed by a line end is a paragraph end too.
    EXPECT_EQ(rtfText(doc("a\\\nb\\par")), QStringLiteral("a\nb"));
    auto d = readDoc(doc("a\\line b\\par"));
    EXPECT_EQ(d->blockCount(), 1); // a line break, not a new paragraph
}

// What is read goes after what the document holds, whatever it has: paragraphs in several
// formats, a list, a table and a picture.
TEST(RtfStructure, TextGoesAfterWhatTheDocumentHolds) {
    const QByteArray rtf =
        doc("{\\*\\listtable{\\list\\listid7{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}}}"
            "{\\*\\listoverridetable{\\listoverride\\listid7\\ls1}}"
            "\\pard\\qj .Secci\\'f3n 1\\par\\pard\\ls1 uno {\\b dos}{\\i tres}\\line cuatro\\par"
            "\\trowd\\cellx2000\\cellx4000\\pard\\intbl a{\\b b}\\cell c\\cell\\row"
            "\\pard\\intbl {\\pict\\pngblip\\picw80\\pich40 " +
            readDataFile("cuadro.png").toHex() + "}\\cell\\cell\\row\\pard fin {\\cf1 rojo}\\par");
    QTextDocument alone, after;
    readRtf(rtf, alone);
    QTextCursor(&after).insertText(QStringLiteral("antes"));
    readRtf(rtf, after);
    EXPECT_EQ(after.toPlainText(), "antes" + alone.toPlainText());
    EXPECT_TRUE(charFormatOf(after, QStringLiteral("dos")).font().bold());
}

} // namespace
