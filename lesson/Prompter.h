#pragma once

#include <QString>

// The boxes through which the rules of a visit speak to the student. The windows show them with
// the platform's boxes; tests answer them with fakes.
class Prompter {
public:
    virtual ~Prompter() = default;

    // A question box with Yes and No (Yes the default) and a question icon; true when the
    // student answers Yes.
    virtual bool askYesNo(const QString& caption, const QString& text) = 0;

    // The toolkit's simple message box: the text, no icon, one OK button.
    virtual void showMessage(const QString& text) = 0;
};
