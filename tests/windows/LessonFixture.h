#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class QDialog;

// Lesson files written by the tests: an RTF reading with ".Sección N" markers, each section long
// enough for the viewer to scroll, and an answer key in Windows-1252.
namespace Fixture {

// A reading with the given marker lines, each followed by some paragraphs of text.
QByteArray lessonText(const QStringList& markers);

// Lines joined with CR LF, in Windows-1252.
QByteArray keyText(const QStringList& lines);

void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// Runs steps inside the modal loop of the dialog's next exec(); if the steps stop half-way (a
// failed check), the dialog is put away so that the test does not hang.
void whenModal(QDialog* dialog, std::function<void()> steps);

} // namespace Fixture
