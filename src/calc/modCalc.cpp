#include "calc/modCalc.h"

#include "platform/Conversions.h"
#include "platform/ScriptControl.h"

#include <exception>

namespace modCalc {

namespace {

QString g_equations[3];
platform::ScriptControl *g_engine = nullptr;

using Handover = platform::ScriptControl::Handover;

QString evaluate(const QString &equation, double x, Handover how)
{
    // A box of blanks leaves no equation: there is no value to show.
    if (!g_engine || equation.isEmpty())
        return Undefined();
    try {
        g_engine->AssignX(x, how);
        return QString::fromStdString(g_engine->Eval(equation).toText());
    } catch (const std::exception &) {
        return Undefined();
    }
}

} // namespace

void UseEngine(platform::ScriptControl *engine)
{
    g_engine = engine;
}

void SetEquation1(const QString &text) { g_equations[0] = platform::TrimSpaces(text).toString(); }
void SetEquation2(const QString &text) { g_equations[1] = platform::TrimSpaces(text).toString(); }
void SetEquation3(const QString &text) { g_equations[2] = platform::TrimSpaces(text).toString(); }

QString Equation1() { return g_equations[0]; }
QString Equation2() { return g_equations[1]; }
QString Equation3() { return g_equations[2]; }

QString EvaluateEquation1(const double &X) { return evaluate(g_equations[0], X, Handover::Statement); }
QString EvaluateEquation2(const double &X) { return evaluate(g_equations[1], X, Handover::Code); }
QString EvaluateEquation3(const double &X) { return evaluate(g_equations[2], X, Handover::Code); }

} // namespace modCalc
