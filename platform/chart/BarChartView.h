#pragma once

#include "platform/chart/BarChart.h"

#include <QWidget>

// A bar chart in a window: laid out at the widget's size whenever it is painted.
class BarChartView : public QWidget {
    Q_OBJECT
public:
    explicit BarChartView(QWidget* parent = nullptr);

    void setChart(const BarChart& chart);
    const BarChart& chart() const { return chart_; }

    // The chart as it is drawn at the widget's present size.
    BarChartLayout chartLayout() const;

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BarChart chart_;
};
