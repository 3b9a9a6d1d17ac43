// Whole runs through the real windows (offscreen), event processing included: the largest
// tabulation and plot beside gnuplot doing the same, memory over many runs and openings, and
// the start-up to the first paint beside a bare Qt window with a table.
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
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
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
// plotting formulas.
void prepareMain(frmMain &form)
{
    showPainted(form);
    form.txtFrom->setText(QStringLiteral("-10"));
    form.txtTo->setText(QStringLiteral("10"));
    form.txtInc->setText(QStringLiteral(".002"));
    platform::TextBox *const boxes[] = {form.txtFunc1, form.txtFunc2, form.txtFunc3};
    for (int n = 0; n < 3; ++n)
        boxes[n]->setText(QLatin1String(Equations[n]));
}

// The largest tabulation with the three equations.
void BM_Tabulation10001(benchmark::State &state)
{
    frmMain form;
    prepareMain(form);
    for (auto _ : state) {
        form.cmdEvaluate_Click();
        benchmark::DoNotOptimize(form.msGrid->TextMatrix(10001, 3));
    }
}
BENCHMARK(BM_Tabulation10001)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Plot3x10250(benchmark::State &state)
{
    frmMain form;
    prepareMain(form);
    frmGraph graph(form.graphInputs());
    showPainted(graph);
    for (auto _ : state)
        graph.cmdPlot_Click();
}
BENCHMARK(BM_Plot3x10250)->Unit(benchmark::kMillisecond)->Iterations(5);

// gnuplot beside ours, as a user would compare them: the same tabulation written by its
// `set table` and the same plot drawn by its png terminal at the drawing area's size. Each
// timing is gnuplot's own clock around the work, after one run of it to warm up, so its
// start-up is left out as ours is.
const char *const GnuplotFunctions = R"(set print "-"
f1(x) = sin(x) * x**-2
f2(x) = (x**2)-(5*x)+3
f3(x) = sqrt(abs(x))
set xrange [-10:10]
)";

struct GnuplotWork
{
    const char *setup;
    const char *work;  // "@" stands for the output file
};

const GnuplotWork GnuplotTable = {
    "set samples 10001\n",
    "set table \"@\"\n"
    "plot '+' using 1:(f1($1)):(f2($1)):(f3($1)) with table\n"
    "unset table\n",
};

const GnuplotWork GnuplotPng = {
    "set terminal png size 745,377\n"
    "set samples 10250\n"
    "set yrange [-10:10]\n"
    "set grid\n"
    "set xzeroaxis; set yzeroaxis\n",
    "set output \"@\"\n"
    "plot f1(x) with dots lc rgb \"blue\" notitle, f2(x) with dots lc rgb \"blue\" notitle, "
    "f3(x) with dots lc rgb \"blue\" notitle\n"
    "unset output\n",
};

// A folder of its own for gnuplot's scripts and outputs, removed at the end.
std::string g_gnuplotDir;

bool gnuplotPresent()
{
    return std::system("gnuplot --version >/dev/null 2>&1") == 0;
}

// gnuplot's time for the work in seconds, or -1 when it failed.
double gnuplotSeconds(const GnuplotWork &w)
{
    std::string work = w.work;
    const std::string output = g_gnuplotDir + "/output";
    for (std::size_t at = work.find('@'); at != std::string::npos; at = work.find('@', at + output.size()))
        work.replace(at, 1, output);
    const std::string script = g_gnuplotDir + "/script.gp";
    if (std::FILE *f = std::fopen(script.c_str(), "w")) {
        std::fprintf(f, "%s%sdo for [i=0:1] {\nt0 = time(0.0)\n%sif (i == 1) { print sprintf(\"%%.9f\", time(0.0) - t0) }\n}\n",
                     GnuplotFunctions, w.setup, work.c_str());
        std::fclose(f);
    } else {
        return -1;
    }
    std::FILE *out = popen(("gnuplot " + script + " 2>&1").c_str(), "r");
    if (!out)
        return -1;
    char line[256];
    double seconds = -1;
    while (std::fgets(line, sizeof line, out)) {
        char *end = nullptr;
        const double value = std::strtod(line, &end);
        seconds = end != line && (*end == '\n' || *end == 0) ? value : -1;
    }
    return pclose(out) == 0 ? seconds : -1;
}

void BM_Gnuplot(benchmark::State &state, const GnuplotWork &work)
{
    for (auto _ : state) {
        const double seconds = gnuplotSeconds(work);
        if (seconds < 0) {
            state.SkipWithError("gnuplot failed");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

// The graph window opened as the Graph button opens it, plotted and closed, 300 times: what
// the resident memory and the heap grow by after the first opening.
void BM_GraphOpenings300(benchmark::State &state)
{
    frmMain form;
    prepareMain(form);
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
    prepareMain(form);
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

void printGoals(const goals::Recorder &recorder, bool withGnuplot)
{
    std::printf("\nGoals (medians of this run)\n");
    const goals::Figure *table = recorder.find("BM_Tabulation10001");
    const goals::Figure *plot = recorder.find("BM_Plot3x10250");
    const goals::Figure *gnuplotTable = recorder.find("BM_Gnuplot/Table10001");
    const goals::Figure *gnuplotPng = recorder.find("BM_Gnuplot/Png3x10250");
    const goals::Figure *openings = recorder.find("BM_GraphOpenings300");
    const goals::Figure *tabulations = recorder.find("BM_Tabulations300");
    const goals::Figure *startup = recorder.find("BM_StartupToFirstPaint");
    if (!withGnuplot)
        std::printf("  gnuplot not found (Debian package gnuplot-nox): its comparisons are skipped\n");
    if (table)
        goals::line("largest tabulation (10001 x 3)", table->time, "ms", "<=", 10);
    if (table && gnuplotTable) {
        std::printf("  %-46s %10.2f ms\n", "gnuplot's set table, the same tabulation", gnuplotTable->time);
        goals::line("gnuplot's table / largest tabulation", gnuplotTable->time / table->time, "x", ">=", 3);
    }
    if (plot) {
        goals::line("largest plot (3 x 10250)", plot->time, "ms", "<=", 8);
        // Qt fills large areas of a picture on a second thread too; on a busy machine the
        // plot then waits for a core, which shows as real time beyond the processor time.
        std::printf("    %-44s processor time %.2f ms\n", "", plot->cpuTime);
    }
    if (plot && gnuplotPng) {
        std::printf("  %-46s %10.2f ms\n", "gnuplot's png terminal, the same plot", gnuplotPng->time);
        goals::line("gnuplot's png plot / largest plot", gnuplotPng->time / plot->time, "x", ">=", 3);
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
    const bool withGnuplot = gnuplotPresent();
    char folder[] = "/tmp/tarnwick-bench-XXXXXX";
    if (withGnuplot && mkdtemp(folder)) {
        g_gnuplotDir = folder;
        benchmark::RegisterBenchmark("BM_Gnuplot/Table10001", BM_Gnuplot, GnuplotTable)
            ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
        benchmark::RegisterBenchmark("BM_Gnuplot/Png3x10250", BM_Gnuplot, GnuplotPng)
            ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
    }
    benchmark::Initialize(&argc, argv);
    goals::Recorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);
    printGoals(recorder, withGnuplot);
    benchmark::Shutdown();
    if (!g_gnuplotDir.empty())
        std::system(("rm -rf " + g_gnuplotDir).c_str());
    return 0;
}
