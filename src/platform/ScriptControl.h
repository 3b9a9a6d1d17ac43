#pragma once

#include "script/Engine.h"
#include "script/NumberText.h"

#include <QString>

#include <optional>
#include <string_view>

namespace platform {

/// The script control a window holds (scControl): the engine with the language "VBScript"
/// and the engine's per-call time limit. Failures propagate as script::ScriptError.
class ScriptControl
{
public:

    QString Language() const { return QStringLiteral("VBScript"); }
    /// Per-call time limit in milliseconds.
    int Timeout() const { return engine_.timeout(); }

    void ExecuteStatement(const QString &statement);
    void AddCode(const QString &code);
    script::Value Eval(const QString &expression);
    void Reset() { engine_.Reset(); }

    // UTF-8 overloads for the hot path of plotting and tabulation (no QString round trip).
    void ExecuteStatement(std::string_view statement) { engine_.ExecuteStatement(statement); }
    void AddCode(std::string_view code) { engine_.AddCode(code); }
    script::Value Eval(std::string_view expression) { return engine_.Eval(expression); }
    // Literals pick the UTF-8 path rather than being ambiguous.
    void ExecuteStatement(const char *statement) { engine_.ExecuteStatement(statement); }
    void AddCode(const char *code) { engine_.AddCode(code); }
    script::Value Eval(const char *expression) { return engine_.Eval(expression); }

    /// Assigns X as running "X=" and X's number text (at most 15 significant digits) would:
    /// the engine assigns what the text reads as (Engine::AssignNumber) without writing it.
    /// An X without number text (an infinity) raises overflow (6).
    void AssignX(double x);
    /// What AssignX(x) assigns, for a run that hands the same x over again (a plot samples the
    /// same X for each equation) to work out once; none where AssignX raises an error.
    static std::optional<script::Value> XValue(double x);
    /// Assigns X a value XValue gave.
    void AssignX(const script::Value &x);

private:
    script::Engine engine_;
};

} // namespace platform
