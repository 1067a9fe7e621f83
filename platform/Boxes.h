#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QDialog;
class QMessageBox;
class QWidget;

// Every box the program shows goes through here: the question, information, simple message and
// error boxes, the input prompt and the open-file dialog. Tests switch on a script: the answers
// to give, in order, and a record of every box shown, so that no test waits on a real dialog.
namespace Boxes {

enum class Kind {
    Question,
    Information,
    Message,
    Error,
    Input,
    OpenFile,
    Folder,
    SaveFile,
    Choice,
    Print
};

struct Answer {
    bool accept = true; // Yes / OK; false for No / Cancel
    QString value;      // typed text or chosen file
};

struct Shown {
    Kind kind;
    QString caption;
    QString text;
    // The window the box shows over, when that window is on screen.
    const QWidget* over = nullptr;
};

// Which program speaks. The student's program keeps the described texts: "OK" and "Cancel", the
// toolkit's messages as described. The teacher's program speaks Spanish throughout: «Aceptar» and
// «Cancelar», the toolkit's messages in Spanish (ToolkitError::spanish()). Set once at start-up.
void setSpanishWording(bool on);
bool spanishWording();

// A question box with "Sí" and "No" ("Sí" the default) and a question icon; true for "Sí".
bool question(const QString& caption, const QString& text);
// An information box: caption, text, OK and the information icon.
void information(const QString& caption, const QString& text);
// The toolkit's simple message box: the text, no icon, one "OK" button that Enter and Esc also
// press, the application's title as caption, centred on the screen.
void message(const QString& text);
// The application's error box: the message with a full stop added when its last character sorts
// after ".", the application's title as caption, OK and the stop icon.
void error(const QString& message);
// The one-line input prompt with "OK" and "Cancel"; the edit takes at most 255 characters. On OK
// value takes the typed text and true is returned; Cancel, Esc or the close box leave it as it was.
bool input(const QString& caption, const QString& prompt, QString& value);
// The open-file dialog with one filter ("Lecciones|*_lec.rtf"); its name box starts with path.
// On a choice path takes the chosen file and the working directory becomes its folder, as the
// desktop's own dialog leaves it; Cancel leaves path as it was.
bool openFile(const QString& filter, QString& path);
// The teacher's program's folder dialog, starting at path; on a choice path takes the folder.
bool chooseFolder(const QString& caption, QString& path);
// The save-file dialog with one filter ("Libro de Excel|*.xlsx"), its name box starting with
// path, asking before replacing a file; on a choice path takes the chosen file.
bool saveFile(const QString& caption, const QString& filter, QString& path);

// A question box with the buttons given, in order, the first one the default; Esc and the close
// box press the one at escape. The index of the button pressed. In a script, an accepted answer's
// value names the button; any other answer presses the one at escape.
int choose(const QString& caption, const QString& text, const QStringList& buttons, int escape);
// For a system dialog shown elsewhere (the print dialog): in a script, records it and gives the
// script's answer instead of showing it; call only when scripted().
Answer scriptedDialog(Kind kind, const QString& caption, const QString& text);

// The question and information boxes themselves, not yet shown. A question box takes its answer
// only from its two buttons (and their keys): Esc and the close box do nothing. An information
// box presents itself to assistive technology as an alert named by its caption.
std::unique_ptr<QMessageBox> questionBox(const QString& caption, const QString& text);
std::unique_ptr<QMessageBox> informationBox(const QString& caption, const QString& text);
// The input prompt, not yet shown.
std::unique_ptr<QDialog> inputBox(const QString& caption, const QString& prompt);

// The program file's name up to its first full stop, first letter unchanged, the rest in small
// letters.
QString applicationTitle();
// The error box's text for a message.
QString withFullStop(const QString& message);

// --- scripting, for tests ---
void startScript();
void stopScript();
bool scripted();
void answer(bool accept, const QString& value = QString());
// Boxes shown since the script started, oldest first.
const QList<Shown>& shown();
// Boxes that asked for an answer the script did not have (they were answered No or Cancel).
int unanswered();
// Answers given to the script and never asked for.
int unusedAnswers();

} // namespace Boxes
