#include "lesson/IntegerText.h"

#include "platform/core/ToolkitError.h"

#include <climits>

namespace {

int digitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    int v = -1;
    if (u >= u'0' && u <= u'9')
        v = u - u'0';
    else if (base == 16 && u >= u'a' && u <= u'f')
        v = u - u'a' + 10;
    else if (base == 16 && u >= u'A' && u <= u'F')
        v = u - u'A' + 10;
    return v;
}

} // namespace

int TextToInteger(const QString& text) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text.at(i) == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    int base = 10;
    if (i < n && (text.at(i) == u'$' || text.at(i) == u'x' || text.at(i) == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text.at(i) == u'0' && text.at(i + 1) == u'x') {
        base = 16;
        i += 2;
    }
    const qsizetype firstDigit = i;
    qint64 value = 0;
    for (; i < n; ++i) {
        const int d = digitValue(text.at(i), base);
        if (d < 0)
            break;
        value = value * base + d;
        // Out of the integer range is as invalid as a letter would be.
        if (value > qint64(1) << 32)
            throw ToolkitError::notAValidInteger(text);
    }
    if (i == firstDigit || i != n)
        throw ToolkitError::notAValidInteger(text);
    const qint64 result = negative ? -value : value;
    if (result < INT_MIN || result > INT_MAX)
        throw ToolkitError::notAValidInteger(text);
    return static_cast<int>(result);
}
