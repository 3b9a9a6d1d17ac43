#pragma once

#include <QString>

// The three equations of the tabulation and their evaluation through the main window's
// script engine. An evaluation answers the value as text, or "UNDEF" on any failure.
namespace modCalc {

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

// The text an evaluation yields when the engine fails.
inline QString Undefined() { return QStringLiteral("UNDEF"); }

} // namespace modCalc
