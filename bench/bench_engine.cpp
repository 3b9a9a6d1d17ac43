// One plotting sample as the graph window takes it (X assigned as its 15-digit text reads,
// Eval, toDouble) beside the same formula compiled natively and evaluated by muparser.
#include "Goals.h"

#include "script/Engine.h"
#include "script/NumberText.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

struct Formula
{
    const char *name;
    const char *script;  // the equation as the user types it
    const char *muparser; // the same formula in muparser's syntax
    double (*native)(double);
};

const Formula formulas[] = {
    {"Sin(X)*(X^-2)", "Sin(X) * (X^-2)", "sin(x)*(x^-2)", [](double x) { return std::sin(x) * std::pow(x, -2.0); }},
    {"(X^2)-(5*X)+3", "(X^2)-(5*X)+3", "(x^2)-(5*x)+3", [](double x) { return std::pow(x, 2.0) - (5 * x) + 3; }},
    {"Sqr(Abs(X))", "Sqr(Abs(X))", "sqrt(abs(x))", [](double x) { return std::sqrt(std::fabs(x)); }},
};

// X walks the plot's 10250 samples over [-10, 10], never landing on 0.
constexpr int kSamples = 10250;
constexpr double kStep = 20.0 / kSamples;
double sampleX(int i) { return -10 + (i % kSamples + 0.5) * kStep; }

void wholeSample(benchmark::State &state, const Formula &f)
{
    script::Engine engine;
    int i = 0;
    for (auto _ : state) {
        engine.AssignNumber("X", sampleX(i++));
        benchmark::DoNotOptimize(engine.Eval(f.script).toDouble());
    }
}

void evalOnly(benchmark::State &state, const Formula &f)
{
    script::Engine engine;
    engine.ExecuteStatement("X=1.2345");
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.Eval(f.script).toDouble());
}

void native(benchmark::State &state, const Formula &f)
{
    int i = 0;
    for (auto _ : state) {
        double x = sampleX(i++);
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(f.native(x));
    }
}

void muparser(benchmark::State &state, const Formula &f)
{
    double x = 0;
    mu::Parser parser;
    parser.DefineVar("x", &x);
    parser.SetExpr(f.muparser);
    int i = 0;
    for (auto _ : state) {
        x = sampleX(i++);
        benchmark::DoNotOptimize(parser.Eval());
    }
}

void numberToText(benchmark::State &state)
{
    char buf[script::kNumberTextCapacity];
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(script::writeNumberText(sampleX(i++), buf));
}

void assignNumber(benchmark::State &state)
{
    script::Engine engine;
    int i = 0;
    for (auto _ : state)
        engine.AssignNumber("X", sampleX(i++));
}

void assignX(benchmark::State &state)
{
    script::Engine engine;
    char statement[2 + script::kNumberTextCapacity] = {'X', '='};
    const std::size_t n = script::writeNumberText(-9.99414634146341, statement + 2);
    for (auto _ : state)
        engine.ExecuteStatement(std::string_view(statement, n + 2));
}

// Texts at the length limit, each compiled afresh (a new engine per iteration): reading
// and evaluating must stay linear in the text's length.
void longText(benchmark::State &state, std::string text)
{
    for (auto _ : state) {
        script::Engine engine;
        try {
            benchmark::DoNotOptimize(engine.Eval(text));
        } catch (const script::ScriptError &) {
        }
    }
}

std::string quotePairsLiteral()
{
    std::string text = "\"";
    while (text.size() + 2 < script::Engine::kMaxTextLength)
        text += "\"\"";
    return text + "\"";
}

std::string concatenationChain()
{
    std::string text = "\"a\"";
    while (text.size() + 4 <= script::Engine::kMaxTextLength)
        text += "&\"a\"";
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    for (const Formula &f : formulas) {
        benchmark::RegisterBenchmark((std::string("WholeSample/") + f.name).c_str(), wholeSample, f);
        benchmark::RegisterBenchmark((std::string("Native/") + f.name).c_str(), native, f);
        benchmark::RegisterBenchmark((std::string("MuParser/") + f.name).c_str(), muparser, f);
        benchmark::RegisterBenchmark((std::string("EvalOnly/") + f.name).c_str(), evalOnly, f);
    }
    benchmark::RegisterBenchmark("LongText/64KB literal of quote pairs", longText, quotePairsLiteral())
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("LongText/64KB chain of &", longText, concatenationChain())
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("NumberToText", numberToText);
    benchmark::RegisterBenchmark("ExecuteStatement/X=number", assignX);
    benchmark::RegisterBenchmark("AssignNumber/X", assignNumber);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    goals::Recorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);
    std::printf("\nGoals (medians of this run)\n");
    const goals::Figure *handover = recorder.find("AssignNumber/X");
    for (const Formula &f : formulas) {
        const goals::Figure *sample = recorder.find(std::string("WholeSample/") + f.name);
        if (!sample)
            continue;
        goals::line((std::string("one plotting sample: ") + f.script).c_str(), sample->time, "ns", "<=", 60);
        // Its parts: X's 15-digit reading and the evaluation, beside muparser's evaluation.
        const goals::Figure *eval = recorder.find(std::string("EvalOnly/") + f.name);
        const goals::Figure *mu = recorder.find(std::string("MuParser/") + f.name);
        if (handover && eval && mu)
            std::printf("    %-44s X handed over %.1f ns + Eval %.1f ns; muparser %.1f ns\n", "", handover->time,
                        eval->time, mu->time);
    }
    benchmark::Shutdown();
    return 0;
}
