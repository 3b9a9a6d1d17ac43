#include "script/Operators.h"

#include "script/ScriptError.h"

#include <cmath>
#include <limits>

namespace script {

namespace {

// Arithmetic rank of an operand: whole numbers of 16 or 32 bits, or a double.
enum class Rank { Integer, Long, Double };

struct Number
{
    Rank rank;
    std::int64_t whole;
    double real;
};

Number toNumber(const Value &v)
{
    switch (v.type()) {
    case VarType::Empty:
        return {Rank::Integer, 0, 0};
    case VarType::Boolean:
    case VarType::Integer:
        return {Rank::Integer, v.integerValue(), 0};
    case VarType::Long:
        return {Rank::Long, v.integerValue(), 0};
    case VarType::Double:
        return {Rank::Double, 0, v.doubleValue()};
    default:
        return {Rank::Double, 0, v.toDouble()}; // String (13 if not numeric)
    }
}

double asDouble(const Number &n) { return n.rank == Rank::Double ? n.real : static_cast<double>(n.whole); }

// A whole result in the narrowest of Integer, Long, Double at or above `rank`.
Value wholeResult(std::int64_t r, Rank rank)
{
    if (rank == Rank::Integer && r >= -32768 && r <= 32767)
        return Value::integer(static_cast<std::int16_t>(r));
    if (r >= std::numeric_limits<std::int32_t>::min() && r <= std::numeric_limits<std::int32_t>::max())
        return Value::longValue(static_cast<std::int32_t>(r));
    return Value::number(static_cast<double>(r));
}

enum class Arith { Add, Subtract, Multiply };

Value arithmetic(Arith op, const Value &a, const Value &b)
{
    if (a.isNull() || b.isNull())
        return Value::null();
    const Number x = toNumber(a);
    const Number y = toNumber(b);
    if (x.rank == Rank::Double || y.rank == Rank::Double) {
        const double p = asDouble(x), q = asDouble(y);
        return checkedDouble(op == Arith::Add ? p + q : op == Arith::Subtract ? p - q : p * q);
    }
    // Both operands fit 32 bits, so the exact result fits 64.
    const std::int64_t r = op == Arith::Add ? x.whole + y.whole
                         : op == Arith::Subtract ? x.whole - y.whole
                                                 : x.whole * y.whole;
    return wholeResult(r, x.rank == Rank::Long || y.rank == Rank::Long ? Rank::Long : Rank::Integer);
}

bool isWholeRank(const Value &v)
{
    const VarType t = v.type();
    return t == VarType::Empty || t == VarType::Boolean || t == VarType::Integer;
}

// Operand of \, Mod and the bitwise operators: a whole number, rounded half to even.
std::int32_t wholeOperand(const Value &v)
{
    const Number n = toNumber(v);
    return n.rank == Rank::Double ? roundToLong(n.real) : static_cast<std::int32_t>(n.whole);
}

Rank wholeRank(const Value &a, const Value &b)
{
    return isWholeRank(a) && isWholeRank(b) ? Rank::Integer : Rank::Long;
}

// Three-way comparison, -1, 0 or 1, by the language's rules for mixed operands.
int compareValues(const Value &a, const Value &b)
{
    const bool aText = a.type() == VarType::String, bText = b.type() == VarType::String;
    if (aText || bText) {
        if (aText && bText)
            return a.stringValue().compare(b.stringValue()) < 0 ? -1 : (a.stringValue() == b.stringValue() ? 0 : 1);
        // Empty compares as "" with a string; any number is less than any string.
        const Value &other = aText ? b : a;
        if (other.type() == VarType::Empty) {
            const bool textEmpty = (aText ? a : b).stringValue().empty();
            return textEmpty ? 0 : (aText ? 1 : -1);
        }
        return aText ? 1 : -1;
    }
    const double p = asDouble(toNumber(a)), q = asDouble(toNumber(b));
    return p < q ? -1 : (p > q ? 1 : 0);
}

std::int32_t applyBits(LogicOp op, std::int32_t x, std::int32_t y)
{
    switch (op) {
    case LogicOp::And:
        return x & y;
    case LogicOp::Or:
        return x | y;
    case LogicOp::Xor:
        return x ^ y;
    case LogicOp::Eqv:
        return ~(x ^ y);
    case LogicOp::Imp:
        return ~x | y;
    }
    return 0;
}

} // namespace

Value checkedDouble(double d)
{
    if (!std::isfinite(d))
        throw ScriptError(errc::Overflow);
    return Value::number(d);
}

Value negate(const Value &a)
{
    switch (a.type()) {
    case VarType::Null:
        return a;
    case VarType::Double:
        return Value::number(-a.doubleValue());
    case VarType::String:
        return Value::number(-a.toDouble());
    case VarType::Long:
        return wholeResult(-static_cast<std::int64_t>(a.integerValue()), Rank::Long);
    default: // Empty, Boolean, Integer
        return wholeResult(-static_cast<std::int64_t>(a.integerValue()), Rank::Integer);
    }
}

Value add(const Value &a, const Value &b)
{
    const bool aText = a.type() == VarType::String, bText = b.type() == VarType::String;
    // + joins two strings, and a string with Empty.
    if ((aText && (bText || b.type() == VarType::Empty)) || (bText && a.type() == VarType::Empty))
        return concat(a, b);
    return arithmetic(Arith::Add, a, b);
}

Value subtract(const Value &a, const Value &b) { return arithmetic(Arith::Subtract, a, b); }
Value multiply(const Value &a, const Value &b) { return arithmetic(Arith::Multiply, a, b); }

Value divide(const Value &a, const Value &b)
{
    if (a.isNull() || b.isNull())
        return Value::null();
    const double p = a.toDouble(), q = b.toDouble();
    if (q == 0)
        throw ScriptError(p == 0 ? errc::Overflow : errc::DivisionByZero);
    return checkedDouble(p / q);
}

Value intDivide(const Value &a, const Value &b)
{
    if (a.isNull() || b.isNull())
        return Value::null();
    const std::int64_t x = wholeOperand(a), y = wholeOperand(b);
    if (y == 0)
        throw ScriptError(errc::DivisionByZero);
    const std::int64_t q = x / y;
    if (q > std::numeric_limits<std::int32_t>::max())
        throw ScriptError(errc::Overflow); // -2147483648 \ -1
    return wholeResult(q, wholeRank(a, b));
}

Value modulo(const Value &a, const Value &b)
{
    if (a.isNull() || b.isNull())
        return Value::null();
    const std::int64_t x = wholeOperand(a), y = wholeOperand(b);
    if (y == 0)
        throw ScriptError(errc::DivisionByZero);
    return wholeResult(x % y, wholeRank(a, b));
}

Value power(const Value &a, const Value &b)
{
    if (a.isNull() || b.isNull())
        return Value::null();
    const double x = a.toDouble(), y = b.toDouble();
    if (x == 0 && y < 0)
        throw ScriptError(errc::InvalidProcedureCall);
    const double r = std::pow(x, y);
    if (std::isnan(r))
        throw ScriptError(errc::InvalidProcedureCall); // negative base, fractional exponent
    return checkedDouble(r);
}

Value concat(const Value &a, const Value &b)
{
    if (a.isNull() && b.isNull())
        return a;
    std::string text = a.isNull() ? std::string() : a.toText();
    if (!b.isNull()) {
        if (b.type() == VarType::String) {
            if (text.size() + b.stringValue().size() > Value::kMaxStringLength)
                throw ScriptError(errc::OutOfStringSpace);
            text += b.stringValue();
        } else {
            text += b.toText();
        }
    }
    return Value::string(std::move(text));
}

Value compare(CompareOp op, const Value &a, const Value &b)
{
    if (a.isNull() || b.isNull())
        return Value::null();
    const int c = compareValues(a, b);
    switch (op) {
    case CompareOp::Equal:
        return Value::boolean(c == 0);
    case CompareOp::NotEqual:
        return Value::boolean(c != 0);
    case CompareOp::Less:
        return Value::boolean(c < 0);
    case CompareOp::Greater:
        return Value::boolean(c > 0);
    case CompareOp::LessEqual:
        return Value::boolean(c <= 0);
    case CompareOp::GreaterEqual:
        return Value::boolean(c >= 0);
    }
    return Value::null();
}

Value logicalNot(const Value &a)
{
    switch (a.type()) {
    case VarType::Null:
        return a;
    case VarType::Boolean:
        return Value::boolean(!a.booleanValue());
    case VarType::Empty:
    case VarType::Integer:
        return Value::integer(static_cast<std::int16_t>(~a.integerValue()));
    default:
        return Value::longValue(~wholeOperand(a));
    }
}

Value logical(LogicOp op, const Value &a, const Value &b)
{
    if (a.isNull() || b.isNull()) {
        // Three-valued logic: the known operand may decide the result on its own.
        if (a.isNull() && b.isNull())
            return a;
        const bool nullFirst = a.isNull();
        const Value &known = nullFirst ? b : a;
        const std::int32_t bits = wholeOperand(known);
        switch (op) {
        case LogicOp::And:
            return bits == 0 ? known : Value::null();
        case LogicOp::Or:
            return bits == -1 ? known : Value::null();
        case LogicOp::Imp:
            if (nullFirst)
                return bits == -1 ? known : Value::null(); // Null Imp True is True
            if (bits == 0)
                return known.type() == VarType::Boolean ? Value::boolean(true) : Value::integer(-1);
            return Value::null();
        default:
            return Value::null();
        }
    }
    if (a.type() == VarType::Boolean && b.type() == VarType::Boolean)
        return Value::boolean(applyBits(op, a.integerValue(), b.integerValue()) != 0);
    const std::int32_t r = applyBits(op, wholeOperand(a), wholeOperand(b));
    if (wholeRank(a, b) == Rank::Integer)
        return Value::integer(static_cast<std::int16_t>(r));
    return Value::longValue(r);
}

} // namespace script
