#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>

// A table cell that is a plain number with a fixed count of decimals (a mark, a correlation), as
// opposed to the percentages that a double cell holds.
struct Decimal {
    double value = 0;
    int decimals = 1;
};
Q_DECLARE_METATYPE(Decimal)

inline QVariant DecimalCell(double value, int decimals) {
    return QVariant::fromValue(Decimal{value, decimals});
}

inline bool IsDecimal(const QVariant& value) {
    return value.metaType() == QMetaType::fromType<Decimal>();
}

// The number with its decimals and the given decimal point, whatever the system's language;
// never "-0.00".
QString DecimalText(const Decimal& number, QChar point = u'.');
