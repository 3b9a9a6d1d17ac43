#include "platform/ScriptControl.h"

#include "script/ScriptError.h"

#include <QByteArray>

#include <cmath>

namespace platform {

namespace {

std::string_view view(const QByteArray &utf8)
{
    return std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

} // namespace

void ScriptControl::ExecuteStatement(const QString &statement)
{
    const QByteArray utf8 = statement.toUtf8();
    engine_.ExecuteStatement(view(utf8));
}

void ScriptControl::AddCode(const QString &code)
{
    const QByteArray utf8 = code.toUtf8();
    engine_.AddCode(view(utf8));
}

script::Value ScriptControl::Eval(const QString &expression)
{
    const QByteArray utf8 = expression.toUtf8();
    return engine_.Eval(view(utf8));
}

void ScriptControl::AssignX(double x, Handover how)
{
    if (!std::isfinite(x))
        throw script::ScriptError(script::errc::Overflow);
    char statement[2 + script::kNumberTextCapacity] = {'X', '='};
    const std::string_view assignment(statement, 2 + script::writeNumberText(x, statement + 2));
    if (how == Handover::Statement)
        engine_.ExecuteStatement(assignment);
    else
        engine_.AddCode(assignment);
}

} // namespace platform
