#pragma once

#include "lesson/Prompter.h"
#include "lesson/SectionList.h"
#include "lesson/TextViewer.h"
#include "platform/core/NumberSet.h"

// Number of sections of the open lesson: the number of the last section marker of its text.
extern int NumSecciones;

// Sections not yet completed in this visit.
extern NumberSet SeccionesPendientes;

// Reads the number of the last marker line of the viewer's text. Throws
// ToolkitError("'%s' is not a valid integer value"). A text with no marker line at all has 0
// sections, and the student is told so.
int ContarSecciones(const TextViewer& viewer, Prompter& prompter);

// Fills the list with "Sección 1" ... "Sección NumSecciones" and marks them all pending.
void LlenarListaDeSecciones(SectionList& list);

// Finds ".Sección N" in the text and brings it to the top of the viewer; its position or -1.
int ShowSection(TextViewer& viewer, int n);
