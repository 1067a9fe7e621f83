#pragma once

class QTextDocument;

// The teacher's guide is Markdown (docs/guia-docente.md); Qt reads it into a QTextDocument. Its
// table of contents links to its headings by the names a Markdown reader gives them ("#1-qué-
// hace-dorvalia"); Qt's reader gives headings no names, so they are added here.
void NameGuideHeadings(QTextDocument& document);
