#pragma once

class QWidget;

// Enter and Return press the push button that has the keyboard focus in the window, as Space
// does, also where the buttons are not the window's default button.
void pressFocusedButtonOnEnter(QWidget* window);
