#pragma once

#include "platform/Conversions.h"

#include <QLatin1StringView>
#include <QString>

namespace platform {
class ScriptControl;
}

// The three equations of the tabulation and their evaluation through the engine the main
// window hands over. An evaluation answers the value as text, or "UNDEF" on any failure.
namespace modCalc {

// The engine evaluations run in; the main window hands over its own and takes it back when
// it goes. Without one every evaluation is "UNDEF".
void UseEngine(platform::ScriptControl *engine);

// Stores the equation with leading and trailing spaces (only spaces) removed.
void SetEquation1(const QString &text);
void SetEquation2(const QString &text);
void SetEquation3(const QString &text);

QString Equation1();
QString Equation2();
QString Equation3();

// Runs "X=<number>" in the engine (ExecuteStatement for equation 1, AddCode for 2 and 3),
// then evaluates the stored equation.
QString EvaluateEquation1(const double &X);
QString EvaluateEquation2(const double &X);
QString EvaluateEquation3(const double &X);

// The table's cell of equation index (0 to 2) at X: the evaluation's text read as its
// leading number and shown with the decimal places, or "UNDEF" as the evaluation gives it.
QString CellText(int index, double X, int decimals);
// The same text without a heap text: written into the buffer, or "UNDEF".
QLatin1StringView CellText(int index, double X, int decimals, platform::PatternBuffer &buffer);

// The text an evaluation yields when the engine fails.
inline QString Undefined() { return QStringLiteral("UNDEF"); }

} // namespace modCalc
