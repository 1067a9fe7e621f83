#include "platform/Boxes.h"
#include "platform/BoxWatch.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWindow>

#include <deque>
#include <vector>

namespace {

struct Script {
    bool on = false;
    std::deque<Boxes::Answer> answers;
    QList<Boxes::Shown> shown;
    int unanswered = 0;
};

Script& script() {
    static Script s;
    return s;
}

bool spanish = false;

struct Watching {
    QPointer<QObject> owner;
    Boxes::Watcher watcher;
};

std::vector<Watching>& watchers() {
    static std::vector<Watching> w;
    return w;
}

void tell(bool opening) {
    auto& all = watchers();
    std::erase_if(all, [](const Watching& w) { return w.owner.isNull(); });
    // A copy: a watcher may add another.
    const std::vector<Watching> now = all;
    for (const Watching& w : now)
        if (w.owner)
            w.watcher(opening);
}

// Tells the watchers for the life of a box.
struct Opening {
    Opening() { tell(true); }
    ~Opening() { tell(false); }
    Opening(const Opening&) = delete;
    Opening& operator=(const Opening&) = delete;
};

// The verdict's box: its extra button acts and leaves the box open.
class ExtraBox : public QMessageBox {
public:
    ExtraBox(const QString& caption, const QString& text, const Boxes::Extra& extra,
             QWidget* parent)
        : QMessageBox(QMessageBox::Information, caption, text, QMessageBox::Ok, parent),
          action_(extra.action) {
        QPushButton* button = addButton(extra.text, QMessageBox::ActionRole);
        button->setAutoDefault(false);
        setDefaultButton(QMessageBox::Ok);
        setEscapeButton(QMessageBox::Ok);
        // Every button of a message box closes it; this one is taken from its button row's
        // handling and does its own work.
        if (auto* row = findChild<QDialogButtonBox*>())
            disconnect(button, nullptr, row, nullptr);
        connect(button, &QPushButton::clicked, this, [this] { act(); });
        if (extra.key != 0) {
            auto* key = new QShortcut(QKeySequence(extra.key), this);
            connect(key, &QShortcut::activated, this, [this] { act(); });
        }
    }

private:
    void act() {
        if (action_)
            action_();
    }
    std::function<void()> action_;
};

QString okText() {
    return spanish ? QStringLiteral("Aceptar") : QStringLiteral("OK");
}

// A box's standard OK button named in the program's words; the student's program leaves it as
// the toolkit names it.
void nameOk(QMessageBox& box) {
    if (QAbstractButton* ok = box.button(QMessageBox::Ok); ok && spanish)
        ok->setText(okText());
}

// A modal window (the lesson window, say) is the one the student is working in, even before the
// desktop has made it the active one.
QWidget* activeParent() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

// Records a box; for boxes that need an answer, takes the next one from the script.
Boxes::Answer record(Boxes::Kind kind, const QString& caption, const QString& text,
                     bool needsAnswer) {
    Script& s = script();
    const QWidget* over = activeParent();
    if (over && !(over->windowHandle() && over->windowHandle()->isVisible()))
        over = nullptr;
    s.shown.append({kind, caption, text, over});
    if (!needsAnswer)
        return {};
    if (s.answers.empty()) {
        ++s.unanswered;
        return {false, QString()};
    }
    Boxes::Answer a = s.answers.front();
    s.answers.pop_front();
    return a;
}

// The platform's Yes/No boxes have no way out but their two buttons.
class YesNoBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Cancel))
            return;
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

const char* const kAlert = "dorvaliaAlert";

QAccessibleInterface* alertFactory(const QString&, QObject* object) {
    if (object && object->isWidgetType() && object->property(kAlert).toBool())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::AlertMessage);
    return nullptr;
}

void centreOnScreen(QWidget* w) {
    w->adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
    }
}

// A dialog with a label, a one-line edit of at most 255 characters and "OK" / "Cancel" (in the
// teacher's program «Aceptar» / «Cancelar»).
class InputPrompt : public QDialog {
public:
    InputPrompt(const QString& caption, const QString& prompt) : QDialog(activeParent()) {
        setWindowTitle(caption);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(prompt, this));
        edit_ = new QLineEdit(this);
        edit_->setMaxLength(255);
        layout->addWidget(edit_);
        // The prompt's buttons keep their fixed names whatever translation the toolkit loaded.
        auto* buttons = new QDialogButtonBox(this);
        buttons->addButton(okText(), QDialogButtonBox::AcceptRole)->setDefault(true);
        buttons->addButton(spanish ? QStringLiteral("Cancelar") : QStringLiteral("Cancel"),
                           QDialogButtonBox::RejectRole);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        layout->addWidget(buttons);
        setMinimumWidth(320);
        centreOnScreen(this);
    }
    QString text() const { return edit_->text(); }

private:
    QLineEdit* edit_;
};

// "Lecciones|*_lec.rtf" as Qt writes a filter: "Lecciones (*_lec.rtf)".
QString qtFilter(const QString& filter) {
    const qsizetype bar = filter.indexOf(u'|');
    if (bar < 0)
        return filter;
    return filter.left(bar) + QStringLiteral(" (") + filter.mid(bar + 1) + u')';
}

} // namespace

namespace Boxes {

void setSpanishWording(bool on) {
    spanish = on;
}

bool spanishWording() {
    return spanish;
}

QString applicationTitle() {
    QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    if (name.isEmpty())
        name = QCoreApplication::applicationName();
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    if (name.size() > 1)
        name = name.left(1) + name.mid(1).toLower();
    return name;
}

QString withFullStop(const QString& message) {
    if (!message.isEmpty() && message.back() > QChar(u'.'))
        return message + u'.';
    return message;
}

std::unique_ptr<QMessageBox> questionBox(const QString& caption, const QString& text) {
    auto box = std::make_unique<YesNoBox>(QMessageBox::Question, caption, text,
                                          QMessageBox::NoButton, activeParent());
    box->setWindowFlags(box->windowFlags() | Qt::CustomizeWindowHint);
    box->setWindowFlag(Qt::WindowCloseButtonHint, false);
    QPushButton* yes = box->addButton(QStringLiteral("Sí"), QMessageBox::YesRole);
    box->addButton(QStringLiteral("No"), QMessageBox::NoRole);
    box->setDefaultButton(yes);
    return box;
}

namespace {

// An information box presents itself as an alert named by its caption.
void makeAlert(QMessageBox& box, const QString& caption, const QString& text) {
    static const bool installed = [] {
        QAccessible::installFactory(alertFactory);
        return true;
    }();
    Q_UNUSED(installed);
    nameOk(box);
    box.setProperty(kAlert, true);
    box.setAccessibleName(caption);
    box.setAccessibleDescription(text);
}

} // namespace

std::unique_ptr<QMessageBox> informationBox(const QString& caption, const QString& text) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Information, caption, text,
                                             QMessageBox::Ok, activeParent());
    makeAlert(*box, caption, text);
    return box;
}

bool question(const QString& caption, const QString& text) {
    const Opening opening;
    if (scripted())
        return record(Kind::Question, caption, text, true).accept;
    const std::unique_ptr<QMessageBox> box = questionBox(caption, text);
    box->exec();
    return box->buttonRole(box->clickedButton()) == QMessageBox::YesRole;
}

void information(const QString& caption, const QString& text) {
    const Opening opening;
    if (scripted()) {
        record(Kind::Information, caption, text, false);
        return;
    }
    informationBox(caption, text)->exec();
}

void message(const QString& text) {
    const Opening opening;
    if (scripted()) {
        record(Kind::Message, applicationTitle(), text, false);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::NoButton);
    // Its one button is named "OK" whatever translation the toolkit loaded.
    QPushButton* ok = box.addButton(okText(), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    centreOnScreen(&box);
    box.exec();
}

void error(const QString& message) {
    const Opening opening;
    const QString text = withFullStop(message);
    if (scripted()) {
        record(Kind::Error, applicationTitle(), text, false);
        return;
    }
    QMessageBox box(QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok,
                    activeParent());
    nameOk(box);
    box.exec();
}

void information(const QString& caption, const QString& text, const Extra& extra) {
    if (extra.text.isEmpty()) {
        information(caption, text);
        return;
    }
    const Opening opening;
    if (scripted()) {
        record(Kind::Information, caption, text, false);
        if (extra.whenShown)
            extra.whenShown();
        // The script presses the extra button by naming it in its next answer.
        Script& s = script();
        if (!s.answers.empty() && s.answers.front().accept &&
            s.answers.front().value == extra.text) {
            s.answers.pop_front();
            if (extra.action)
                extra.action();
        }
        return;
    }
    ExtraBox box(caption, text, extra, activeParent());
    makeAlert(box, caption, text);
    if (extra.whenShown)
        QMetaObject::invokeMethod(&box, extra.whenShown, Qt::QueuedConnection);
    box.exec();
}

void watch(QObject* owner, Watcher watcher) {
    watchers().push_back({owner, std::move(watcher)});
}

bool input(const QString& caption, const QString& prompt, QString& value) {
    const Opening opening;
    if (scripted()) {
        const Answer a = record(Kind::Input, caption, prompt, true);
        if (a.accept)
            value = a.value.left(255);
        return a.accept;
    }
    InputPrompt dialog(caption, prompt);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.text();
    return true;
}

std::unique_ptr<QDialog> inputBox(const QString& caption, const QString& prompt) {
    return std::make_unique<InputPrompt>(caption, prompt);
}

bool openFile(const QString& filter, QString& path) {
    const Opening opening;
    QString chosen;
    if (scripted()) {
        const Answer a = record(Kind::OpenFile, QString(), filter, true);
        if (!a.accept)
            return false;
        chosen = a.value;
    } else {
        // The chosen file need not exist: only the names derived from it are opened.
        QFileDialog dialog(activeParent(), QString(), QString(), qtFilter(filter));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!path.isEmpty()) {
            dialog.setDirectory(QFileInfo(path).absolutePath());
            dialog.selectFile(path);
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return false;
        chosen = dialog.selectedFiles().constFirst();
        if (chosen.isEmpty())
            return false;
    }
    path = chosen;
    const QString folder = QFileInfo(chosen).absolutePath();
    if (!chosen.isEmpty() && QFileInfo(folder).isDir())
        QDir::setCurrent(folder);
    return true;
}

// A path from a dialog, or in tests from the script (which records what the dialog showed);
// false, with path unchanged, when none was chosen.
template <typename Dialog>
bool choosePath(Kind kind, const QString& caption, const QString& shown, QString& path,
                Dialog dialog) {
    const Opening opening;
    QString chosen;
    if (scripted()) {
        const Answer a = record(kind, caption, shown, true);
        if (!a.accept)
            return false;
        chosen = a.value;
    } else {
        chosen = dialog();
    }
    if (chosen.isEmpty())
        return false;
    path = chosen;
    return true;
}

bool chooseFolder(const QString& caption, QString& path) {
    return choosePath(Kind::Folder, caption, path, path, [&] {
        return QFileDialog::getExistingDirectory(activeParent(), caption, path);
    });
}

bool saveFile(const QString& caption, const QString& filter, QString& path) {
    return choosePath(Kind::SaveFile, caption, filter, path, [&] {
        return QFileDialog::getSaveFileName(activeParent(), caption, path, qtFilter(filter));
    });
}

int choose(const QString& caption, const QString& text, const QStringList& buttons, int escape) {
    const Opening opening;
    if (scripted()) {
        const Answer a = record(Kind::Choice, caption, text, true);
        const qsizetype chosen = buttons.indexOf(a.value);
        return a.accept && chosen >= 0 ? int(chosen) : escape;
    }
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, activeParent());
    QList<QPushButton*> pushed;
    for (const QString& name : buttons)
        pushed.append(box.addButton(name, QMessageBox::ActionRole));
    box.setDefaultButton(pushed.value(0));
    box.setEscapeButton(pushed.value(escape));
    box.exec();
    const qsizetype chosen = pushed.indexOf(static_cast<QPushButton*>(box.clickedButton()));
    return chosen >= 0 ? int(chosen) : escape;
}

Answer scriptedDialog(Kind kind, const QString& caption, const QString& text) {
    const Opening opening;
    return record(kind, caption, text, true);
}

void startScript() {
    Script& s = script();
    s = Script();
    s.on = true;
}

void stopScript() {
    script() = Script();
}

bool scripted() {
    return script().on;
}

void answer(bool accept, const QString& value) {
    script().answers.push_back({accept, value});
}

const QList<Shown>& shown() {
    return script().shown;
}

int unanswered() {
    return script().unanswered;
}

int unusedAnswers() {
    return static_cast<int>(script().answers.size());
}

} // namespace Boxes
