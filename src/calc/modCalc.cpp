#include "calc/modCalc.h"

#include "platform/Conversions.h"
#include "platform/ScriptControl.h"
#include "script/NumberText.h"

#include <exception>
#include <string>

namespace modCalc {

namespace {

// An equation as stored, and the same text in UTF-8 as the engine reads it.
struct Equation {
    QString text;
    std::string utf8;
};

Equation g_equations[3];
platform::ScriptControl *g_engine = nullptr;

using Handover = platform::ScriptControl::Handover;

// Equation 1 hands X over as a statement, the others as code.
Handover handoverOf(int index)
{
    return index == 0 ? Handover::Statement : Handover::Code;
}

// The value of the equation at X; false on any failure of the engine.
bool valueAt(int index, double x, script::Value &value)
{
    const Equation &equation = g_equations[index];
    // A box of blanks leaves no equation: there is no value to show.
    if (!g_engine || equation.utf8.empty())
        return false;
    try {
        g_engine->AssignX(x, handoverOf(index));
        value = g_engine->Eval(std::string_view(equation.utf8));
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

QString evaluate(int index, double x)
{
    script::Value value;
    std::string text;
    return valueAt(index, x, value) && textOf(value, text) ? QString::fromStdString(text) : Undefined();
}

void store(int index, const QString &text)
{
    Equation &equation = g_equations[index];
    equation.text = platform::TrimSpaces(text).toString();
    equation.utf8 = equation.text.toStdString();
}

} // namespace

void UseEngine(platform::ScriptControl *engine)
{
    g_engine = engine;
}

void SetEquation1(const QString &text) { store(0, text); }
void SetEquation2(const QString &text) { store(1, text); }
void SetEquation3(const QString &text) { store(2, text); }

QString Equation1() { return g_equations[0].text; }
QString Equation2() { return g_equations[1].text; }
QString Equation3() { return g_equations[2].text; }

QString EvaluateEquation1(const double &X) { return evaluate(0, X); }
QString EvaluateEquation2(const double &X) { return evaluate(1, X); }
QString EvaluateEquation3(const double &X) { return evaluate(2, X); }

QString CellText(int index, double X, int decimals)
{
    platform::PatternBuffer buffer;
    return CellText(index, X, decimals, buffer);
}

QLatin1StringView CellText(int index, double X, int decimals, platform::PatternBuffer &buffer)
{
    const QLatin1StringView undefined("UNDEF");
    script::Value value;
    if (index < 0 || index > 2 || !valueAt(index, X, value))
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
        return platform::FormatPattern(script::leadingNumber(text), decimals, buffer);
    }
    }
}

} // namespace modCalc
