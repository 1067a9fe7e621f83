#include "windows/Unit5.h"

#include "ui_Unit5.h"

#include "lesson/LessonFiles.h"
#include "study/Visit.h"

#include <QLocale>

TResultados* Resultados = nullptr;

namespace {

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
    ui->Chart1->setChart(chartSettings());
    connect(ui->Button1, &QPushButton::clicked, this, &TResultados::Button1Click);
}

TResultados::~TResultados() = default;

BarChart TResultados::chartSettings() {
    BarChart chart;
    chart.title = {QStringLiteral("Resultados"), arial(14), Qt::blue};
    chart.foot = {QStringLiteral("Respuestas"), arial(12), Qt::blue};
    chart.axisTitle = {QStringLiteral("Porcentaje"), arial(10), Qt::blue};
    chart.labelFont = arial(8);
    chart.scaleFont = arial(7);
    chart.markFont = arial(9);
    chart.background = Qt::white;
    chart.minimum = 0;
    chart.maximum = 100;
    chart.step = 10;
    chart.markLine = 20;
    return chart;
}

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

    Series1.clear();
    const double total = NumCorrectas + NumIncorrectas + NumPendientes;
    // The button that opens this window is enabled only after an answer, but an empty visit
    // must not divide by zero.
    auto share = [total](int count) { return total > 0 ? count / total * 100 : 0.0; };
    addPoint(QStringLiteral("Correctas"), share(NumCorrectas), QColor(0, 128, 0));
    addPoint(QStringLiteral("Incorrectas"), share(NumIncorrectas), QColor(255, 0, 0));
    if (NumPendientes > 0)
        addPoint(QStringLiteral("Pendientes"), share(NumPendientes), QColor(0, 0, 255));
    BarChart chart = chartSettings();
    chart.bars = Series1;
    ui->Chart1->setChart(chart);
    // A screen reader reads the bars' values with the chart.
    QStringList bars;
    for (const ChartBar& bar : Series1)
        bars.append(bar.label + QStringLiteral(": ") + bar.mark + QStringLiteral(" %"));
    ui->Chart1->setAccessibleDescription(bars.join(QStringLiteral("; ")));
    // The chart takes the focus only by Tab: the window opens on its button, not on a focus frame
    // around the chart.
    ui->Button1->setFocus();
    exec();
}

void TResultados::addPoint(const QString& label, double value, const QColor& colour) {
    Series1.append({label, value, colour, formatMark(value)});
}

QStringList TResultados::markTexts() const {
    QStringList texts;
    for (const PlacedText& mark : ui->Chart1->chartLayout().marks) {
        if (mark.shown)
            texts.append(mark.text);
    }
    return texts;
}

QRectF TResultados::titleRect() const {
    return ui->Chart1->chartLayout().title.rect;
}

QList<QRectF> TResultados::markRects() const {
    const BarChartLayout layout = ui->Chart1->chartLayout();
    QList<QRectF> rects;
    for (qsizetype i = 0; i < layout.marks.size(); ++i) {
        if (layout.marks[i].shown)
            rects.append(layout.marks[i].rect |
                         QRectF(layout.markLines[i].p1(), layout.markLines[i].p2()).normalized());
    }
    return rects;
}

QRectF TResultados::chartRect() const {
    return ui->Chart1->chartLayout().bounds;
}

void TResultados::Button1Click() {
    accept();
}
