#pragma once

#include "platform/chart/BarChart.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <memory>

namespace Ui {
class TResultados;
}

// The results window: the student's name and lesson, the correct and incorrect counts, and a bar
// chart of the shares of correct, incorrect and pending answers.
class TResultados : public QDialog {
    Q_OBJECT
public:
    explicit TResultados(QWidget* parent = nullptr);
    ~TResultados() override;

    // Fills the window from the visit's counters and shows it until "Cerrar".
    void ShowResults();
    void Button1Click();

    // The texts of the marks above the bars, in the order of the bars.
    QStringList markTexts() const;

    // Where the title, and each mark with its line, are drawn in the chart, in its coordinates.
    QRectF titleRect() const;
    QList<QRectF> markRects() const;
    QRectF chartRect() const;

    // A bar's value as its mark shows it: at most one decimal, the system's separators.
    static QString formatMark(double value);
    // The chart's settings: titles, axis, fonts and colours, without bars.
    static BarChart chartSettings();

protected:
    void reject() override {}

private:
    void addPoint(const QString& label, double value, const QColor& colour);

    std::unique_ptr<Ui::TResultados> ui;
    QList<ChartBar> Series1; // the chart's one series: a point per bar, in the order added
};

extern TResultados* Resultados;
