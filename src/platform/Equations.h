#pragma once

#include <QString>

// The equations both windows hold, and the captions of the panels that show them, which the
// main window, the graph window, the help window's example and the result grid share.
namespace platform {

// How many equations the windows hold, tabulate and plot.
inline constexpr int EquationCount = 3;

// Both windows are as wide as the range and equation panels side by side need.
inline constexpr int EquationWindowWidth = 11460;

inline constexpr char ValuesCaption[] = "X Values";
inline constexpr char FunctionsCaption[] = "Functions";
inline constexpr char InstructionText[] = "Equations must be entered using an X. For example: Sin(X) * (X^-2).";

// "Equation #1" for index 0.
inline QString EquationCaption(int index)
{
    return QStringLiteral("Equation #%1").arg(index + 1);
}

// The result grid's header of equation index 0: "Y1 Values".
inline QString ResultCaption(int index)
{
    return QStringLiteral("Y%1 Values").arg(index + 1);
}

} // namespace platform
