#pragma once

#include <QString>

// A generated folder of registers as a class leaves them: lessons × days registers named
// "LeccionNNddmmyyyy_reg.csv" from 1 January 2025, each of four visits of 25 answers by one of
// 30 students (some names holding a comma, quoted). Made once per process and set of figures
// into a temporary folder; its files are then in the system's cache, as after a first look.
const QString& GeneratedRegisterFolder(int lessons, int daysPerLesson);

// The process's peak resident memory so far, in megabytes.
double PeakMegabytes();
