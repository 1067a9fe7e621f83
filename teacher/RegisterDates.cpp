#include "teacher/RegisterDates.h"

#include "lesson/RegisterName.h"
#include "platform/core/Clock.h"

#include <QHash>

#include <algorithm>
#include <array>

namespace {

// In the order a Spanish reader takes them when nothing else decides.
constexpr std::array<DateOrder, 3> kOrders = {DateOrder::DayMonth, DateOrder::MonthDay,
                                              DateOrder::YearFirst};

// A visit that runs past midnight, or that waits in its journal for the next start, is saved
// into the register of a later day: a visit line's day is its register's or a few days before.
constexpr int kMostDaysOpen = 3;

// A short date as written: three numbers and the text around and between them ("2026. 12. 07."
// has a suffix).
struct DateShape {
    bool ok = false;
    std::array<QString, 4> literals; // before, between, between, after
    std::array<QString, 3> numbers;
};

DateShape shapeOf(QStringView text) {
    DateShape shape;
    text = text.trimmed();
    int numbers = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype j = i;
        const bool digit = text[i].isDigit();
        while (j < text.size() && text[j].isDigit() == digit)
            ++j;
        if (digit) {
            if (numbers == 3)
                return shape;
            shape.numbers[numbers++] = text.sliced(i, j - i).toString();
        } else {
            shape.literals[numbers] = text.sliced(i, j - i).toString();
        }
        i = j;
    }
    shape.ok = numbers == 3;
    return shape;
}

// Where the day, the month and the year stand in each order.
struct Places {
    int day, month, year;
};

Places placesOf(DateOrder order) {
    switch (order) {
    case DateOrder::DayMonth:
        return {0, 1, 2};
    case DateOrder::MonthDay:
        return {1, 0, 2};
    case DateOrder::YearFirst:
        break;
    }
    return {2, 1, 0};
}

int fullYear(int twoDigits, int referenceYear) {
    int year = referenceYear / 100 * 100 + twoDigits;
    if (year > referenceYear + 1)
        year -= 100;
    return year;
}

QDate readShape(const DateShape& shape, DateOrder order, int referenceYear) {
    if (!shape.ok)
        return {};
    const Places p = placesOf(order);
    const QString& dayText = shape.numbers[p.day];
    const QString& monthText = shape.numbers[p.month];
    const QString& yearText = shape.numbers[p.year];
    if (dayText.size() > 2 || monthText.size() > 2 ||
        (yearText.size() != 2 && yearText.size() != 4))
        return {};
    const int year =
        yearText.size() == 2 ? fullYear(yearText.toInt(), referenceYear) : yearText.toInt();
    return QDate(year, monthText.toInt(), dayText.toInt());
}

// The ways a field of this shape may be written for another number: "07" pads, "7" does not,
// "12" may do either.
QStringList fieldTexts(const QString& written, int value, int width) {
    if (width == 4)
        return {QStringLiteral("%1").arg(value, 4, 10, QLatin1Char('0'))};
    const QString padded = QStringLiteral("%1").arg(value % 100, 2, 10, QLatin1Char('0'));
    if (written.size() == 1)
        return {QString::number(value)};
    if (written.startsWith(u'0') || value >= 10)
        return {padded};
    return {padded, QString::number(value)};
}

// The short dates that a computer writing dates of this shape in this order wrote on day.
QStringList writtenAs(const DateShape& shape, DateOrder order, const QDate& day) {
    const Places p = placesOf(order);
    std::array<QStringList, 3> fields;
    fields[p.day] = fieldTexts(shape.numbers[p.day], day.day(), 2);
    fields[p.month] = fieldTexts(shape.numbers[p.month], day.month(), 2);
    fields[p.year] = fieldTexts(shape.numbers[p.year],
                                shape.numbers[p.year].size() == 4 ? day.year() : day.year() % 100,
                                shape.numbers[p.year].size() == 4 ? 4 : 2);
    QStringList texts;
    for (const QString& a : fields[0])
        for (const QString& b : fields[1])
            for (const QString& c : fields[2])
                texts.append(shape.literals[0] + a + shape.literals[1] + b + shape.literals[2] + c +
                             shape.literals[3]);
    return texts;
}

// One order tried on the whole register.
struct Reading {
    DateOrder order;
    QList<QDate> visitDates;
    QDate nameDate;
    QString lesson; // from the name, when it matched
    bool fitsModified = false;
};

} // namespace

QString GuessRegisterLesson(const QString& stem, QDate& date) {
    qsizetype digits = 0;
    while (digits < stem.size() && stem[stem.size() - 1 - digits].isDigit())
        ++digits;
    date = QDate();
    for (const qsizetype size : {8, 6}) {
        if (digits < size)
            continue;
        const QStringView tail = QStringView(stem).last(size);
        const int year = tail.sliced(4).toInt();
        date = QDate(size == 6 ? 2000 + year : year, tail.sliced(2, 2).toInt(),
                     tail.sliced(0, 2).toInt());
        if (date.isValid())
            return stem.chopped(size);
    }
    date = QDate();
    qsizetype end = stem.size() - digits;
    while (digits > 0 && end >= 2 && (stem[end - 1] == u'-' || stem[end - 1] == u'.') &&
           stem[end - 2].isDigit()) {
        end -= 1;
        while (end > 0 && stem[end - 1].isDigit())
            --end;
    }
    return stem.left(end);
}

QDate ReadDate(QStringView text, DateOrder order, int referenceYear) {
    return readShape(shapeOf(text), order, referenceYear);
}

QString OrderName(DateOrder order) {
    switch (order) {
    case DateOrder::DayMonth:
        return QStringLiteral("día/mes/año");
    case DateOrder::MonthDay:
        return QStringLiteral("mes/día/año");
    case DateOrder::YearFirst:
        break;
    }
    return QStringLiteral("año/mes/día");
}

QString TeacherDate(const QDate& date) {
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

RegisterDating DateRegister(const QString& fileName, const QList<VisitDateText>& visits,
                            const QDate& modifiedDay) {
    RegisterDating dating;
    const QString stem = RegisterStem(fileName).value_or(fileName);
    const int referenceYear = modifiedDay.isValid() ? modifiedDay.year() : Clock::today().year();
    // The visits of a day mostly write the same date: each different one is read once.
    QList<DateShape> kinds;
    QList<qsizetype> kindOf;
    QHash<QString, qsizetype> kindIndex;
    for (const VisitDateText& visit : visits) {
        auto it = kindIndex.constFind(visit.date);
        if (it == kindIndex.cend()) {
            it = kindIndex.insert(visit.date, kinds.size());
            kinds.append(shapeOf(visit.date));
        }
        kindOf.append(*it);
    }

    // A line that reads in no order at all has no date; it rules no order out.
    QList<bool> readable;
    for (const DateShape& shape : kinds) {
        bool any = false;
        for (const DateOrder order : kOrders)
            any = any || readShape(shape, order, referenceYear).isValid();
        readable.append(any);
    }

    QList<Reading> readings;
    for (const DateOrder order : kOrders) {
        Reading reading{order, {}, {}, {}};
        bool fits = true;
        QDate first, last;
        QList<QDate> kindDates;
        for (qsizetype k = 0; k < kinds.size(); ++k) {
            const QDate date = readShape(kinds[k], order, referenceYear);
            if (readable[k] && !date.isValid())
                fits = false;
            kindDates.append(date);
            if (date.isValid()) {
                first = first.isValid() ? std::min(first, date) : date;
                last = last.isValid() ? std::max(last, date) : date;
            }
        }
        if (!fits)
            continue;
        for (const qsizetype k : kindOf)
            reading.visitDates.append(kindDates[k]);
        // The name's day: the first day, from the last visit's on, whose digits end the stem in
        // one of the ways the visit lines are written.
        for (QDate day = last;
             !reading.nameDate.isValid() && first.isValid() && day <= first.addDays(kMostDaysOpen);
             day = day.addDays(1)) {
            for (qsizetype k = 0; k < kinds.size() && !reading.nameDate.isValid(); ++k) {
                if (!kindDates[k].isValid())
                    continue;
                for (const QString& text : writtenAs(kinds[k], order, day)) {
                    if (const auto lesson = LessonBeforeDigits(stem, DateDigits(text))) {
                        reading.nameDate = day;
                        reading.lesson = *lesson;
                        break;
                    }
                }
            }
        }
        readings.append(reading);
    }

    const bool nameSpeaks = std::any_of(readings.cbegin(), readings.cend(),
                                        [](const Reading& r) { return r.nameDate.isValid(); });
    // What the name, the lines and the file's last change allow together.
    auto allowed = [&](const Reading& r, bool heedClock) {
        if (nameSpeaks && !r.nameDate.isValid())
            return false;
        if (!heedClock || !modifiedDay.isValid())
            return true;
        // Nothing is written after the file's last change (a day's grace for clocks).
        const QDate latest = modifiedDay.addDays(1);
        if (r.nameDate.isValid() && r.nameDate > latest)
            return false;
        return std::none_of(r.visitDates.cbegin(), r.visitDates.cend(),
                            [&](const QDate& d) { return d.isValid() && d > latest; });
    };
    QList<Reading> pool;
    for (const bool heedClock : {true, false}) {
        for (const Reading& r : readings) {
            if (allowed(r, heedClock))
                pool.append(r);
        }
        if (!pool.isEmpty())
            break;
    }
    for (Reading& r : pool) {
        if (!modifiedDay.isValid())
            continue;
        if (r.nameDate.isValid()) {
            r.fitsModified = r.nameDate == modifiedDay;
        } else {
            QDate last;
            for (const QDate& d : r.visitDates)
                last = d.isValid() && (!last.isValid() || d > last) ? d : last;
            r.fitsModified =
                last.isValid() && last <= modifiedDay && last.daysTo(modifiedDay) <= kMostDaysOpen;
        }
    }
    if (std::any_of(pool.cbegin(), pool.cend(), [](const Reading& r) { return r.fitsModified; }))
        pool.removeIf([](const Reading& r) { return !r.fitsModified; });

    QDate guessedDate;
    const QString guessed = GuessRegisterLesson(stem, guessedDate);
    if (pool.isEmpty()) {
        // The lines disagree among themselves: each is read in the first order it allows.
        dating.lesson = guessed;
        dating.fileDate = guessedDate;
        for (const qsizetype k : kindOf) {
            QDate date;
            for (const DateOrder order : kOrders) {
                if (!date.isValid())
                    date = readShape(kinds[k], order, referenceYear);
            }
            dating.visitDates.append(date);
            dating.otherDates.append(QList<QDate>());
        }
        if (std::count(readable.cbegin(), readable.cend(), true) > 0)
            dating.doubt =
                QStringLiteral("fecha dudosa: las fechas de sus visitas no se leen todas en un "
                               "mismo orden; cada una se lee en el primero que admite (%1 antes "
                               "que %2)")
                    .arg(OrderName(DateOrder::DayMonth), OrderName(DateOrder::MonthDay));
        return dating;
    }

    const Reading& chosen = pool.first();
    dating.order = chosen.order;
    dating.visitDates = chosen.visitDates;
    dating.fileDate = chosen.nameDate;
    if (!chosen.lesson.isNull()) {
        dating.lesson = chosen.lesson;
    } else {
        // The name is not one of the dates' digits (renamed, or written on another day): the
        // visit lines name the lesson.
        for (const VisitDateText& visit : visits) {
            if (!visit.lesson.isEmpty() && DigitsAfterLesson(stem, visit.lesson) &&
                visit.lesson.size() > dating.lesson.size())
                dating.lesson = visit.lesson;
        }
        if (dating.lesson.isEmpty())
            dating.lesson = guessed;
        if (!dating.fileDate.isValid() && !nameSpeaks)
            dating.fileDate = guessedDate;
    }

    // The other readings that stay possible, and what they make of the first line that they
    // read otherwise.
    QStringList others;
    qsizetype shown = -1;
    for (qsizetype i = 0; i < visits.size(); ++i) {
        QList<QDate> dates;
        for (const Reading& r : pool) {
            const QDate d = r.visitDates[i];
            if (d.isValid() && d != chosen.visitDates[i] && !dates.contains(d))
                dates.append(d);
        }
        if (!dates.isEmpty() && shown < 0)
            shown = i;
        dating.otherDates.append(dates);
    }
    if (shown < 0)
        return dating;
    for (const Reading& r : pool) {
        const QDate d = r.visitDates[shown];
        if (d.isValid() && d != chosen.visitDates[shown])
            others.append(QStringLiteral("el %1 (%2)").arg(TeacherDate(d), OrderName(r.order)));
    }
    others.removeDuplicates();
    dating.doubt =
        QStringLiteral("fecha dudosa: «%1» se lee como el %2 (%3), pero también puede ser %4; %5")
            .arg(visits[shown].date.trimmed(), TeacherDate(chosen.visitDates[shown]),
                 OrderName(chosen.order), others.join(QStringLiteral(" o ")),
                 modifiedDay.isValid()
                     ? QStringLiteral("la fecha de modificación del archivo (%1) no lo aclara")
                           .arg(TeacherDate(modifiedDay))
                     : QStringLiteral("no se sabe cuándo se modificó el archivo"));
    return dating;
}
