// Whole runs through the real windows (offscreen), event processing included: the largest
// tabulation and plot, the event processing under them, memory over many runs and openings,
// and the start-up to the first paint beside a bare Qt window with a table.
#include "Goals.h"

#include "graph/frmGraph.h"
#include "main/frmMain.h"
#include "platform/FlexGrid.h"
#include "platform/Program.h"
#include "platform/TextBox.h"

#include <QApplication>
#include <QMainWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QWindow>

#include <malloc.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

extern char **environ;

namespace {

const char *const Equations[] = {"Sin(X) * (X^-2)", "(X^2)-(5*X)+3", "Sqr(Abs(X))"};

// Resident memory of the process in kB.
double residentKB()
{
    long pages = 0, resident = 0;
    if (std::FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1024;
}

// What the heap holds in use, in kB.
double heapKB()
{
    return static_cast<double>(mallinfo2().uordblks) / 1024;
}

// Shows the window and lets it paint, as it has when the user first presses a button.
void showPainted(QWidget &window)
{
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
}

// The main window with the largest range: -10 to 10 by .002 (10001 readings), and the three
// plotting formulas, or no equation at all.
void prepareMain(frmMain &form, bool withEquations)
{
    showPainted(form);
    form.txtFrom->setText(QStringLiteral("-10"));
    form.txtTo->setText(QStringLiteral("10"));
    form.txtInc->setText(QStringLiteral(".002"));
    platform::TextBox *const boxes[] = {form.txtFunc1, form.txtFunc2, form.txtFunc3};
    for (int n = 0; n < 3; ++n)
        boxes[n]->setText(withEquations ? QLatin1String(Equations[n]) : QLatin1String());
}

// The largest tabulation with the three equations, and the same run with the equation
// boxes empty: the X column only.
void BM_Tabulation10001(benchmark::State &state, bool withEquations)
{
    frmMain form;
    prepareMain(form, withEquations);
    for (auto _ : state) {
        form.cmdEvaluate_Click();
        benchmark::DoNotOptimize(form.msGrid->TextMatrix(10001, withEquations ? 3 : 0));
    }
}
BENCHMARK_CAPTURE(BM_Tabulation10001, x3, true)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_Tabulation10001, XOnly, false)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Plot3x10250(benchmark::State &state)
{
    frmMain form;
    prepareMain(form, true);
    frmGraph graph(form.graphInputs());
    showPainted(graph);
    for (auto _ : state)
        graph.cmdPlot_Click();
}
BENCHMARK(BM_Plot3x10250)->Unit(benchmark::kMillisecond)->Iterations(5);

// The floor under the plot: one pass of event processing per sample.
void BM_Yields30750(benchmark::State &state)
{
    for (auto _ : state)
        for (int i = 0; i < 30750; ++i)
            platform::DoEvents();
}
BENCHMARK(BM_Yields30750)->Unit(benchmark::kMillisecond)->Iterations(5);

// The graph window opened as the Graph button opens it, plotted and closed, 300 times: what
// the resident memory and the heap grow by after the first opening.
void BM_GraphOpenings300(benchmark::State &state)
{
    frmMain form;
    prepareMain(form, true);
    auto openPlotClose = [&form] {
        auto *graph = new frmGraph(form.graphInputs());
        QTimer::singleShot(0, graph, [graph] {
            graph->cmdPlot_Click();
            graph->close();
        });
        platform::ShowModal(graph, &form);
    };
    for (auto _ : state) {
        openPlotClose();
        const double rss = residentKB(), heap = heapKB();
        for (int i = 1; i < 300; ++i)
            openPlotClose();
        state.counters["rss_growth_kB"] = residentKB() - rss;
        state.counters["heap_growth_kB"] = heapKB() - heap;
    }
}
BENCHMARK(BM_GraphOpenings300)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1);

// The largest tabulation 300 times: what the memory grows by after the first.
void BM_Tabulations300(benchmark::State &state)
{
    frmMain form;
    prepareMain(form, true);
    for (auto _ : state) {
        form.cmdEvaluate_Click();
        const double rss = residentKB(), heap = heapKB();
        for (int i = 1; i < 300; ++i)
            form.cmdEvaluate_Click();
        state.counters["rss_growth_kB"] = residentKB() - rss;
        state.counters["heap_growth_kB"] = heapKB() - heap;
    }
}
BENCHMARK(BM_Tabulations300)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1);

// Start-up as a whole process, to the first paint of its window: the program's main window
// beside a bare Qt main window holding a table. Each runs this executable with
// --startup-child=program|bare, which paints its window once and exits.
double medianStartupMs(const char *self, const char *which, int runs)
{
    std::vector<double> times;
    const std::string option = std::string("--startup-child=") + which;
    for (int i = 0; i < runs; ++i) {
        char *args[] = {const_cast<char *>(self), const_cast<char *>(option.c_str()), nullptr};
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        if (posix_spawn(&pid, self, nullptr, nullptr, args, environ) != 0)
            return -1;
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return -1;
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

const char *g_self = nullptr;

void BM_StartupToFirstPaint(benchmark::State &state)
{
    for (auto _ : state) {
        const double program = medianStartupMs(g_self, "program", 15);
        const double bare = medianStartupMs(g_self, "bare", 15);
        state.counters["program_ms"] = program;
        state.counters["bare_ms"] = bare;
        state.counters["ratio"] = bare > 0 ? program / bare : 0;
    }
}
BENCHMARK(BM_StartupToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1);

// Exits the process once the window has painted for the first time.
class ExitAfterFirstPaint : public QObject
{
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, [] { _exit(0); });
        return false;
    }
};

int startupChild(int argc, char **argv, const char *which)
{
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> window;
    if (std::strcmp(which, "program") == 0) {
        platform::PrepareApplication();
        window = std::make_unique<frmMain>();
    } else {
        auto *bare = new QMainWindow;
        bare->setCentralWidget(new QTableWidget(100, 4));
        window.reset(bare);
    }
    ExitAfterFirstPaint exitAfterPaint;
    window->installEventFilter(&exitAfterPaint);
    window->show();
    return QApplication::exec();
}

void printGoals(const goals::Recorder &recorder)
{
    std::printf("\nGoals (medians of this run)\n");
    const goals::Figure *full = recorder.find("BM_Tabulation10001/x3");
    const goals::Figure *xOnly = recorder.find("BM_Tabulation10001/XOnly");
    const goals::Figure *plot = recorder.find("BM_Plot3x10250");
    const goals::Figure *yields = recorder.find("BM_Yields30750");
    const goals::Figure *openings = recorder.find("BM_GraphOpenings300");
    const goals::Figure *tabulations = recorder.find("BM_Tabulations300");
    const goals::Figure *startup = recorder.find("BM_StartupToFirstPaint");
    if (full)
        goals::line("largest tabulation (10001 x 3)", full->time, "ms", "<=", 25);
    if (xOnly)
        goals::line("the same, X column only", xOnly->time, "ms", "<=", 10);
    if (full && xOnly)
        goals::line("largest tabulation / X column only", full->time / xOnly->time, "x", "<=", 2);
    if (xOnly && yields) {
        // One yield per reading: the floor under the tabulation on this machine.
        const double floor = yields->time * 10001 / 30750;
        std::printf("  %-46s %10.2f ms  (the yields under the tabulation)\n", "10001 yields alone", floor);
        std::printf("  %-46s %10.2f x\n", "X column only / its yields alone", xOnly->time / floor);
    }
    if (plot)
        goals::line("largest plot (3 x 10250)", plot->time, "ms", "<=", 30);
    if (plot && yields) {
        std::printf("  %-46s %10.2f ms  (the yields under the plot)\n", "30750 yields alone", yields->time);
        std::printf("  %-46s %10.2f x\n", "largest plot / its yields alone", plot->time / yields->time);
    }
    if (openings)
        goals::line("300 graph openings: resident memory growth", openings->counters.at("rss_growth_kB"), "kB",
                    "<=", 2048);
    if (tabulations)
        goals::line("300 tabulations: resident memory growth", tabulations->counters.at("rss_growth_kB"), "kB",
                    "<=", 2048);
    if (startup) {
        std::printf("  %-46s %10.2f ms  (a bare Qt window with a table: %.2f ms)\n", "start-up to the first paint",
                    startup->counters.at("program_ms"), startup->counters.at("bare_ms"));
        goals::line("start-up / bare Qt window", startup->counters.at("ratio"), "x", "<=", 1.5);
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--startup-child=", 16) == 0)
            return startupChild(argc, argv, argv[i] + 16);
    }
    g_self = argv[0];
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    goals::Recorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);
    printGoals(recorder);
    benchmark::Shutdown();
    return 0;
}
