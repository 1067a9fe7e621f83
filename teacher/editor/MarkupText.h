#pragma once

#include <QString>

// Text that Moodle keeps as HTML or Markdown, as the plain text of a key line: tags and markup
// dropped, character references decoded. Blanks are left as they come; the caller collapses them.

// `&amp;`, `&laquo;`, `&#233;`, `&#xE9;`: the characters they stand for. An unknown name, or a
// reference with no closing ";", stays as written.
QString decodeHtmlEntities(const QString& text);
// Tags dropped: those that start a block or a line (p, br, li, td...) leave a blank, the others
// (b, i, span...) nothing, so that "<b>cálidos</b>?" reads "cálidos?". Comments, scripts and
// styles go whole; entities are decoded last.
QString htmlToPlain(const QString& text);
// Emphasis, code, links, images, headings, list bullets and quotes dropped to their text,
// backslash escapes resolved; HTML inside it as above.
QString markdownToPlain(const QString& text);
