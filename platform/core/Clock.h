#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

// Today's date and the system's short date format reach the program only through here, so that
// tests can put a visit on any day, across midnight, or under another locale's short date.
namespace Clock {

QDateTime now();
QDate today();

// The date in the system's short date format: the user's LC_TIME "%x" on POSIX, the user's short
// date setting on Windows.
QString shortDate(const QDate& date);

// For tests: a fixed "now", and a short date written with a Qt date pattern ("dd/MM/yyyy").
void setNow(std::optional<QDateTime> now);
void setShortDatePattern(std::optional<QString> pattern);

} // namespace Clock
