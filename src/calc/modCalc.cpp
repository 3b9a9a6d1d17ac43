#include "calc/modCalc.h"

#include "main/frmMain.h"
#include "platform/Conversions.h"
#include "platform/ScriptControl.h"

#include <exception>

namespace modCalc {

namespace {

QString g_equations[3];

using Handover = platform::ScriptControl::Handover;

QString evaluate(const QString &equation, double x, Handover how)
{
    frmMain *form = frmMain::instance();
    // A box of blanks leaves no equation: there is no value to show.
    if (!form || equation.isEmpty())
        return Undefined();
    try {
        platform::ScriptControl &engine = form->scControl();
        engine.AssignX(x, how);
        return QString::fromStdString(engine.Eval(equation).toText());
    } catch (const std::exception &) {
        return Undefined();
    }
}

} // namespace

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
