#pragma once

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QList>
#include <QRectF>
#include <QString>

class QPainter;
class QPaintDevice;

// A text of a chart with its font and colour; an empty text takes no room.
struct ChartText {
    QString text;
    QFont font;
    QColor colour = Qt::black;
};

// One bar: its label on the category axis, its value, its colour, and the mark that shows the
// value beside the bar's end (an empty mark shows nothing).
struct ChartBar {
    QString label;
    double value = 0;
    QColor colour;
    QString mark;
};

// What a bar chart shows. Columns rise from the bottom, one per bar in order, the value axis on
// the left; rows run to the right, one per bar from the top, the value axis below. Lengths are in
// pixels of a 96 dpi screen; fonts in points.
struct BarChart {
    enum class Orientation { Columns, Rows };

    Orientation orientation = Orientation::Columns;
    ChartText title;
    ChartText foot;      // under everything
    ChartText axisTitle; // beside the value axis: turned on the left of columns, under rows
    QFont labelFont;     // the bars' labels
    QFont scaleFont;     // the value axis' numbers
    QFont markFont;
    QColor background = Qt::white;
    double minimum = 0;
    double maximum = 100;
    double step = 10;     // a number and a grid line every step, from minimum to maximum
    qreal markLine = 0;   // the line from a bar's end to its mark
    qreal barShare = 0.6; // of the room each bar has along the category axis
    QList<ChartBar> bars;
};

// A text where it is drawn. rect is the room it takes in the chart; a turned text reads from
// bottom to top, so its rect is as wide as the text is high.
struct PlacedText {
    QString text;
    QRectF rect;
    QFont font;
    QColor colour;
    bool turned = false;
    bool wraps = false; // in lines as wide as rect
    bool shown = true;  // false: no room for it without covering another part
};

// A chart laid out in a rectangle for one paint device: plain geometry, in the device's
// coordinates, that a painter draws and tests measure. labels, bars, marks and markLines hold
// one entry per bar, in the bars' order.
struct BarChartLayout {
    QRectF bounds;
    QRectF plot; // the value axis runs along its left side (columns) or its bottom (rows)
    PlacedText title;
    PlacedText foot;
    PlacedText axisTitle;
    QList<PlacedText> scale; // a number per grid line
    QList<QLineF> grid;      // from the minimum to the maximum, one per step
    QList<QRectF> bars;
    QList<PlacedText> labels;
    QList<PlacedText> marks;
    QList<QLineF> markLines;
};

// Lays the chart out in bounds, with the fonts measured for device (the screen's when null).
// A label or a mark that would cover another part, or leave the chart, is not shown.
BarChartLayout LayOutBarChart(const BarChart& chart, const QRectF& bounds,
                              const QPaintDevice* device = nullptr);

// The height at which rows give every bar its label and mark: rows need room that grows with
// their number. Columns take whatever height they are given: 0 for them.
qreal PreferredHeight(const BarChart& chart, const QPaintDevice* device = nullptr);

// Paints a laid out chart: background, grid, axes, bars, marks with their lines, and the texts.
void PaintBarChart(QPainter& painter, const BarChart& chart, const BarChartLayout& layout);
