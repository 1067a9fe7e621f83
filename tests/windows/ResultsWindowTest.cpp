// The results window: the share of each verdict, its marks and its bars.

#include "StudentWindows.h"

#include "LessonFiles.h"
#include "Unit5.h"
#include "Visit.h"

#include <QBarSet>
#include <QChartView>
#include <QStackedBarSeries>

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
            auto* series = qobject_cast<QStackedBarSeries*>(
                in<QChartView>(Resultados, "Chart1")->chart()->series().value(0));
            QVERIFY(series);
            QCOMPARE(series->objectName(), QString("Series1"));
            for (QBarSet* set : series->barSets()) {
                labels.append(set->label());
                values.append(set->at(labels.size() - 1));
            }
            QCOMPARE(text(Resultados, "Nombre"), QString("Nombre: Beatriz"));
            QCOMPARE(text(Resultados, "Leccion"), QString("Lección: Tema"));
            QCOMPARE(text(Resultados, "Correctas"), QString("Respuestas Correctas: 2"));
            QCOMPARE(text(Resultados, "Incorrectas"), QString("Respuestas Incorrectas: 1"));
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
};

int main(int argc, char** argv) {
    return StudentWindowsTest::run<ResultsWindowTest>(argc, argv);
}

#include "ResultsWindowTest.moc"
