#include "BarChart.h"

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

void layOutColumns(BarChartLayout& l, const BarChart& chart, const Measure& m, const QRectF& inner,
                   QList<QRectF>& taken) {
    const qreal px = m.px(), gap = kGap * px, tick = kTick * px;
    const QRectF room = placeEnds(l, chart, m, inner, taken);
    const qreal scaleH = m.height(chart.scaleFont);
    const qreal labelH = anyLabel(chart) ? m.height(chart.labelFont) : 0;
    const qreal reach = chart.markLine > 0 ? chart.markLine * px : gap;
    // Above the top of the axis, room for the mark of a bar at the maximum.
    const qreal markBand = anyMark(chart) ? m.height(chart.markFont) + reach : 0;
    // The labels stand under the half of the axis' lowest number that reaches below the plot.
    const qreal labelsTop = room.bottom() - labelH;
    const qreal plotBottom = labelsTop - (labelH > 0 ? gap : 0) - scaleH / 2;
    const qreal plotTop = room.top() + std::max(markBand, scaleH / 2);

    qreal left = room.left();
    l.axisTitle = m.text(chart.axisTitle);
    l.axisTitle.turned = true;
    if (!l.axisTitle.text.isEmpty()) {
        const QSizeF s = l.axisTitle.rect.size();
        l.axisTitle.rect =
            QRectF(left, (plotTop + plotBottom - s.width()) / 2, s.height(), s.width());
        place(l.axisTitle, taken, l.bounds);
        left += s.height() + gap;
    }
    const QList<double> values = steps(chart);
    QStringList numbers;
    for (double v : values)
        numbers.append(stepText(chart, v));
    const qreal scaleW = widest(m, chart.scaleFont, numbers);
    l.plot =
        QRectF(QPointF(left + scaleW + gap + tick, plotTop), QPointF(room.right(), plotBottom));
    if (l.plot.width() <= 0 || l.plot.height() <= 0)
        l.plot = QRectF(l.plot.topLeft(), QSizeF(0, 0));
    const auto y = [&](double v) { return l.plot.bottom() - share(chart, v) * l.plot.height(); };

    for (qsizetype i = 0; i < values.size(); ++i) {
        const qreal at = y(values[i]);
        l.grid.append(QLineF(l.plot.left() - tick, at, l.plot.right(), at));
        const QSizeF s = m.size(chart.scaleFont, numbers[i]);
        PlacedText t{numbers[i],
                     QRectF(l.plot.left() - tick - gap - s.width(), at - s.height() / 2, s.width(),
                            s.height()),
                     chart.scaleFont, Qt::black};
        place(t, taken, l.bounds);
        l.scale.append(t);
    }

    const qsizetype n = chart.bars.size();
    const qreal slot = n ? l.plot.width() / n : 0;
    const qreal barW = slot * chart.barShare;
    for (qsizetype i = 0; i < n; ++i) {
        const qreal top = y(chart.bars[i].value);
        l.bars.append(
            QRectF(l.plot.left() + slot * i + (slot - barW) / 2, top, barW, l.plot.bottom() - top));
        taken.append(l.bars.last());
    }
    // A mark as wide as its bar's room at most stands over its own bar only.
    for (qsizetype i = 0; i < n; ++i) {
        const ChartBar& bar = chart.bars[i];
        const QPointF end(l.bars[i].center().x(), l.bars[i].top() - reach);
        const QSizeF s = m.size(chart.markFont, bar.mark);
        PlacedText t{bar.mark, QRectF(QPointF(end.x() - s.width() / 2, end.y() - s.height()), s),
                     chart.markFont, Qt::black};
        if (s.width() <= slot)
            place(t, taken, l.bounds);
        else
            t.shown = false;
        l.marks.append(t);
        l.markLines.append(chart.markLine > 0
                               ? QLineF(l.bars[i].center().x(), l.bars[i].top(), end.x(), end.y())
                               : QLineF());
    }
    QStringList labels;
    for (const ChartBar& bar : chart.bars)
        labels.append(bar.label);
    const int every = stride(widest(m, chart.labelFont, labels) + gap, slot);
    for (qsizetype i = 0; i < n; ++i) {
        const QSizeF s = m.size(chart.labelFont, labels[i]);
        PlacedText t{
            labels[i],
            QRectF(l.bars[i].center().x() - s.width() / 2, labelsTop, s.width(), s.height()),
            chart.labelFont, Qt::black};
        if (i % every == 0)
            place(t, taken, l.bounds);
        else
            t.shown = false;
        l.labels.append(t);
    }
}

void layOutRows(BarChartLayout& l, const BarChart& chart, const Measure& m, const QRectF& inner,
                QList<QRectF>& taken) {
    const qreal px = m.px(), gap = kGap * px, tick = kTick * px;
    const QRectF room = placeEnds(l, chart, m, inner, taken);
    const qreal scaleH = m.height(chart.scaleFont);
    const qreal reach = chart.markLine > 0 ? chart.markLine * px : gap;

    // Under the plot: the axis' numbers, then its title.
    l.axisTitle = m.text(chart.axisTitle);
    qreal bottom = room.bottom();
    if (!l.axisTitle.text.isEmpty()) {
        l.axisTitle.rect.moveTo(0, bottom - l.axisTitle.rect.height());
        bottom = l.axisTitle.rect.top() - gap;
    }
    const qreal scaleTop = bottom - scaleH;
    const QList<double> values = steps(chart);
    QStringList numbers;
    for (double v : values)
        numbers.append(stepText(chart, v));
    QStringList labels, marks;
    for (const ChartBar& bar : chart.bars) {
        labels.append(bar.label);
        marks.append(bar.mark);
    }
    // The numbers at both ends of the axis are centred on them: half of each may stand outside.
    const qreal firstHalf = numbers.isEmpty() ? 0 : m.size(chart.scaleFont, numbers[0]).width() / 2;
    const qreal lastHalf =
        numbers.isEmpty() ? 0 : m.size(chart.scaleFont, numbers.last()).width() / 2;
    const qreal labelW = widest(m, chart.labelFont, labels);
    const qreal markW = widest(m, chart.markFont, marks);
    const qreal left =
        std::max(room.left() + (labelW > 0 ? labelW + gap + tick : 0), room.left() + firstHalf);
    const qreal right = room.right() - std::max(markW > 0 ? markW + reach : 0, lastHalf);
    l.plot = QRectF(QPointF(left, room.top()), QPointF(right, scaleTop - tick));
    if (l.plot.width() <= 0 || l.plot.height() <= 0)
        l.plot = QRectF(l.plot.topLeft(), QSizeF(0, 0));
    if (!l.axisTitle.text.isEmpty()) {
        l.axisTitle.rect.moveLeft(l.plot.center().x() - l.axisTitle.rect.width() / 2);
        place(l.axisTitle, taken, l.bounds);
    }
    const auto x = [&](double v) { return l.plot.left() + share(chart, v) * l.plot.width(); };

    for (qsizetype i = 0; i < values.size(); ++i) {
        const qreal at = x(values[i]);
        l.grid.append(QLineF(at, l.plot.top(), at, l.plot.bottom() + tick));
        const QSizeF s = m.size(chart.scaleFont, numbers[i]);
        PlacedText t{numbers[i], QRectF(QPointF(at - s.width() / 2, scaleTop), s), chart.scaleFont,
                     Qt::black};
        place(t, taken, l.bounds);
        l.scale.append(t);
    }

    const qsizetype n = chart.bars.size();
    const qreal slot = n ? l.plot.height() / n : 0;
    const qreal barH = slot * chart.barShare;
    for (qsizetype i = 0; i < n; ++i) {
        const qreal top = l.plot.top() + slot * i + (slot - barH) / 2;
        l.bars.append(QRectF(l.plot.left(), top, x(chart.bars[i].value) - l.plot.left(), barH));
        taken.append(l.bars.last());
    }
    // A mark as high as its bar's row at most stands beside its own bar only.
    for (qsizetype i = 0; i < n; ++i) {
        const qreal middle = l.bars[i].center().y();
        const QPointF end(l.bars[i].right() + reach, middle);
        const QSizeF s = m.size(chart.markFont, marks[i]);
        PlacedText t{marks[i], QRectF(QPointF(end.x(), middle - s.height() / 2), s), chart.markFont,
                     Qt::black};
        if (s.height() <= slot)
            place(t, taken, l.bounds);
        else
            t.shown = false;
        l.marks.append(t);
        l.markLines.append(chart.markLine > 0 ? QLineF(l.bars[i].right(), middle, end.x(), end.y())
                                              : QLineF());
    }
    const int every = stride(m.height(chart.labelFont), slot);
    for (qsizetype i = 0; i < n; ++i) {
        const QSizeF s = m.size(chart.labelFont, labels[i]);
        PlacedText t{labels[i],
                     QRectF(QPointF(l.plot.left() - tick - gap - s.width(),
                                    l.bars[i].center().y() - s.height() / 2),
                            s),
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
    if (chart.orientation == BarChart::Orientation::Columns)
        layOutColumns(l, chart, m, inner, taken);
    else
        layOutRows(l, chart, m, inner, taken);
    return l;
}

qreal PreferredHeight(const BarChart& chart, const QPaintDevice* device) {
    if (chart.orientation == BarChart::Orientation::Columns)
        return 0;
    const Measure m(device);
    // Everything but the rows takes the same height whatever the chart's height.
    constexpr qreal kAny = 10000;
    const BarChartLayout l = LayOutBarChart(chart, QRectF(0, 0, 600 * m.px(), kAny), device);
    const qreal row = std::max(m.height(chart.labelFont), m.height(chart.markFont)) * 1.15;
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
