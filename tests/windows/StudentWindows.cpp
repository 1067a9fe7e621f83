#include "tests/windows/StudentWindows.h"

#include "platform/ListBox.h"
#include "platform/RichViewer.h"
#include "platform/UpDown.h"
#include "platform/core/Clock.h"
#include "windows/Unit1.h"
#include "windows/Unit3.h"
#include "windows/Unit5.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTextBlock>
#include <QToolButton>
#include <QWindow>

void click(QWidget* window, const char* name) {
    QTest::mouseClick(in<QAbstractButton>(window, name), Qt::LeftButton);
}

void step(QWidget* window, const char* upDown, const char* arrow) {
    QTest::mouseClick(in<UpDown>(window, upDown)->findChild<QToolButton*>(arrow), Qt::LeftButton);
}

void pickSection(int index) {
    ListBox* list = in<ListBox>(FormLeccion, "ListaDeSecciones");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(index)).center());
}

QString key(int k, Qt::KeyboardModifiers modifiers) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return QString("(no focus)");
    QTest::keyClick(focus, Qt::Key(k), modifiers);
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

QString text(QWidget* window, const char* name) {
    QWidget* w = in<QWidget>(window, name);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
        return memo->toPlainText();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    return QString();
}

bool enabled(QWidget* window, const char* name) {
    return in<QWidget>(window, name)->isEnabled();
}

QString lastBox() {
    if (Boxes::shown().isEmpty())
        return QString();
    const Boxes::Shown& b = Boxes::shown().back();
    return QString::number(int(b.kind)) + u'|' + b.caption + u'|' + b.text;
}

QString box(Boxes::Kind kind, const QString& caption, const QString& text) {
    return QString::number(int(kind)) + u'|' + caption + u'|' + text;
}

void forgetSettings() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "Dorvalia", "Dorvalia").clear();
}

QString topLine(RichViewer* viewer) {
    QTextCursor c = viewer->cursorForPosition(QPoint(4, 4));
    return c.block().text();
}

const QStringList kKey = {
    ".Sección 1",
    ".c¿Qué dice el primer párrafo?",
    ".rQue el volcán duerme.",
    ".bBien: lo dice la primera frase.",
    ".rQue el volcán ruge.",
    ".mNo: relee la primera frase.",
    ".c¿Quién es Lucía?",
    ".rLa abuela.",
    ".mNo: Lucía es la nieta.",
    ".rLa nieta.",
    ".b¡Eso es!",
    ".rUna científica.",
    ".pPiénsalo otra vez.",
    ".c¿Dónde está la isla?",
    ".rEn el mar.",
    ".bSí.",
    ".Sección 2",
    ".cPregunta única de la sección 2",
    ".rRespuesta buena",
    ".BCorrecto, en mayúsculas.",
    ".Sección 3",
    ".cPregunta de la sección 3",
    ".rSí",
    ".bBien",
};

void StudentWindowsTest::writeLesson(const QString& name, const QStringList& markers,
                                     const QStringList& key) {
    Fixture::writeFile(lessonPath(name), Fixture::lessonText(markers));
    Fixture::writeFile(dir_.path() + u'/' + name + "_CRJ.TXT", Fixture::keyText(key));
}

void StudentWindowsTest::initTestCase() {
    home_ = QDir::currentPath();
    Clock::setNow(QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
    Clock::setShortDatePattern(QStringLiteral("dd/MM/yyyy"));
}

void StudentWindowsTest::cleanupTestCase() {
    forgetSettings();
}

void StudentWindowsTest::init() {
    forgetSettings();
    QDir::setCurrent(dir_.path());
    Boxes::startScript();
    FormInicio = new TFormInicio();
    FormLeccion = new TFormLeccion(FormInicio);
    Resultados = new TResultados(FormLeccion);
}

void StudentWindowsTest::cleanup() {
    QCOMPARE(Boxes::unanswered(), 0);
    QCOMPARE(Boxes::unusedAnswers(), 0);
    Boxes::stopScript();
    delete FormInicio;
    FormInicio = nullptr;
    FormLeccion = nullptr;
    Resultados = nullptr;
    QDir::setCurrent(home_);
}

void activate(QWidget* window) {
    // The window's own activation, as the desktop gives it; a widget of a window that shares
    // activation with the active one (a dialog and its parent) already counts as active, so the
    // wait is for the window system's focus to reach this very window.
    window->activateWindow();
    QWindow* handle = window->windowHandle();
    if (!QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == handle; }))
        qWarning("the window %s did not become active", qPrintable(window->objectName()));
}
