#pragma once

// The speed and memory goals of the benchmarks: each benchmark's median is recorded as it
// is reported, and a table of the figures beside their goals closes the run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace goals {

// Medians (or single runs) by benchmark name: real and processor time in the benchmark's unit,
// and counters.
struct Figure
{
    double time = 0;
    double cpuTime = 0;
    std::string unit;
    std::map<std::string, double> counters;
};

class Recorder : public benchmark::ConsoleReporter
{
public:
    // Plain text: the output is read in logs as often as on a terminal.
    Recorder()
        : ConsoleReporter(OO_Tabular)
    {
    }

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median")
                continue;
            Figure &f = figures[run.run_name.str()];
            f.time = run.GetAdjustedRealTime();
            f.cpuTime = run.GetAdjustedCPUTime();
            f.unit = benchmark::GetTimeUnitString(run.time_unit);
            for (const auto &[name, counter] : run.counters)
                f.counters[name] = counter.value;
        }
    }

    // The figure of a benchmark, by its name without the "/iterations:n" suffix.
    const Figure *find(const std::string &name) const
    {
        for (const auto &[key, figure] : figures) {
            if (key == name || key.rfind(name + "/", 0) == 0)
                return &figure;
        }
        return nullptr;
    }

    std::map<std::string, Figure> figures;
};

// One line of the closing table: what, the measured value, the goal, and whether it holds.
inline void line(const char *what, double value, const char *unit, const char *relation, double goal)
{
    const bool met = relation[0] == '<' ? value <= goal : value >= goal;
    std::printf("  %-46s %10.2f %-3s goal %s %-8g %s\n", what, value, unit, relation, goal, met ? "met" : "NOT MET");
}

} // namespace goals
