#include "platform/chart/BarChartView.h"

#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <cmath>

BarChartView::BarChartView(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void BarChartView::setChart(const BarChart& chart) {
    chart_ = chart;
    updateGeometry();
    update();
}

BarChartLayout BarChartView::chartLayout() const {
    return LayOutBarChart(chart_, QRectF(rect()), this);
}

QSize BarChartView::sizeHint() const {
    const qreal height = PreferredHeight(chart_, this);
    return {400, height > 0 ? int(std::ceil(height)) : 300};
}

bool BarChartView::hasHeightForWidth() const {
    return chart_.orientation == BarChart::Orientation::Rows;
}

int BarChartView::heightForWidth(int) const {
    return sizeHint().height();
}

void BarChartView::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    PaintBarChart(painter, chart_, chartLayout());
    // The chart may take the keyboard focus, so that a screen reader reads its description.
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
}
