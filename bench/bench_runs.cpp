// Whole runs through the real windows (offscreen), event processing included: a tabulation
// of 10001 readings and a plot of 3 x 10250 samples, each with three equations.
#include "graph/frmGraph.h"
#include "main/frmMain.h"
#include "platform/FlexGrid.h"
#include "platform/TextBox.h"

#include <QApplication>
#include <QPushButton>

#include <benchmark/benchmark.h>

namespace {

void BM_Tabulation10001x3(benchmark::State &state)
{
    frmMain form;
    form.show();
    form.txtFrom->setText(QStringLiteral("-10"));
    form.txtTo->setText(QStringLiteral("10"));
    form.txtInc->setText(QStringLiteral(".002"));
    form.txtFunc1->setText(QStringLiteral("Sin(X) * (X^-2)"));
    form.txtFunc2->setText(QStringLiteral("(X^2)-(5*X)+3"));
    form.txtFunc3->setText(QStringLiteral("Sqr(Abs(X))"));
    for (auto _ : state) {
        form.cmdEvaluate_Click();
        benchmark::DoNotOptimize(form.msGrid->TextMatrix(10001, 3));
    }
    state.counters["rows"] = form.msGrid->Rows() - 1;
}
BENCHMARK(BM_Tabulation10001x3)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Plot3x10250(benchmark::State &state)
{
    frmMain form;
    frmGraph graph;
    graph.show();
    graph.txtFrom->setText(QStringLiteral("-10"));
    graph.txtTo->setText(QStringLiteral("10"));
    graph.txtFunc_1->setText(QStringLiteral("Sin(X) * (X^-2)"));
    graph.txtFunc_2->setText(QStringLiteral("(X^2)-(5*X)+3"));
    graph.txtFunc_3->setText(QStringLiteral("Sqr(Abs(X))"));
    for (auto _ : state)
        graph.cmdPlot_Click();
}
BENCHMARK(BM_Plot3x10250)->Unit(benchmark::kMillisecond)->Iterations(5);

// The floor under both: one pass of event processing per sample.
void BM_ProcessEvents30750(benchmark::State &state)
{
    for (auto _ : state)
        for (int i = 0; i < 30750; ++i)
            QCoreApplication::processEvents();
}
BENCHMARK(BM_ProcessEvents30750)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
