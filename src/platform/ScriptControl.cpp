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

void ScriptControl::AssignX(double x)
{
    // The engine assigns what "X=<text>" reads as without writing it out and reading it back.
    engine_.AssignNumber("X", x);
}

std::optional<script::Value> ScriptControl::XValue(double x)
{
    try {
        return script::Engine::NumberValue(x);
    } catch (const script::ScriptError &) {
        return std::nullopt;
    }
}

void ScriptControl::AssignX(const script::Value &x)
{
    engine_.AssignValue("X", x);
}

} // namespace platform
