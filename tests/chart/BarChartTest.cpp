#include "platform/chart/BarChart.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QFont font(int points) {
    return QFont(QStringLiteral("DejaVu Sans"), points);
}

// The results window's settings, with a bar per value.
BarChart chart(BarChart::Orientation orientation, const QList<double>& values) {
    BarChart c;
    c.orientation = orientation;
    c.title = {QStringLiteral("Resultados"), font(14), Qt::blue};
    c.foot = {QStringLiteral("Respuestas"), font(12), Qt::blue};
    c.axisTitle = {QStringLiteral("Porcentaje"), font(10), Qt::blue};
    c.labelFont = font(8);
    c.scaleFont = font(7);
    c.markFont = font(9);
    c.markLine = 20;
    const QStringList names = {QStringLiteral("Correctas"), QStringLiteral("Incorrectas"),
                               QStringLiteral("Pendientes")};
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QString label =
            values.size() <= 3 ? names[i] : QStringLiteral("%1.%2").arg(1 + i / 9).arg(1 + i % 9);
        c.bars.append({label, values[i], QColor::fromHsv(int(i * 37 % 360), 200, 200),
                       QString::number(values[i], 'f', 1)});
    }
    return c;
}

QList<double> spread(int count) {
    QList<double> values;
    for (int i = 0; i < count; ++i)
        values.append(i * 37 % 101);
    return values;
}

// Every part that is drawn, with what it is, to name it when two overlap.
QList<std::pair<QString, QRectF>> drawnParts(const BarChartLayout& l) {
    QList<std::pair<QString, QRectF>> parts;
    for (const auto& [name, t] : {std::pair{"title", &l.title}, std::pair{"foot", &l.foot},
                                  std::pair{"axis title", &l.axisTitle}}) {
        if (t->shown)
            parts.append({QString::fromLatin1(name), t->rect});
    }
    for (const PlacedText& t : l.scale) {
        if (t.shown)
            parts.append({QStringLiteral("number ") + t.text, t.rect});
    }
    for (qsizetype i = 0; i < l.bars.size(); ++i) {
        if (!l.bars[i].isEmpty())
            parts.append({QStringLiteral("bar %1").arg(i), l.bars[i]});
        if (l.labels[i].shown)
            parts.append({QStringLiteral("label %1").arg(i), l.labels[i].rect});
        if (l.marks[i].shown) {
            const QLineF line = l.markLines[i];
            parts.append({QStringLiteral("mark %1").arg(i),
                          l.marks[i].rect | QRectF(line.p1(), line.p2()).normalized()});
        }
    }
    return parts;
}

struct Case {
    const char* name;
    BarChart::Orientation orientation;
    QList<double> values;
    QSizeF size; // an empty height: the chart's preferred height
    bool everyLabelAndMark;
    const char* title = nullptr; // instead of the window's
    int markPoints = 9;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

const BarChart::Orientation kColumns = BarChart::Orientation::Columns;
const BarChart::Orientation kRows = BarChart::Orientation::Rows;
const QSizeF kWindow(273, 281); // the results window's chart

const Case kCases[] = {
    {"three at 0, 33.3, 66.7", kColumns, {0, 100.0 / 3, 200.0 / 3}, kWindow, true},
    {"three at 66.7, 33.3, 0", kColumns, {200.0 / 3, 100.0 / 3, 0}, kWindow, true},
    {"three at 100, 100, 100", kColumns, {100, 100, 100}, kWindow, true},
    {"pending only", kColumns, {0, 0, 100}, kWindow, true},
    {"one at 100", kColumns, {100}, kWindow, true},
    {"one at 0", kColumns, {0}, kWindow, true},
    {"sixty in the window", kColumns, spread(60), kWindow, false},
    {"sixty in a page", kColumns, spread(60), QSizeF(620, 300), false},
    {"three in rows", kRows, {0, 100.0 / 3, 100}, QSizeF(620, 0), true},
    {"sixty rows", kRows, spread(60), QSizeF(620, 0), true},
    {"sixty rows squeezed", kRows, spread(60), QSizeF(620, 300), false},
    {"sixty rows, marks smaller than labels", kRows, spread(60), QSizeF(620, 0), true, nullptr, 7},
    {"a title in two lines",
     kColumns,
     {50, 50},
     kWindow,
     true,
     "Reparto de la clase: alumnos según su % de cuestiones correctas"},
};

class ChartLayout : public testing::TestWithParam<Case> {};

// Every bar, mark and label stays inside the chart, none covers another or the title, and each
// bar reaches its value.
TEST_P(ChartLayout, PartsStayInsideApartAndBarsReachTheirValues) {
    const Case& c = GetParam();
    BarChart bars = chart(c.orientation, c.values);
    if (c.title)
        bars.title.text = QString::fromUtf8(c.title);
    bars.markFont.setPointSize(c.markPoints);
    QSizeF size = c.size;
    if (size.height() == 0)
        size.setHeight(PreferredHeight(bars));
    const BarChartLayout l = LayOutBarChart(bars, QRectF(QPointF(0, 0), size));

    ASSERT_TRUE(l.title.shown);
    ASSERT_EQ(l.bars.size(), c.values.size());
    ASSERT_EQ(l.labels.size(), c.values.size());
    ASSERT_EQ(l.marks.size(), c.values.size());
    EXPECT_TRUE(l.labels[0].shown) << "the first bar keeps its label";
    const auto parts = drawnParts(l);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        EXPECT_TRUE(l.bounds.contains(parts[i].second)) << qPrintable(parts[i].first);
        for (qsizetype j = i + 1; j < parts.size(); ++j)
            EXPECT_FALSE(parts[i].second.intersects(parts[j].second))
                << qPrintable(parts[i].first) << " covers " << qPrintable(parts[j].first);
    }
    int labels = 0;
    for (qsizetype i = 0; i < c.values.size(); ++i) {
        const QRectF bar = l.bars[i];
        const double reach = c.values[i] / 100;
        if (c.orientation == kColumns) {
            EXPECT_NEAR(bar.bottom(), l.plot.bottom(), 1e-6);
            EXPECT_NEAR(bar.height(), reach * l.plot.height(), 1e-6);
            if (i > 0) {
                EXPECT_GT(bar.left(), l.bars[i - 1].right());
            }
        } else {
            EXPECT_NEAR(bar.left(), l.plot.left(), 1e-6);
            EXPECT_NEAR(bar.width(), reach * l.plot.width(), 1e-6);
            if (i > 0) {
                EXPECT_GT(bar.top(), l.bars[i - 1].bottom());
            }
        }
        if (c.everyLabelAndMark) {
            EXPECT_TRUE(l.labels[i].shown) << "label " << i;
            EXPECT_TRUE(l.marks[i].shown) << "mark " << i;
        }
        labels += l.labels[i].shown;
    }
    // With fewer labels than bars, still enough to find one's way.
    EXPECT_GE(labels, std::min<qsizetype>(c.values.size(), 5));
    EXPECT_EQ(l.grid.size(), 11);
    EXPECT_GE(std::count_if(l.scale.begin(), l.scale.end(), [](auto& t) { return t.shown; }), 3);
}

INSTANTIATE_TEST_SUITE_P(Tables, ChartLayout, testing::ValuesIn(kCases), [](const auto& info) {
    std::string name = info.param.name;
    std::replace_if(
        name.begin(), name.end(),
        [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); }, '_');
    return name;
});

// The same layout on a device with finer pixels (a PDF's) is the screen's, scaled: the mark's line
// and the gaps grow with the fonts.
TEST(ChartLayout, FinerPixelsScaleTheWholeLayout) {
    const BarChart bars = chart(kColumns, {0, 100.0 / 3, 200.0 / 3});
    QImage fine(1, 1, QImage::Format_RGB32);
    fine.setDotsPerMeterX(qRound(4 * 96 / 0.0254));
    fine.setDotsPerMeterY(qRound(4 * 96 / 0.0254));
    QImage screen(1, 1, QImage::Format_RGB32);
    screen.setDotsPerMeterX(qRound(96 / 0.0254));
    screen.setDotsPerMeterY(qRound(96 / 0.0254));
    const BarChartLayout big = LayOutBarChart(bars, QRectF(0, 0, 4 * 273, 4 * 281), &fine);
    const BarChartLayout small = LayOutBarChart(bars, QRectF(0, 0, 273, 281), &screen);
    EXPECT_NEAR(big.markLines[1].length(), 4 * 20, 1e-6);
    EXPECT_NEAR(big.plot.top() / small.plot.top(), 4, 0.25);
    EXPECT_NEAR(big.plot.height() / small.plot.height(), 4, 0.25);
}

} // namespace
