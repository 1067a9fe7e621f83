#include "Unit5.h"

#include "ui_Unit5.h"

#include "LessonFiles.h"
#include "Visit.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsLineItem>
#include <QGraphicsSimpleTextItem>
#include <QLocale>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <QtMath>

TResultados* Resultados = nullptr;

namespace {
constexpr int kMarkLine = 20; // the line from a bar's top to its mark, in pixels

QFont arial(int points) {
    QFont font(QStringLiteral("Arial"), points);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
} // namespace

TResultados::TResultados(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TResultados>()) {
    ui->setupUi(this);
    // No close box: "Cerrar" is the way out.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    move(411, 118);

    chart_ = new QChart();
    chart_->setBackgroundBrush(Qt::white);
    chart_->setPlotAreaBackgroundBrush(Qt::white);
    chart_->setPlotAreaBackgroundVisible(true);
    chart_->legend()->hide();
    // The title is drawn above a band as high as a mark and its line, so that the mark of a bar
    // at 100 stands between the title and the bar. The chart is small: the frame's margins and
    // rounded corners would squeeze the axes.
    title_ = new QGraphicsSimpleTextItem(QStringLiteral("Resultados"), chart_);
    title_->setFont(arial(14));
    title_->setBrush(Qt::blue);
    const qreal band =
        title_->boundingRect().height() + kMarkLine + QFontMetricsF(arial(9)).height();
    chart_->setMargins(QMargins(2, qCeil(band) + 6, 6, 2));
    chart_->layout()->setContentsMargins(0, 0, 0, 0);
    chart_->setBackgroundRoundness(0);
    chart_->setAnimationOptions(QChart::NoAnimation);

    Series1 = new QStackedBarSeries(chart_);
    Series1->setObjectName(QStringLiteral("Series1"));
    Series1->setBarWidth(0.6);
    chart_->addSeries(Series1);

    auto* bottom = new QBarCategoryAxis(chart_);
    bottom->setTitleText(QStringLiteral("Respuestas"));
    bottom->setTitleFont(arial(12));
    bottom->setTitleBrush(Qt::blue);
    bottom->setGridLineVisible(false);
    bottom->setLabelsFont(arial(8));
    bottom->setTruncateLabels(false);
    chart_->addAxis(bottom, Qt::AlignBottom);
    Series1->attachAxis(bottom);

    auto* left = new QValueAxis(chart_);
    left->setRange(0, 100);
    left->setTickCount(11);
    left->setLabelFormat(QStringLiteral("%d"));
    left->setLabelsFont(arial(7));
    left->setTitleText(QStringLiteral("Porcentaje"));
    left->setTitleFont(arial(10));
    left->setTitleBrush(Qt::blue);
    chart_->addAxis(left, Qt::AlignLeft);
    Series1->attachAxis(left);

    // The view comes with a chart of its own; setChart() hands that one back instead of deleting
    // it.
    QChart* unused = ui->Chart1->chart();
    ui->Chart1->setChart(chart_);
    delete unused;
    ui->Chart1->setRenderHint(QPainter::Antialiasing);
    connect(chart_, &QChart::plotAreaChanged, this, &TResultados::placeMarks);
    connect(ui->Button1, &QPushButton::clicked, this, &TResultados::Button1Click);
}

TResultados::~TResultados() = default;

QString TResultados::formatMark(double value) {
    const QLocale locale;
    QString text = locale.toString(value, 'f', 1);
    const QString zero = locale.decimalPoint() + locale.zeroDigit();
    if (text.endsWith(zero))
        text.chop(zero.size());
    if (text == QStringLiteral("-0"))
        text = locale.zeroDigit();
    return text;
}

void TResultados::ShowResults() {
    ui->Nombre->setText(QStringLiteral("Nombre: ") + NombreAlumno);
    ui->Leccion->setText(QStringLiteral("Lección: ") + NombreLeccion);
    ui->Correctas->setText(QStringLiteral("Respuestas Correctas: ") +
                           QString::number(NumCorrectas));
    ui->Incorrectas->setText(QStringLiteral("Respuestas Incorrectas: ") +
                             QString::number(NumIncorrectas));

    Series1->clear();
    values_.clear();
    qDeleteAll(marks_);
    qDeleteAll(lines_);
    marks_.clear();
    lines_.clear();
    auto* bottom = static_cast<QBarCategoryAxis*>(chart_->axes(Qt::Horizontal).first());
    bottom->clear();

    const double total = NumCorrectas + NumIncorrectas + NumPendientes;
    // The button that opens this window is enabled only after an answer, but an empty visit
    // must not divide by zero.
    auto share = [total](int count) { return total > 0 ? count / total * 100 : 0.0; };
    addPoint(QStringLiteral("Correctas"), share(NumCorrectas), QColor(0, 128, 0));
    addPoint(QStringLiteral("Incorrectas"), share(NumIncorrectas), QColor(255, 0, 0));
    if (NumPendientes > 0)
        addPoint(QStringLiteral("Pendientes"), share(NumPendientes), QColor(0, 0, 255));
    placeMarks();
    // A screen reader reads the bars' values with the chart.
    QStringList bars;
    for (qsizetype i = 0; i < values_.size(); ++i)
        bars.append(bottom->at(int(i)) + QStringLiteral(": ") + marks_[i]->text() +
                    QStringLiteral(" %"));
    ui->Chart1->setAccessibleDescription(bars.join(QStringLiteral("; ")));
    exec();
}

void TResultados::addPoint(const QString& label, double value, const QColor& colour) {
    auto* bottom = static_cast<QBarCategoryAxis*>(chart_->axes(Qt::Horizontal).first());
    bottom->append(label);
    // One set per bar, holding its value at its own category and 0 at the others, gives each
    // bar its own colour.
    const qsizetype index = values_.size();
    for (QBarSet* set : Series1->barSets())
        set->append(0);
    auto* set = new QBarSet(label);
    for (qsizetype i = 0; i < index; ++i)
        set->append(0);
    set->append(value);
    set->setColor(colour);
    set->setBorderColor(colour.darker(130));
    Series1->append(set);
    values_.append(value);

    auto* mark = new QGraphicsSimpleTextItem(formatMark(value), chart_);
    mark->setFont(arial(9));
    auto* line = new QGraphicsLineItem(chart_);
    line->setPen(QPen(Qt::black, 1));
    marks_.append(mark);
    lines_.append(line);
}

void TResultados::placeMarks() {
    title_->setPos((chart_->size().width() - title_->boundingRect().width()) / 2, 2);
    for (qsizetype i = 0; i < values_.size(); ++i) {
        const QPointF top = chart_->mapToPosition(QPointF(i, values_[i]), Series1);
        const QPointF end = top - QPointF(0, kMarkLine);
        lines_[i]->setLine(QLineF(top, end));
        const QRectF box = marks_[i]->boundingRect();
        marks_[i]->setPos(end.x() - box.width() / 2, end.y() - box.height());
    }
}

void TResultados::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    placeMarks();
}

QStringList TResultados::markTexts() const {
    QStringList texts;
    for (const QGraphicsSimpleTextItem* mark : marks_)
        texts.append(mark->text());
    return texts;
}

QRectF TResultados::titleRect() const {
    return title_->mapRectToParent(title_->boundingRect());
}

QList<QRectF> TResultados::markRects() const {
    QList<QRectF> rects;
    for (qsizetype i = 0; i < marks_.size(); ++i)
        rects.append(marks_[i]->mapRectToParent(marks_[i]->boundingRect()) |
                     lines_[i]->mapRectToParent(lines_[i]->boundingRect()));
    return rects;
}

QRectF TResultados::chartRect() const {
    return QRectF(QPointF(0, 0), chart_->size());
}

void TResultados::Button1Click() {
    accept();
}
