#include "script/Engine.h"

#include "script/Chars.h"
#include "script/Compiler.h"
#include "script/Lexer.h"
#include "script/NumberText.h"
#include "script/Operators.h"

#include <bit>
#include <cmath>

namespace script {

namespace {

// A literal after a minus sign: a Double changes its sign, a whole number goes through the
// minus operator (which widens -32768's Long and keeps Integer 0 at 0).
void negateLiteral(Value &v)
{
    static const Operator &minus = operatorAt(findOperator("-", 1));
    if (v.type() == VarType::Double)
        v = Value::number(-v.doubleValue());
    else
        minus.apply(v, v, 0);
}

void checkLength(std::string_view text)
{
    if (text.size() > Engine::kMaxTextLength)
        throw ScriptError(errc::CompileOutOfMemory, "text longer than 65536 characters");
}

// The value of a numeric operand for the evaluator's fast paths.
bool realOperand(const Value &v, double &out) noexcept
{
    switch (v.type()) {
    case VarType::Double:
        out = v.doubleValue();
        return true;
    case VarType::Integer:
    case VarType::Long:
        out = v.integerValue();
        return true;
    default:
        return false;
    }
}

} // namespace

Engine::Engine() = default;
Engine::~Engine() = default;

void Engine::ExecuteStatement(std::string_view code)
{
    checkLength(code);
    startCall();
    if (!tryAssignNumber(code))
        runStatements(code);
}

void Engine::AddCode(std::string_view code)
{
    // Top-level code runs at once; keeping the line would only grow without bound.
    ExecuteStatement(code);
}

Value Engine::Eval(std::string_view expression)
{
    checkLength(expression);
    startCall();
    CacheEntry &entry = expressions_.find(expression, true, deadline_);
    if (entry.error)
        throw *entry.error;
    return run(*entry.program);
}

void Engine::Reset()
{
    globals_.clear();
    slots_.clear();
    stack_.clear();
    statements_.clear();
    expressions_.clear();
    random_.reset();
    lastAssigned_.clear();
    lastAssignedSlot_ = -1;
}

void Engine::runStatements(std::string_view code)
{
    CacheEntry &entry = statements_.find(code, false, deadline_);
    if (entry.error)
        throw *entry.error;
    run(*entry.program);
}

// "name=number" (the way X is handed over for every sample) without the compiler:
// the same literal rules, the same negation, the same global.
bool Engine::tryAssignNumber(std::string_view code)
{
    if (code.empty() || !isLetter(code[0]))
        return false;
    std::size_t i = 1;
    while (i < code.size() && isNameChar(code[i]))
        ++i;
    if (i >= code.size() || code[i] != '=' || i > Lexer::kMaxNameLength)
        return false;
    const std::string_view name = code.substr(0, i);
    std::size_t start = i + 1;
    const bool negative = start < code.size() && code[start] == '-';
    if (negative)
        ++start;
    const std::string_view literal = code.substr(start);
    bool badExponent = false;
    if (literal.empty() || scanDecimal(literal, badExponent) != literal.size() || badExponent)
        return false;

    // A name assigned last time is known to be a variable's.
    if (!sameName(name, lastAssigned_) && (Lexer::isKeyword(name) || findBuiltin(name) >= 0))
        return false;
    Value v = Lexer::decimalLiteral(literal);
    if (negative)
        negateLiteral(v);
    assignedGlobal(name).assign(v);
    return true;
}

void Engine::AssignNumber(std::string_view name, double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    if (!lastNumberKnown_ || bits != lastNumberBits_) {
        lastNumberKnown_ = false;
        lastNumberValue_ = NumberValue(value);
        lastNumberBits_ = bits;
        lastNumberKnown_ = true;
    }
    AssignValue(name, lastNumberValue_);
}

Value Engine::NumberValue(double value)
{
    if (!std::isfinite(value))
        throw ScriptError(errc::Overflow);
    const Decimal15 d = toDecimal15(value);
    std::int64_t whole = 0;
    double magnitude = 0;
    Value v;
    // The literal's type as decimalLiteral gives it for the text after the sign.
    if (!readDecimal15(d, whole, magnitude)) {
        // A Double, whose negation is exact: the usual case of X.
        if (!std::isfinite(magnitude)) // the text reads beyond the range
            throw ScriptError(errc::Overflow);
        v.setDouble(d.negative ? -magnitude : magnitude);
    } else {
        v = narrowestWhole(whole);
        if (d.negative)
            negateLiteral(v);
    }
    return v;
}

void Engine::AssignValue(std::string_view name, const Value &value)
{
    assignedGlobal(name).assign(value);
}

Value &Engine::assignedGlobal(std::string_view name)
{
    int slot = lastAssignedSlot_;
    if (slot < 0 || !sameName(name, lastAssigned_)) {
        slot = slotFor(lowerCase(name), true);
        lastAssigned_ = std::string(name);
        lastAssignedSlot_ = slot;
    }
    return globals_[static_cast<std::size_t>(slot)];
}

int Engine::slotFor(const std::string &lowerName, bool create)
{
    const auto it = slots_.find(lowerName);
    if (it != slots_.end())
        return it->second;
    if (!create)
        return -1;
    if (globals_.size() >= kMaxVariables)
        throw ScriptError(errc::OutOfMemory, "too many variables");
    const int slot = static_cast<int>(globals_.size());
    globals_.emplace_back();
    slots_.emplace(lowerName, slot);
    return slot;
}

Value Engine::run(Program &program)
{
    if (stack_.size() < program.maxStack)
        stack_.resize(program.maxStack);
    Value *const base = stack_.data();
    Value *sp = base;
    for (Instr &in : program.code) {
        deadline_.step();
        switch (in.op) {
        case Op::Const:
            (sp++)->assign(program.constants[static_cast<std::size_t>(in.arg)]);
            break;
        case Op::Load:
            (sp++)->assign(globals_[static_cast<std::size_t>(in.arg)]);
            break;
        case Op::LoadName: {
            const int slot = slotFor(program.names[static_cast<std::size_t>(in.arg)], false);
            if (slot < 0) {
                (sp++)->assign(Value());
                break;
            }
            in = Instr{Op::Load, 0, 0, Real::None, slot};
            (sp++)->assign(globals_[static_cast<std::size_t>(slot)]);
            break;
        }
        case Op::StoreName: {
            const int slot = slotFor(program.names[static_cast<std::size_t>(in.arg)], true);
            in = Instr{Op::Store, 0, 0, Real::None, slot};
            [[fallthrough]];
        }
        case Op::Store:
            globals_[static_cast<std::size_t>(in.arg)].assign(*--sp);
            break;
        case Op::Call: {
            const Builtin &b = builtinAt(in.arg);
            Value r = b.call(sp - in.argc, in.argc, random_);
            sp -= in.argc;
            *sp++ = std::move(r);
            break;
        }
        case Op::Operate: {
            Value &a = sp[-in.arity];
            const Value &b = sp[-1];
            // Numbers of which one is a Double take the short way (a unary operator's b is a).
            double x, y, r;
            if (in.real != Real::None && (a.type() == VarType::Double || b.type() == VarType::Double)
                && realOperand(a, x) && realOperand(b, y) && realResult(in.real, x, y, r) && std::isfinite(r)) {
                a.setDouble(r);
            } else {
                if (a.type() == VarType::String || b.type() == VarType::String)
                    deadline_.step(static_cast<long>((a.stringValue().size() + b.stringValue().size()) >> 6));
                operatorAt(in.arg).apply(a, b, in.argc);
            }
            sp -= in.arity - 1;
            break;
        }
        }
    }
    if (!program.isExpression)
        return Value();
    return std::move(base[0]);
}

Engine::CacheEntry &Engine::Cache::find(std::string_view text, bool expression, Deadline &deadline)
{
    // The text of the last call again: a run's every reading or sample.
    if (recent_[0] && recent_[0]->text == text)
        return *recent_[0];
    CacheEntry *entry = nullptr;
    std::size_t at = recent_.size() - 1;
    for (std::size_t i = 1; i < recent_.size(); ++i) {
        if (recent_[i] && recent_[i]->text == text) {
            entry = recent_[i];
            at = i;
            break;
        }
    }
    if (!entry) {
        std::string key(text);
        const auto it = entries_.find(key);
        if (it != entries_.end()) {
            entry = it->second.get();
        } else {
            if (entries_.size() >= kCapacity)
                clear();
            auto fresh = std::make_unique<CacheEntry>();
            fresh->text = key;
            try {
                fresh->program = expression ? Compiler::compileExpression(text, &deadline)
                                            : Compiler::compileStatements(text, &deadline);
            } catch (const ScriptError &e) {
                if (e.number() == errc::UserInterrupt) // the clock's verdict, not the text's
                    throw;
                fresh->error = e;
            }
            entry = fresh.get();
            entries_.emplace(std::move(key), std::move(fresh));
        }
        // Not among the recent ones: it pushes the least recent out.
        for (std::size_t i = 0; i < recent_.size(); ++i)
            if (recent_[i] == entry)
                at = i;
    }
    for (std::size_t i = at; i > 0; --i)
        recent_[i] = recent_[i - 1];
    recent_[0] = entry;
    return *entry;
}

void Engine::Cache::clear()
{
    entries_.clear();
    recent_.fill(nullptr);
}

} // namespace script
