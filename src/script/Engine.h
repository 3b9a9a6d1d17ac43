#pragma once

#include "script/Builtins.h"
#include "script/Deadline.h"
#include "script/Bytecode.h"
#include "script/ScriptError.h"
#include "script/Value.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace script {

/// The expression engine: global variables, statements and expressions of the language.
/// Each distinct text is compiled once and kept in a small cache; nothing a caller can
/// observe depends on that cache. Every failure throws ScriptError.
class Engine
{
public:
    static constexpr std::size_t kMaxTextLength = 65536; ///< longer texts raise error 1001
    static constexpr std::size_t kMaxVariables = 4096;   ///< more globals raise error 7
    static constexpr int kDefaultTimeoutMs = 10000;

    Engine();
    ~Engine();
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;

    /// Runs assignments ("X=2", several separated by ':' or line ends) in the global scope.
    void ExecuteStatement(std::string_view code);
    /// Runs a line of top-level code at once, like ExecuteStatement; the line is not kept.
    void AddCode(std::string_view code);
    /// Assigns the number as ExecuteStatement("<name>=" + its writeNumberText text) would:
    /// the same value, bit for bit, and the same type (Integer, Long or Double), without
    /// writing or reading the text. The name is a plain variable name. Error 6 (overflow)
    /// for an infinity or NaN, which have no text.
    void AssignNumber(std::string_view name, double value);
    /// The value AssignNumber assigns for the number, to be assigned by AssignValue: a caller
    /// that hands the same number over again works it out once. Error 6 as AssignNumber.
    static Value NumberValue(double value);
    /// Assigns the value to the plain variable name, as AssignNumber does.
    void AssignValue(std::string_view name, const Value &value);
    /// The value of an expression with the current globals (empty text gives Empty).
    Value Eval(std::string_view expression);
    /// Forgets every variable and compiled text and restarts Rnd's sequence.
    void Reset();

    /// Per-call time limit in milliseconds; a call running longer, reading its text
    /// included, raises error 18. Zero or less means no limit.
    void setTimeout(int ms) noexcept { timeoutMs_ = ms; }
    int timeout() const noexcept { return timeoutMs_; }
    /// The clock the time limit reads (the steady clock unless replaced, as tests do).
    void setClock(Deadline::Now now) noexcept { clock_ = now; }

private:
    struct CacheEntry
    {
        std::string text;
        std::optional<Program> program;
        std::optional<ScriptError> error; // texts that do not compile fail the same way again
    };

    class Cache
    {
    public:
        static constexpr std::size_t kCapacity = 64;
        CacheEntry &find(std::string_view text, bool expression, Deadline &deadline);
        void clear();

    private:
        std::unordered_map<std::string, std::unique_ptr<CacheEntry>> entries_;
        std::array<CacheEntry *, 4> recent_{}; // most recently used first
    };

    void runStatements(std::string_view code);
    bool tryAssignNumber(std::string_view code);
    // The global of the name, remembered for the next assignment to the same name.
    Value &assignedGlobal(std::string_view name);
    Value run(Program &program);
    int slotFor(const std::string &lowerName, bool create);
    void startCall() noexcept { deadline_.start(timeoutMs_, clock_); }

    std::vector<Value> globals_;
    std::unordered_map<std::string, int> slots_;
    std::vector<Value> stack_;
    Cache statements_;
    Cache expressions_;
    RandomState random_;
    std::string lastAssigned_; // name and slot of the last "name=number" fast path
    int lastAssignedSlot_ = -1;
    // The last number AssignNumber read and the value its text reads as: a table row hands
    // the same X to each of its equations.
    std::uint64_t lastNumberBits_ = 0;
    Value lastNumberValue_;
    bool lastNumberKnown_ = false;
    int timeoutMs_ = kDefaultTimeoutMs;
    Deadline::Now clock_ = &Deadline::Clock::now;
    Deadline deadline_;
};

} // namespace script
