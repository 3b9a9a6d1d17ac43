#include "calc/modCalc.h"

#include "platform/Conversions.h"
#include "platform/ScriptControl.h"

#include <array>
#include <exception>
#include <string>

namespace modCalc {

namespace {

// The equations as stored, in UTF-8 as the engine reads them.
std::array<std::string, platform::EquationCount> g_equations;
platform::ScriptControl *g_engine = nullptr;

// The value of the equation at X; false on any failure of the engine.
bool valueAt(int index, double x, script::Value &value)
{
    const std::string &equation = g_equations[index];
    // A box of blanks leaves no equation: there is no value to show.
    if (!g_engine || equation.empty())
        return false;
    try {
        g_engine->AssignX(x);
        value = g_engine->Eval(std::string_view(equation));
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

// The value's text; false where it has none (Null).
bool textOf(const script::Value &value, std::string &text)
{
    try {
        text = value.toText();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

} // namespace

void UseEngine(platform::ScriptControl *engine)
{
    g_engine = engine;
}

void SetEquation(int index, const QString &text)
{
    g_equations[index] = platform::TrimSpaces(text).toString().toStdString();
}

QString EvaluateEquation(int index, double X)
{
    script::Value value;
    std::string text;
    return valueAt(index, X, value) && textOf(value, text) ? QString::fromStdString(text) : Undefined();
}

QString CellText(int index, double X, int decimals)
{
    platform::PatternBuffer buffer;
    return CellText(index, X, decimals, buffer);
}

QLatin1StringView CellText(int index, double X, int decimals, platform::PatternBuffer &buffer)
{
    const QLatin1StringView undefined("UNDEF");
    script::Value value;
    if (index < 0 || index >= platform::EquationCount || !valueAt(index, X, value))
        return undefined;
    switch (value.type()) {
    case script::VarType::Double:
    case script::VarType::Integer:
    case script::VarType::Long:
        // The text of a whole number or a Double reads back as a number with the same
        // 15-digit form, which is all the pattern looks at: the value gives the same cell.
        return platform::FormatPattern(value.toDouble(), decimals, buffer);
    default: {
        std::string text;
        // A value whose text reads "UNDEF" shows as it reads, like a failure.
        if (!textOf(value, text) || text == "UNDEF")
            return undefined;
        return platform::FormatPattern(platform::LeadingNumber(text), decimals, buffer);
    }
    }
}

} // namespace modCalc
