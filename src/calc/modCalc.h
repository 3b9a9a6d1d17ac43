#pragma once

#include "platform/Conversions.h"
#include "platform/Equations.h"

#include <QLatin1StringView>
#include <QString>

namespace platform {
class ScriptControl;
}

// The equations of the tabulation and their evaluation through the engine the main
// window hands over. An evaluation answers the value as text, or "UNDEF" on any failure.
namespace modCalc {

// The engine evaluations run in; the main window hands over its own and takes it back when
// it goes. Without one every evaluation is "UNDEF".
void UseEngine(platform::ScriptControl *engine);

// Equations are numbered by index from 0 to EquationCount - 1; the numbered names below
// stand for the first three.

// Stores the equation with leading and trailing spaces (only spaces) removed.
void SetEquation(int index, const QString &text);
// Assigns X in the engine, then evaluates the stored equation.
QString EvaluateEquation(int index, double X);

inline void SetEquation1(const QString &text) { SetEquation(0, text); }
inline void SetEquation2(const QString &text) { SetEquation(1, text); }
inline void SetEquation3(const QString &text) { SetEquation(2, text); }

inline QString EvaluateEquation1(const double &X) { return EvaluateEquation(0, X); }
inline QString EvaluateEquation2(const double &X) { return EvaluateEquation(1, X); }
inline QString EvaluateEquation3(const double &X) { return EvaluateEquation(2, X); }

// The table's cell of equation index at X: the evaluation's text read as its
// leading number and shown with the decimal places, or "UNDEF" as the evaluation gives it.
QString CellText(int index, double X, int decimals);
// The same text without a heap text: written into the buffer, or "UNDEF".
QLatin1StringView CellText(int index, double X, int decimals, platform::PatternBuffer &buffer);

// The text an evaluation yields when the engine fails.
inline QString Undefined() { return QStringLiteral("UNDEF"); }

} // namespace modCalc
