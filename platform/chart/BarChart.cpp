#include "platform/chart/BarChart.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Room around and between the parts, and the axis' ticks, in pixels of a 96 dpi screen.
constexpr qreal kPad = 4;
constexpr qreal kGap = 3;
constexpr qreal kTick = 3;

// Measures texts for one paint device, whose pixels may be finer than a screen's (a PDF's).
class Measure {
public:
    explicit Measure(const QPaintDevice* device)
        : device_(device), px_(device ? device->logicalDpiY() / 96.0 : 1.0) {}

    qreal px() const { return px_; }

    QFontMetricsF metrics(const QFont& font) const {
        return device_ ? QFontMetricsF(font, device_) : QFontMetricsF(font);
    }
    qreal height(const QFont& font) const { return metrics(font).height(); }
    QSizeF size(const QFont& font, const QString& text) const {
        if (text.isEmpty())
            return {};
        const QFontMetricsF m = metrics(font);
        return {std::max(m.horizontalAdvance(text), m.boundingRect(text).width()), m.height()};
    }
    PlacedText text(const ChartText& t) const {
        return {t.text, QRectF(QPointF(), size(t.font, t.text)), t.font, t.colour};
    }

private:
    const QPaintDevice* device_;
    qreal px_;
};

// Shows a text only inside the chart and clear of everything shown before it.
void place(PlacedText& t, QList<QRectF>& taken, const QRectF& inside) {
    t.shown = !t.text.isEmpty() && inside.contains(t.rect) &&
              std::none_of(taken.begin(), taken.end(),
                           [&](const QRectF& r) { return r.intersects(t.rect); });
    if (t.shown)
        taken.append(t.rect);
}

QList<double> steps(const BarChart& chart) {
    QList<double> values;
    if (chart.step <= 0 || chart.maximum <= chart.minimum)
        return {chart.minimum, chart.maximum};
    const double end = chart.maximum + chart.step * 1e-9;
    for (int i = 0; chart.minimum + i * chart.step <= end; ++i)
        values.append(chart.minimum + i * chart.step);
    return values;
}

QString stepText(const BarChart& chart, double value) {
    const bool whole = std::floor(chart.step) == chart.step;
    return QLocale().toString(value, 'f', whole ? 0 : 1);
}

// The share of the value axis that a value reaches, within 0 and 1.
qreal share(const BarChart& chart, double value) {
    const double span = chart.maximum - chart.minimum;
    return span > 0 ? std::clamp((value - chart.minimum) / span, 0.0, 1.0) : 0.0;
}

bool anyLabel(const BarChart& chart) {
    return std::any_of(chart.bars.begin(), chart.bars.end(),
                       [](const ChartBar& b) { return !b.label.isEmpty(); });
}

bool anyMark(const BarChart& chart) {
    return std::any_of(chart.bars.begin(), chart.bars.end(),
                       [](const ChartBar& b) { return !b.mark.isEmpty(); });
}

qreal widest(const Measure& m, const QFont& font, const QStringList& texts) {
    qreal w = 0;
    for (const QString& t : texts)
        w = std::max(w, m.size(font, t).width());
    return w;
}

// Every how many bars a label fits, when pitch is each bar's room and need a label's.
int stride(qreal need, qreal pitch) {
    return pitch > 0 ? std::max(1, int(std::ceil(need / pitch - 1e-9))) : 1;
}

// The title at the top and the foot at the bottom, centred; returns the room between them.
QRectF placeEnds(BarChartLayout& l, const BarChart& chart, const Measure& m, const QRectF& inner,
                 QList<QRectF>& taken) {
    const qreal gap = kGap * m.px();
    QRectF room = inner;
    // A title wider than the chart goes on in more lines.
    l.title = m.text(chart.title);
    if (l.title.rect.width() > inner.width()) {
        l.title.wraps = true;
        l.title.rect = m.metrics(chart.title.font)
                           .boundingRect(QRectF(0, 0, inner.width(), inner.height()),
                                         Qt::AlignHCenter | Qt::TextWordWrap, chart.title.text);
        l.title.rect.setWidth(inner.width());
    }
    if (!l.title.text.isEmpty()) {
        l.title.rect.moveTo(inner.center().x() - l.title.rect.width() / 2, inner.top());
        place(l.title, taken, l.bounds);
        room.setTop(l.title.rect.bottom() + gap);
    }
    l.foot = m.text(chart.foot);
    if (!l.foot.text.isEmpty()) {
        l.foot.rect.moveTo(inner.center().x() - l.foot.rect.width() / 2,
                           inner.bottom() - l.foot.rect.height());
        place(l.foot, taken, l.bounds);
        room.setBottom(l.foot.rect.top() - gap);
    }
    return room;
}

// Unit steps on the device: the ways the bars run.
const QPointF kRight(1, 0), kUp(0, -1), kDown(0, 1);

// How far a size reaches in a direction.
qreal extent(const QPointF& direction, const QSizeF& s) {
    return std::abs(direction.x()) * s.width() + std::abs(direction.y()) * s.height();
}

// The room of a text of size s that stands distance away from p in direction out, centred on p
// across it.
QRectF beside(const QPointF& p, const QPointF& out, qreal distance, const QSizeF& s) {
    const QPointF centre = p + out * (distance + extent(out, s) / 2);
    return {centre - QPointF(s.width(), s.height()) / 2, s};
}

// The plot seen along its two axes, whichever way the bars run: the value axis rises from the
// minimum at origin, the category axis gives each bar an equal band from origin on. Only where
// the value axis' numbers and the labels stand differs between columns and rows.
struct Axes {
    QRectF plot;
    QPointF origin;
    QPointF rise;   // up for columns, right for rows
    QPointF along;  // right for columns, down for rows
    bool axisAfter; // the value axis and its numbers: before the first bar (columns, on the
                    // left) or after the last (rows, under them)
    qreal scaleGap; // between a tick and its number
    qreal labelGap; // between the bars' base and their labels

    qreal valueLength() const { return extent(rise, plot.size()); }
    qreal bandLength() const { return extent(along, plot.size()); }
    QPointF at(qreal value, qreal band) const { return origin + rise * value + along * band; }
    // From the value axis out to its numbers.
    QPointF scaleOut() const { return axisAfter ? along : -along; }
};

// The texts and lengths both orientations measure.
struct Parts {
    QStringList numbers;
    QStringList labels;
    QStringList marks;
    qreal gap = 0, tick = 0, reach = 0;
};

// A plot with no room for bars shrinks to its corner rather than turn inside out.
QRectF plotOrCorner(const QRectF& plot) {
    return plot.width() > 0 && plot.height() > 0 ? plot : QRectF(plot.topLeft(), QSizeF(0, 0));
}

// Columns: the axis' title turned on the left, then its numbers; the labels under the plot, the
// marks above it.
Axes columnAxes(BarChartLayout& l, const BarChart& chart, const Measure& m, const QRectF& room,
                const Parts& p, QList<QRectF>& taken) {
    const qreal scaleH = m.height(chart.scaleFont);
    const qreal labelH = anyLabel(chart) ? m.height(chart.labelFont) : 0;
    // Above the top of the axis, room for the mark of a bar at the maximum.
    const qreal markBand = anyMark(chart) ? m.height(chart.markFont) + p.reach : 0;
    // The labels stand under the half of the axis' lowest number that reaches below the plot.
    const qreal plotBottom = room.bottom() - labelH - (labelH > 0 ? p.gap : 0) - scaleH / 2;
    const qreal plotTop = room.top() + std::max(markBand, scaleH / 2);

    qreal left = room.left();
    l.axisTitle = m.text(chart.axisTitle);
    l.axisTitle.turned = true;
    if (!l.axisTitle.text.isEmpty()) {
        const QSizeF s = l.axisTitle.rect.size();
        l.axisTitle.rect =
            QRectF(left, (plotTop + plotBottom - s.width()) / 2, s.height(), s.width());
        place(l.axisTitle, taken, l.bounds);
        left += s.height() + p.gap;
    }
    const qreal scaleW = widest(m, chart.scaleFont, p.numbers);
    const QRectF plot = plotOrCorner(QRectF(QPointF(left + scaleW + p.gap + p.tick, plotTop),
                                            QPointF(room.right(), plotBottom)));
    return {plot, plot.bottomLeft(), kUp, kRight, false, p.gap, scaleH / 2 + p.gap};
}

// Rows: the axis' numbers under the plot, then its title; the labels on the left, the marks on
// the right.
Axes rowAxes(BarChartLayout& l, const BarChart& chart, const Measure& m, const QRectF& room,
             const Parts& p, QList<QRectF>& taken) {
    l.axisTitle = m.text(chart.axisTitle);
    qreal bottom = room.bottom();
    if (!l.axisTitle.text.isEmpty()) {
        l.axisTitle.rect.moveTo(0, bottom - l.axisTitle.rect.height());
        bottom = l.axisTitle.rect.top() - p.gap;
    }
    const qreal scaleTop = bottom - m.height(chart.scaleFont);
    // The numbers at both ends of the axis are centred on them: half of each may stand outside.
    const auto half = [&](const QString& number) {
        return m.size(chart.scaleFont, number).width() / 2;
    };
    const qreal firstHalf = p.numbers.isEmpty() ? 0 : half(p.numbers.first());
    const qreal lastHalf = p.numbers.isEmpty() ? 0 : half(p.numbers.last());
    const qreal labelW = widest(m, chart.labelFont, p.labels);
    const qreal markW = widest(m, chart.markFont, p.marks);
    const qreal left = room.left() + std::max(labelW > 0 ? labelW + p.gap + p.tick : 0, firstHalf);
    const qreal right = room.right() - std::max(markW > 0 ? markW + p.reach : 0, lastHalf);
    const QRectF plot =
        plotOrCorner(QRectF(QPointF(left, room.top()), QPointF(right, scaleTop - p.tick)));
    if (!l.axisTitle.text.isEmpty()) {
        l.axisTitle.rect.moveLeft(plot.center().x() - l.axisTitle.rect.width() / 2);
        place(l.axisTitle, taken, l.bounds);
    }
    return {plot, plot.topLeft(), kRight, kDown, true, 0, p.tick + p.gap};
}

// The grid with the axis' numbers, the bars, the marks with their lines and the labels, the same
// for columns and rows along their axes.
void layOutBars(BarChartLayout& l, const BarChart& chart, const Measure& m, const Axes& axes,
                const Parts& p, QList<QRectF>& taken) {
    l.plot = axes.plot;
    const qreal length = axes.valueLength(), bands = axes.bandLength();
    // Each grid line reaches a tick past the value axis, towards its number.
    const qreal axisBand = axes.axisAfter ? bands : 0;
    const qreal tickBand = axes.axisAfter ? bands + p.tick : -p.tick;
    const QList<double> values = steps(chart);
    for (qsizetype i = 0; i < values.size(); ++i) {
        const qreal value = share(chart, values[i]) * length;
        l.grid.append(QLineF(axes.at(value, std::min(0.0, tickBand)),
                             axes.at(value, std::max(bands, tickBand))));
        PlacedText t{p.numbers[i],
                     beside(axes.at(value, axisBand), axes.scaleOut(), p.tick + axes.scaleGap,
                            m.size(chart.scaleFont, p.numbers[i])),
                     chart.scaleFont, Qt::black};
        place(t, taken, l.bounds);
        l.scale.append(t);
    }

    const qsizetype n = chart.bars.size();
    const qreal slot = n ? bands / n : 0;
    const qreal width = slot * chart.barShare;
    QList<qreal> middles;
    for (qsizetype i = 0; i < n; ++i) {
        const qreal start = slot * i + (slot - width) / 2;
        l.bars.append(QRectF(axes.at(0, start),
                             axes.at(share(chart, chart.bars[i].value) * length, start + width))
                          .normalized());
        taken.append(l.bars.last());
        middles.append(start + width / 2);
    }
    // A mark no wider than its bar's band stands beyond its own bar's end only.
    for (qsizetype i = 0; i < n; ++i) {
        const QPointF end = axes.at(share(chart, chart.bars[i].value) * length, middles[i]);
        const QSizeF s = m.size(chart.markFont, p.marks[i]);
        PlacedText t{p.marks[i], beside(end, axes.rise, p.reach, s), chart.markFont, Qt::black};
        if (extent(axes.along, s) <= slot)
            place(t, taken, l.bounds);
        else
            t.shown = false;
        l.marks.append(t);
        l.markLines.append(chart.markLine > 0 ? QLineF(end, end + axes.rise * p.reach) : QLineF());
    }
    // Labels stand side by side along the category axis, with a gap between any two shown.
    qreal need = 0;
    for (const QString& label : p.labels)
        need = std::max(need, extent(axes.along, m.size(chart.labelFont, label)));
    const int every = stride(need + p.gap, slot);
    for (qsizetype i = 0; i < n; ++i) {
        PlacedText t{p.labels[i],
                     beside(axes.at(0, middles[i]), -axes.rise, axes.labelGap,
                            m.size(chart.labelFont, p.labels[i])),
                     chart.labelFont, Qt::black};
        if (i % every == 0)
            place(t, taken, l.bounds);
        else
            t.shown = false;
        l.labels.append(t);
    }
}

void drawText(QPainter& painter, const PlacedText& t) {
    if (!t.shown)
        return;
    painter.setFont(t.font);
    painter.setPen(t.colour);
    if (!t.turned) {
        painter.drawText(
            t.rect, Qt::AlignCenter | Qt::TextDontClip | (t.wraps ? Qt::TextWordWrap : 0), t.text);
        return;
    }
    painter.save();
    painter.translate(t.rect.center());
    painter.rotate(-90);
    const QSizeF s(t.rect.height(), t.rect.width());
    painter.drawText(QRectF(QPointF(-s.width() / 2, -s.height() / 2), s),
                     Qt::AlignCenter | Qt::TextDontClip, t.text);
    painter.restore();
}

} // namespace

BarChartLayout LayOutBarChart(const BarChart& chart, const QRectF& bounds,
                              const QPaintDevice* device) {
    const Measure m(device);
    BarChartLayout l;
    l.bounds = bounds;
    const qreal pad = kPad * m.px();
    const QRectF inner = bounds.adjusted(pad, pad, -pad, -pad);
    QList<QRectF> taken;
    const QRectF room = placeEnds(l, chart, m, inner, taken);
    Parts p;
    for (double v : steps(chart))
        p.numbers.append(stepText(chart, v));
    for (const ChartBar& bar : chart.bars) {
        p.labels.append(bar.label);
        p.marks.append(bar.mark);
    }
    p.gap = kGap * m.px();
    p.tick = kTick * m.px();
    p.reach = chart.markLine > 0 ? chart.markLine * m.px() : p.gap;
    const Axes axes = chart.orientation == BarChart::Orientation::Columns
                          ? columnAxes(l, chart, m, room, p, taken)
                          : rowAxes(l, chart, m, room, p, taken);
    layOutBars(l, chart, m, axes, p, taken);
    return l;
}

qreal PreferredHeight(const BarChart& chart, const QPaintDevice* device) {
    if (chart.orientation == BarChart::Orientation::Columns)
        return 0;
    const Measure m(device);
    // Everything but the rows takes the same height whatever the chart's height.
    constexpr qreal kAny = 10000;
    const BarChartLayout l = LayOutBarChart(chart, QRectF(0, 0, 600 * m.px(), kAny), device);
    // A row holds its label and mark with some air, and at least the labels' stride: a label's
    // height and the gap.
    const qreal label = m.height(chart.labelFont);
    const qreal row =
        std::max(std::max(label, m.height(chart.markFont)) * 1.15, label + kGap * m.px());
    return std::ceil(kAny - l.plot.height() + row * chart.bars.size());
}

void PaintBarChart(QPainter& painter, const BarChart& chart, const BarChartLayout& l) {
    painter.save();
    const qreal px = painter.device() ? painter.device()->logicalDpiY() / 96.0 : 1.0;
    painter.fillRect(l.bounds, chart.background);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(222, 222, 222), px));
    for (const QLineF& line : l.grid)
        painter.drawLine(line);
    for (qsizetype i = 0; i < l.bars.size(); ++i)
        painter.fillRect(l.bars[i], chart.bars[i].colour);
    painter.setPen(QPen(QColor(96, 96, 96), px));
    painter.drawLine(l.plot.bottomLeft(), l.plot.topLeft());
    painter.drawLine(l.plot.bottomLeft(), l.plot.bottomRight());
    painter.setPen(QPen(Qt::black, px));
    for (qsizetype i = 0; i < l.markLines.size(); ++i) {
        if (l.marks[i].shown && !l.markLines[i].isNull())
            painter.drawLine(l.markLines[i]);
    }
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const PlacedText* t : {&l.title, &l.foot, &l.axisTitle})
        drawText(painter, *t);
    for (const QList<PlacedText>* texts : {&l.scale, &l.labels, &l.marks}) {
        for (const PlacedText& t : *texts)
            drawText(painter, t);
    }
    painter.restore();
}
