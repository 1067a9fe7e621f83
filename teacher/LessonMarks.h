#pragma once

#include <QList>

// Marks out of ten, kept in tenths so that every figure shown is exact.

// 10 × right / gradable with one decimal, halves rounded up; -1 without gradable questions.
int MarkTenths(int right, int gradable);

// The class's marks: their mean, median and spread (the standard deviation over the class),
// computed from the marks as shown.
struct MarkStats {
    int count = 0;
    double mean = 0;
    double median = 0;
    double spread = 0;
};

// Over the marks given (in tenths); marks under 0 (none) are left out.
MarkStats MarkStatistics(const QList<int>& tenths);
