// The results window: the share of each verdict, its marks and its bars.

#include "tests/windows/StudentWindows.h"

#include "lesson/LessonFiles.h"
#include "platform/chart/BarChartView.h"
#include "study/Visit.h"
#include "windows/Unit5.h"

#include <QImage>
#include <QPushButton>

#include <array>

using Fixture::whenModal;

class ResultsWindowTest : public StudentWindowsTest {
    Q_OBJECT

private slots:
    void resultsShowTheSharesOfEachVerdict() {
        NombreAlumno = QStringLiteral("Beatriz");
        NombreLeccion = QStringLiteral("Tema");
        NumCorrectas = 2;
        NumIncorrectas = 1;
        NumPendientes = 0;
        QStringList marks;
        QStringList labels;
        QList<qreal> values;
        whenModal(Resultados, [&] {
            marks = Resultados->markTexts();
            for (const ChartBar& bar : in<BarChartView>(Resultados, "Chart1")->chart().bars) {
                labels.append(bar.label);
                values.append(bar.value);
            }
            QCOMPARE(text(Resultados, "Nombre"), QString("Nombre: Beatriz"));
            QCOMPARE(text(Resultados, "Leccion"), QString("Lección: Tema"));
            QCOMPARE(text(Resultados, "Correctas"), QString("Respuestas Correctas: 2"));
            QCOMPARE(text(Resultados, "Incorrectas"), QString("Respuestas Incorrectas: 1"));
            // The window opens on «Cerrar», the one thing to do in it; the chart comes by Tab.
            QCOMPARE(Resultados->focusWidget(), in<QPushButton>(Resultados, "Button1"));
            click(Resultados, "Button1");
        });
        Resultados->ShowResults();
        QCOMPARE(labels, QStringList({"Correctas", "Incorrectas"}));
        QCOMPARE(marks, QStringList({"66.7", "33.3"}));
        QVERIFY(qAbs(values[0] - 200.0 / 3) < 1e-9);
        QVERIFY(qAbs(values[1] - 100.0 / 3) < 1e-9);

        // Only pending answers: the other two bars stand at 0 and show it.
        NumCorrectas = 0;
        NumIncorrectas = 0;
        NumPendientes = 4;
        whenModal(Resultados, [&] {
            marks = Resultados->markTexts();
            click(Resultados, "Button1");
        });
        Resultados->ShowResults();
        QCOMPARE(marks, QStringList({"0", "0", "100"}));
    }

    // Every mark, from 0 to 100, and its line stay inside the chart, clear of the title and of
    // each other.
    void everyMarkStaysClearOfTheTitleAndTheOthers() {
        for (const auto& c : {std::array{5, 0, 0}, std::array{0, 0, 4}}) {
            NumCorrectas = c[0];
            NumIncorrectas = c[1];
            NumPendientes = c[2];
            QList<QRectF> drawn; // the marks with their lines, and the title
            QRectF chart;
            whenModal(Resultados, [&] {
                drawn = Resultados->markRects() << Resultados->titleRect();
                chart = Resultados->chartRect();
                click(Resultados, "Button1");
            });
            Resultados->ShowResults();
            QCOMPARE(drawn.size(), c[2] ? 4 : 3);
            for (qsizetype i = 0; i < drawn.size(); ++i) {
                QVERIFY(chart.contains(drawn[i]));
                for (qsizetype j = i + 1; j < drawn.size(); ++j)
                    QVERIFY(!drawn[i].intersects(drawn[j]));
            }
        }
    }

    // Painted into a picture, the chart shows the green, red and blue bars side by side, each
    // as high as its share of the axis.
    void theChartsPictureShowsEachBarAtItsHeight() {
        NumCorrectas = 1;
        NumIncorrectas = 1;
        NumPendientes = 2;
        QImage picture;
        QRectF plot;
        whenModal(Resultados, [&] {
            auto* chart = in<BarChartView>(Resultados, "Chart1");
            picture = QImage(chart->size(), QImage::Format_RGB32);
            chart->render(&picture);
            plot = chart->chartLayout().plot;
            click(Resultados, "Button1");
        });
        Resultados->ShowResults();
        const std::array<std::pair<QColor, double>, 3> bars = {
            {{QColor(0, 128, 0), 25}, {QColor(255, 0, 0), 25}, {QColor(0, 0, 255), 50}}};
        int lastRight = -1;
        for (const auto& [colour, share] : bars) {
            // Inside the plot: the titles around it are blue too.
            const QRect area = plot.toAlignedRect() & picture.rect();
            QRect found;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    if (picture.pixelColor(x, y) == colour)
                        found |= QRect(x, y, 1, 1);
                }
            }
            QVERIFY2(!found.isEmpty(), qPrintable(colour.name()));
            QVERIFY(found.left() > lastRight);
            lastRight = found.right();
            QVERIFY(found.width() > 20);
            QVERIFY(qAbs(found.bottom() + 1 - plot.bottom()) <= 1.5);
            QVERIFY2(qAbs(found.height() - share / 100 * plot.height()) <= 1.5,
                     qPrintable(QString::number(found.height())));
        }
    }
};

int main(int argc, char** argv) {
    return StudentWindowsTest::run<ResultsWindowTest>(argc, argv);
}

#include "ResultsWindowTest.moc"
