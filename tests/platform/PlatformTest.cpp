#include "platform/Anchors.h"
#include "platform/Application.h"
#include "platform/BoxWatch.h"
#include "platform/Boxes.h"
#include "platform/ButtonKeys.h"
#include "platform/LightSchemes.h"
#include "platform/ListBox.h"
#include "platform/TextZoom.h"
#include "platform/UpDown.h"
#include "platform/core/ToolkitError.h"

#include <QAccessible>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void init() { Boxes::startScript(); }
    void cleanup() { Boxes::stopScript(); }

    // The ratio of the usual accessibility rules, and every scheme of the reading's light held to
    // it: 4.5:1 for text, 3:1 for the tint and the word against the page and each other.
    void theLightsSchemesKeepTheirContrast() {
        QCOMPARE(qRound(ContrastRatio(Qt::black, Qt::white) * 100), 2100);
        QCOMPARE(qRound(ContrastRatio(QColor(0x777777), Qt::white) * 100), 448);
        QCOMPARE(qRound(ContrastRatio(QColor(0xffd54f), Qt::white) * 100), 141);
        for (const LightScheme& s : LightSchemes()) {
            const double ratios[] = {ContrastRatio(s.text, s.tint),
                                     ContrastRatio(s.wordText, s.word),
                                     ContrastRatio(s.tint, s.page), ContrastRatio(s.word, s.page),
                                     ContrastRatio(s.word, s.tint)};
            qInfo("%s: texto/tinte %.2f, palabra %.2f, tinte/página %.2f, palabra/página %.2f, "
                  "palabra/tinte %.2f",
                  qPrintable(s.name), ratios[0], ratios[1], ratios[2], ratios[3], ratios[4]);
            QVERIFY(ratios[0] >= 4.5 && ratios[1] >= 4.5);
            QVERIFY(ratios[2] >= 3 && ratios[3] >= 3 && ratios[4] >= 3);
        }
    }

    // The verdict's extra button acts and leaves its box open; OK closes it.
    void anExtraButtonKeepsItsBoxOpen() {
        Boxes::stopScript();
        int pressed = 0;
        bool stayedOpen = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            const auto buttons = box->buttons();
            for (QAbstractButton* b : buttons)
                if (b->text() == "Escuchar")
                    b->click();
            stayedOpen = box->isVisible();
            if (stayedOpen)
                box->button(QMessageBox::Ok)->click();
        });
        Boxes::information("Correcta", "Bien", {"Escuchar", Qt::Key_F9, [&] { ++pressed; }, {}});
        QCOMPARE(pressed, 1);
        QVERIFY(stayedOpen);
    }

    void fullStopFollowsTheLastCharacter() {
        QCOMPARE(Boxes::withFullStop("Cannot open file C:\\a\\b_CRJ.TXT"),
                 QString("Cannot open file C:\\a\\b_CRJ.TXT."));
        QCOMPARE(Boxes::withFullStop("'1.' is not a valid integer value"),
                 QString("'1.' is not a valid integer value."));
        QCOMPARE(Boxes::withFullStop("I/O error 998"), QString("I/O error 998."));
        // ")" and "." sort before or at ".": no full stop is added.
        QCOMPARE(Boxes::withFullStop("List index out of bounds (12)"),
                 QString("List index out of bounds (12)"));
        QCOMPARE(Boxes::withFullStop("Disk full."), QString("Disk full."));
        QCOMPARE(Boxes::withFullStop(""), QString(""));
    }

    void titleIsTheProgramNameUpToItsFirstFullStop() {
        // This test program is called platform_test.
        QCOMPARE(Boxes::applicationTitle(), QString("platform_test"));
    }

    void scriptAnswersInOrderAndRecordsEveryBox() {
        Boxes::answer(true);
        Boxes::answer(false);
        Boxes::answer(true, "Ana");
        QVERIFY(Boxes::question("Q1", "¿Sí?"));
        QVERIFY(!Boxes::question("Q2", "¿No?"));
        QString name = "antes";
        QVERIFY(Boxes::input("Nombre", "Escribe tu Nombre: ", name));
        QCOMPARE(name, QString("Ana"));
        Boxes::information("Correcta", "Bien");
        Boxes::message("Hola");
        Boxes::error("Disk full");
        const QList<Boxes::Shown>& shown = Boxes::shown();
        QCOMPARE(shown.size(), 6);
        QCOMPARE(shown[0].kind, Boxes::Kind::Question);
        QCOMPARE(shown[3].caption, QString("Correcta"));
        QCOMPARE(shown[4].caption, QString("platform_test"));
        QCOMPARE(shown[5].text, QString("Disk full."));
        QCOMPARE(Boxes::unanswered(), 0);

        // A box the script has no answer for is refused, counted, and never waits.
        QString kept = "igual";
        QVERIFY(!Boxes::input("Nombre", "?", kept));
        QCOMPARE(kept, QString("igual"));
        QCOMPARE(Boxes::unanswered(), 1);
    }

    void openFileMovesTheWorkingDirectoryAndKeepsTheNameOnCancel() {
        QTemporaryDir dir;
        const QString before = QDir::currentPath();
        QString path = "anterior_lec.rtf";
        Boxes::answer(false);
        QVERIFY(!Boxes::openFile("Lecciones|*_lec.rtf", path));
        QCOMPARE(path, QString("anterior_lec.rtf"));
        QCOMPARE(QDir::currentPath(), before);

        const QString chosen = dir.path() + "/Tema_lec.rtf";
        Boxes::answer(true, chosen);
        QVERIFY(Boxes::openFile("Lecciones|*_lec.rtf", path));
        QCOMPARE(path, chosen);
        QCOMPARE(QDir(QDir::currentPath()).canonicalPath(), QDir(dir.path()).canonicalPath());
        QDir::setCurrent(before);
    }

    void upDownWrapsAndWritesItsEdit() {
        QWidget parent;
        QLineEdit edit("0", &parent);
        UpDown upDown(&parent);
        upDown.setBuddy(&edit);
        QSignalSpy changes(&edit, &QLineEdit::textChanged);

        QCOMPARE(upDown.maximum(), 100); // until the program sets it
        upDown.setMaximum(3);
        upDown.stepUp();
        QCOMPARE(edit.text(), QString("1"));
        upDown.setPosition(3);
        upDown.stepUp(); // past the maximum to 0
        QCOMPARE(edit.text(), QString("0"));
        upDown.stepDown(); // below 0 to the maximum
        QCOMPARE(edit.text(), QString("3"));
        QCOMPARE(changes.count(), 4);

        // The position it already has: the edit is not touched, its handler does not run.
        upDown.setPosition(3);
        QCOMPARE(changes.count(), 4);

        // The position is read back from the edit's number.
        edit.setText("2");
        QCOMPARE(upDown.position(), 2);
        edit.setText("x");
        QVERIFY(!upDown.editHoldsPosition());
        QCOMPARE(upDown.position(), 2);

        upDown.setMaximum(100000);
        QCOMPARE(upDown.maximum(), 32767);
    }

    void upDownStepsWithTheArrowsAndTheKeys() {
        QWidget parent;
        QLineEdit edit("0", &parent);
        UpDown upDown(&parent);
        upDown.setBuddy(&edit);
        upDown.setMaximum(2);
        parent.show();
        QTest::mouseClick(upDown.findChild<QToolButton*>("up"), Qt::LeftButton);
        QCOMPARE(edit.text(), QString("1"));
        QTest::keyClick(&edit, Qt::Key_Up);
        QCOMPARE(edit.text(), QString("2"));
        QTest::keyClick(&edit, Qt::Key_Up);
        QCOMPARE(edit.text(), QString("0"));
        QTest::keyClick(&edit, Qt::Key_Down);
        QCOMPARE(edit.text(), QString("2"));
        QTest::mouseClick(upDown.findChild<QToolButton*>("down"), Qt::LeftButton);
        QCOMPARE(edit.text(), QString("1"));

        upDown.setEnabled(false);
        QTest::keyClick(&edit, Qt::Key_Up);
        QCOMPARE(edit.text(), QString("1"));
    }

    void listBoxRunsItsHandlerOnlyForTheStudent() {
        ListBox list;
        list.addItems({"Sección 1", "Sección 2", "Sección 3"});
        list.show();
        QSignalSpy clicks(&list, &ListBox::clickedByStudent);
        QCOMPARE(list.selectedIndex(), -1);

        list.select(1);
        QCOMPARE(list.selectedIndex(), 1);
        QCOMPARE(clicks.count(), 0);

        const QRect second = list.visualItemRect(list.item(1));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(clicks.count(), 1); // the item already selected still counts
        const QRect third = list.visualItemRect(list.item(2));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, third.center());
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(list.selectedIndex(), 2);

        QTest::keyClick(list.viewport(), Qt::Key_Up);
        QCOMPARE(list.selectedIndex(), 1);
        QCOMPARE(clicks.count(), 3);

        list.select(-1);
        QCOMPARE(list.selectedIndex(), -1);
        QCOMPARE(clicks.count(), 3);

        // With nothing selected, the down arrow picks the first section.
        list.setCurrentRow(1, QItemSelectionModel::NoUpdate);
        QTest::keyClick(list.viewport(), Qt::Key_Down);
        QCOMPARE(list.selectedIndex(), 0);
        QCOMPARE(clicks.count(), 4);
    }

    // Only the left button chooses: a right or a middle click, single or double, on another
    // item or on the chosen one, changes nothing and runs nothing.
    void listBoxChoosesWithTheLeftButtonOnly_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("twice");
        QTest::newRow("right, another item") << Qt::RightButton << 2 << false;
        QTest::newRow("middle, another item") << Qt::MiddleButton << 0 << false;
        QTest::newRow("right, the chosen item") << Qt::RightButton << 1 << false;
        QTest::newRow("middle, the chosen item") << Qt::MiddleButton << 1 << false;
        QTest::newRow("right double click") << Qt::RightButton << 2 << true;
        QTest::newRow("middle double click") << Qt::MiddleButton << 0 << true;
    }
    void listBoxChoosesWithTheLeftButtonOnly() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(int, item);
        QFETCH(bool, twice);
        ListBox list;
        list.addItems({"Sección 1", "Sección 2", "Sección 3"});
        list.show();
        list.select(1);
        QSignalSpy clicks(&list, &ListBox::clickedByStudent);
        const QPoint at = list.visualItemRect(list.item(item)).center();
        if (twice)
            QTest::mouseDClick(list.viewport(), button, {}, at);
        else
            QTest::mouseClick(list.viewport(), button, {}, at);
        QCOMPARE(list.selectedIndex(), 1);
        QCOMPARE(clicks.count(), 0);
        // The left button still chooses after it.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(list.selectedIndex(), item);
        QCOMPARE(clicks.count(), 1);
    }

    // A Sí/No box answers only by its buttons; a verdict box is an alert read with its text.
    void questionBoxesAnswerOnlyByTheirButtons() {
        const std::unique_ptr<QMessageBox> box = Boxes::questionBox("Fin", "¿Seguir?");
        box->show();
        QTest::keyClick(box.get(), Qt::Key_Escape);
        QVERIFY(box->isVisible());
        box->close();
        QVERIFY(box->isVisible());
        QCOMPARE(box->clickedButton(), nullptr);
        QTest::keyClick(box.get(), Qt::Key_Return); // "Sí", the default
        QVERIFY(!box->isVisible());
        QCOMPARE(box->buttonRole(box->clickedButton()), QMessageBox::YesRole);

        const std::unique_ptr<QMessageBox> verdict = Boxes::informationBox("Correcta", "¡Bien!");
        QAccessibleInterface* alert = QAccessible::queryAccessibleInterface(verdict.get());
        QCOMPARE(alert->role(), QAccessible::AlertMessage);
        QCOMPARE(alert->text(QAccessible::Name), QString("Correcta"));
        QCOMPARE(alert->text(QAccessible::Description), QString("¡Bien!"));
    }

    // The student's prompt keeps its described buttons; the teacher's program says them in
    // Spanish, as it says the toolkit's messages.
    void inputPromptSpeaksEachProgramsWords() {
        const struct {
            bool spanish;
            QStringList buttons;
        } cases[] = {{false, {"OK", "Cancel"}}, {true, {"Aceptar", "Cancelar"}}};
        for (const auto& c : cases) {
            Boxes::setSpanishWording(c.spanish);
            const std::unique_ptr<QDialog> box = Boxes::inputBox("Unir en un alumno", "Nombre:");
            QStringList texts;
            for (const QAbstractButton* b : box->findChild<QDialogButtonBox*>()->buttons())
                texts.append(b->text());
            QCOMPARE(texts, c.buttons);
        }
        Boxes::setSpanishWording(false);
    }

    // Enter presses the focused button once per press, a held key once: also when the press
    // comes flagged as a repeat because its window never saw the key go down (on Windows, after
    // the release was lost to a window that closed).
    void enterPressesTheFocusedButtonOncePerPress() {
        QWidget window;
        auto* button = new QPushButton("Aceptar", &window);
        pressFocusedButtonOnEnter(&window);
        window.show();
        button->setFocus();
        QSignalSpy clicks(button, &QPushButton::clicked);
        const struct {
            QEvent::Type type;
            bool repeat;
            int clicks;
        } steps[] = {
            {QEvent::KeyPress, true, 1},   // the first this window sees, though flagged
            {QEvent::KeyRelease, true, 1}, // the key held down: repeats click nothing
            {QEvent::KeyPress, true, 1},   {QEvent::KeyRelease, false, 1}, // let go
            {QEvent::KeyPress, false, 2},  {QEvent::KeyRelease, false, 2},
        };
        for (const auto& step : steps) {
            QKeyEvent key(step.type, Qt::Key_Return, Qt::NoModifier, QString("\r"), step.repeat);
            QApplication::sendEvent(button, &key);
            QCOMPARE(clicks.count(), step.clicks);
        }
    }

    // The keys and the wheel size plain and rich text together, within 50% to 300%, rich text
    // keeping its own proportions.
    void textZoomSizesEveryBoxTogether() {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Dorvalia", "Dorvalia").clear();
        QWidget window;
        auto* plain = new QPlainTextEdit("pregunta", &window);
        auto* rich = new QTextEdit(&window);
        rich->move(0, 120);
        rich->setHtml("<p>normal <span style='font-size:20pt'>grande</span></p>");
        plain->setFont(QFont("DejaVu Sans", 10));
        auto* zoom = new TextZoom(&window, {plain, rich}, "prueba/tamano");
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const auto big = [&] {
            QTextCursor c(rich->document());
            c.setPosition(rich->toPlainText().indexOf("grande") + 1);
            return c.charFormat().fontPointSize();
        };
        QCOMPARE(plain->font().pointSizeF(), 10.0); // nothing touched at 100%
        QCOMPARE(big(), 20.0);
        QTest::keyClick(plain, Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(plain, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(zoom->percent(), 120);
        QCOMPARE(plain->font().pointSizeF(), 12.0);
        QCOMPARE(big(), 24.0);
        QWheelEvent wheel(QPointF(5, 5), rich->viewport()->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(rich->viewport(), &wheel);
        QCOMPARE(zoom->percent(), 110);
        rich->setHtml("<p><span style='font-size:10pt'>otra</span></p>"); // a new text is sized too
        QCOMPARE(QTextCursor(rich->document()).charFormat().fontPointSize(), 11.0);
        zoom->setPercent(1000);
        QCOMPARE(zoom->percent(), 300);
        zoom->setPercent(10);
        QCOMPARE(zoom->percent(), 50);
        QTest::keyClick(plain, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(plain->font().pointSizeF(), 10.0);
    }

    void anchoredChildrenFollowTheirSides() {
        QWidget parent;
        parent.resize(400, 300);
        QWidget grows(&parent), corner(&parent), still(&parent), floats(&parent);
        grows.setGeometry(10, 10, 380, 200);
        corner.setGeometry(300, 250, 80, 30);
        still.setGeometry(10, 250, 80, 30);
        floats.setGeometry(300, 135, 80, 30); // held at the right only: centred at half height
        anchor(&grows, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
        anchor(&corner, Qt::RightEdge | Qt::BottomEdge);
        anchor(&still, Qt::LeftEdge | Qt::TopEdge);
        anchor(&floats, Qt::RightEdge);
        parent.show(); // a hidden widget gets its resize events only when shown
        parent.resize(500, 350);
        QCOMPARE(grows.geometry(), QRect(10, 10, 480, 250));
        QCOMPARE(corner.geometry(), QRect(400, 300, 80, 30));
        QCOMPARE(still.geometry(), QRect(10, 250, 80, 30));
        QCOMPARE(floats.geometry(), QRect(400, 160, 80, 30));
    }

    // The toolkit's own words: the file dialog's, the standard buttons'.
    void theToolkitSpeaksSpanish() {
        QVERIFY(Application::loadSpanishTranslations());
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Open"), QString("Abrir"));
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text().remove(u'&'),
                 QString("Cancelar"));
    }

    void errorsFromAHandlerEndInTheErrorBoxAndTheProgramGoesOn() {
        QPushButton button("falla");
        int clicks = 0;
        connect(&button, &QPushButton::clicked, [&] {
            ++clicks;
            throw ToolkitError::cannotOpenFile("/tmp/no/Tema_CRJ.TXT");
        });
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(Boxes::shown().size(), 2);
        QCOMPARE(Boxes::shown()[0].kind, Boxes::Kind::Error);
        QCOMPARE(Boxes::shown()[0].caption, QString("platform_test"));
        QCOMPARE(Boxes::shown()[0].text, QString("Cannot open file /tmp/no/Tema_CRJ.TXT."));
        // The teacher's program says it in Spanish.
        Boxes::setSpanishWording(true);
        QTest::mouseClick(&button, Qt::LeftButton);
        Boxes::setSpanishWording(false);
        QCOMPARE(Boxes::shown().size(), 3);
        QCOMPARE(Boxes::shown()[2].text,
                 QString("No se puede abrir el archivo /tmp/no/Tema_CRJ.TXT."));
    }
};

int main(int argc, char** argv) {
    Application app(argc, argv);
    PlatformTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PlatformTest.moc"
