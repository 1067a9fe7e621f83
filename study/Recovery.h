#pragma once

#include "lesson/Prompter.h"

#include <QString>

// The application's error box, as the offer of unfinished visits needs it: a register that cannot
// take a recovered visit is reported and the offer goes on with the next one.
class ErrorBox {
public:
    virtual ~ErrorBox() = default;
    virtual void showError(const QString& message) = 0;
};

// Name of the folder, beside the journals, where the visits a student chose not to save are kept
// for the teacher; they are never offered again.
inline constexpr char kDiscardedFolder[] = "descartadas";

// Offers back, oldest first, every journal of a visit that never closed and whose program is no
// longer running: "Visita sin terminar", naming the student, the lesson, the day and the number of
// answers. Yes appends its lines to the register of the day the visit started and removes the
// journal (on failure the error is shown and the journal stays for the next start); No moves it
// to the "descartadas" folder.
void OfferUnfinishedVisits(Prompter& prompter, ErrorBox& errors);
