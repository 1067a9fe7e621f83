#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

#include <memory>

class QChart;
class QGraphicsLineItem;
class QGraphicsSimpleTextItem;
class QStackedBarSeries;

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

protected:
    void reject() override {}
    void resizeEvent(QResizeEvent* event) override;

private:
    void addPoint(const QString& label, double value, const QColor& colour);
    void placeMarks();

    std::unique_ptr<Ui::TResultados> ui;
    QChart* chart_;
    QStackedBarSeries* Series1;
    QGraphicsSimpleTextItem* title_;
    QList<double> values_;
    QList<QGraphicsSimpleTextItem*> marks_;
    QList<QGraphicsLineItem*> lines_;
};

extern TResultados* Resultados;
