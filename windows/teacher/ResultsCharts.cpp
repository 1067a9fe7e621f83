#include "ResultsCharts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>
#include <QValueAxis>

#include <cmath>

namespace {

QChart* barChart(const QString& title, const QString& setName, const QStringList& categories,
                 const QList<qreal>& values, const QString& axisTitle, qreal top) {
    auto* set = new QBarSet(setName);
    set->append(values);
    set->setColor(QColor(0x3A, 0x6E, 0xA5));
    auto* series = new QBarSeries;
    series->append(set);
    series->setLabelsVisible(true);
    series->setLabelsFormat(QStringLiteral("@value"));
    series->setLabelsPrecision(4);
    series->setLabelsPosition(QAbstractBarSeries::LabelsInsideEnd);
    set->setLabelColor(Qt::white);
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->addSeries(series);
    chart->legend()->hide();
    auto* categoriesAxis = new QBarCategoryAxis;
    categoriesAxis->append(categories);
    chart->addAxis(categoriesAxis, Qt::AlignBottom);
    series->attachAxis(categoriesAxis);
    auto* valuesAxis = new QValueAxis;
    valuesAxis->setRange(0, top);
    // Whole numbers at whole steps: a count of students has no fractions.
    valuesAxis->setTickType(QValueAxis::TicksDynamic);
    valuesAxis->setTickAnchor(0);
    valuesAxis->setTickInterval(top <= 10 ? 1 : std::ceil(top / 20) * 5);
    valuesAxis->setLabelFormat(QStringLiteral("%d"));
    valuesAxis->setTitleText(axisTitle);
    chart->addAxis(valuesAxis, Qt::AlignLeft);
    series->attachAxis(valuesAxis);
    return chart;
}

} // namespace

QChart* FirstAttemptChart(const LessonSummary& lesson) {
    QStringList categories;
    QList<qreal> values;
    for (const QuestionRow& q : lesson.questions) {
        categories.append(QStringLiteral("%1.%2").arg(q.section).arg(q.question));
        // Whole percentages: a bar's label has room for no more (the tables have the decimal).
        values.append(std::round(q.firstRightPercent));
    }
    return barChart(QStringLiteral("Correctas al primer intento por cuestión (sección.cuestión)"),
                    QStringLiteral("% correctas al primer intento"), categories, values,
                    QStringLiteral("% de alumnos"), 100);
}

QChart* SpreadChart(const LessonSummary& lesson) {
    const QList<int> bands = SpreadBands(lesson);
    QStringList categories;
    QList<qreal> values;
    int most = 1;
    for (int b = 0; b < bands.size(); ++b) {
        categories.append(b < 9 ? QStringLiteral("%1–%2").arg(10 * b).arg(10 * b + 9)
                                : QStringLiteral("90–100"));
        values.append(bands[b]);
        most = std::max(most, bands[b]);
    }
    return barChart(QStringLiteral("Reparto de la clase: alumnos según su % de cuestiones "
                                   "correctas al primer intento"),
                    QStringLiteral("Alumnos"), categories, values, QStringLiteral("Alumnos"),
                    most + 1);
}

QImage ChartImage(QChart* chart, const QSize& size, qreal scale) {
    // Drawn from a scene of its own: no window is made, so this works without a screen.
    QGraphicsScene scene;
    scene.addItem(chart);
    chart->setGeometry(QRectF(QPointF(0, 0), size));
    chart->layout()->activate();
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, QRectF(QPointF(0, 0), size * scale), QRectF(QPointF(0, 0), size));
    return image;
}
