#include "platform/core/Clock.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <ctime>
#endif

namespace {
std::optional<QDateTime> fixedNow;
std::optional<QString> fixedPattern;

QString systemShortDate(const QDate& date) {
#ifdef Q_OS_WIN
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(date.year());
    st.wMonth = static_cast<WORD>(date.month());
    st.wDay = static_cast<WORD>(date.day());
    wchar_t buffer[128];
    const int n = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer,
                                  128, nullptr);
    if (n <= 1)
        return date.toString(QStringLiteral("dd/MM/yyyy"));
    return QString::fromWCharArray(buffer, n - 1);
#else
    std::tm tm{};
    tm.tm_year = date.year() - 1900;
    tm.tm_mon = date.month() - 1;
    tm.tm_mday = date.day();
    tm.tm_wday = date.dayOfWeek() % 7;
    tm.tm_yday = date.dayOfYear() - 1;
    char buffer[128];
    const std::size_t n = std::strftime(buffer, sizeof buffer, "%x", &tm);
    return QString::fromLocal8Bit(buffer, static_cast<qsizetype>(n));
#endif
}
} // namespace

namespace Clock {

QDateTime now() {
    return fixedNow ? *fixedNow : QDateTime::currentDateTime();
}

QDate today() {
    return now().date();
}

QString shortDate(const QDate& date) {
    if (fixedPattern)
        return date.toString(*fixedPattern);
    return systemShortDate(date);
}

void setNow(std::optional<QDateTime> value) {
    fixedNow = std::move(value);
}

void setShortDatePattern(std::optional<QString> pattern) {
    fixedPattern = std::move(pattern);
}

} // namespace Clock
