#include "Sections.h"

#include "IntegerText.h"
#include "LessonFiles.h"

int NumSecciones = 0;
NumberSet SeccionesPendientes;

namespace {

const QString kMarkerWord = QStringLiteral(".sección");

// Only A to Z fold, so ".SECCIÓN" with a capital Ó is not a marker here.
QString foldAscii(QString text) {
    for (QChar& c : text) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return text;
}

} // namespace

int ContarSecciones(const TextViewer& viewer, Prompter& prompter) {
    // The number of sections is the number of the last marker line, not a count of markers.
    for (int i = viewer.lineCount() - 1; i >= 0; --i) {
        const QString line = viewer.line(i);
        if (foldAscii(line.left(kMarkerWord.size())) != kMarkerWord)
            continue;
        // Three characters after the word: a blank and up to two digits.
        return TextToInteger(line.mid(kMarkerWord.size(), 3));
    }
    prompter.showMessage(QStringLiteral("No se encuentra ninguna .Sección en el archivo ") +
                         NombreLeccion + QStringLiteral("_lec.rtf"));
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
    const QString marker = QStringLiteral(".Sección ") + QString::number(n);
    const int found = viewer.find(marker, 0, viewer.textLength());
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
