#include "lesson/Sections.h"

#include "lesson/LessonFiles.h"
#include "lesson/Marks.h"
#include "lesson/TextMarkers.h"

int NumSecciones = 0;
NumberSet SeccionesPendientes;

int ContarSecciones(const TextViewer& viewer, Prompter& prompter) {
    // The number of sections is the number of the last marker line, not a count of markers.
    QString line;
    const int last =
        LastMarkerLine(viewer.lineCount(), [&](int i) { return line = viewer.line(i); });
    if (last >= 0)
        return MarkerNumber(line);
    prompter.showMessage(QStringLiteral("No se encuentra ninguna ") + kSectionHeaderText +
                         QStringLiteral("en el archivo ") + LessonTextName(NombreLeccion));
    return 0;
}

void LlenarListaDeSecciones(SectionList& list) {
    list.clear();
    SeccionesPendientes.clear();
    for (int i = 1; i <= NumSecciones; ++i) {
        list.add(QStringLiteral("Sección ") + QString::number(i));
        SeccionesPendientes.add(i);
    }
}

int ShowSection(TextViewer& viewer, int n) {
    const int found = viewer.find(SectionHeader(n), 0, viewer.textLength());
    if (found < 0)
        return -1;
    // Scrolling the caret into view moves only as far as needed: jumping to the end first makes
    // the second scroll stop with the marker at the top of the view rather than at its bottom.
    viewer.setSelection(viewer.textLength(), 1);
    viewer.focus();
    viewer.scrollCaretIntoView();
    viewer.setSelection(found, 10);
    viewer.focus();
    viewer.scrollCaretIntoView();
    return found;
}
