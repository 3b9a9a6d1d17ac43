#include "script/Operators.h"

#include "script/Chars.h"
#include "script/ScriptError.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <limits>
#include <vector>

namespace script {

namespace {

// Arithmetic rank of an operand: whole numbers of 16 or 32 bits, Single or Double.
enum class Rank { Integer, Long, Single, Double };

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
    case VarType::Single:
        return {Rank::Single, 0, v.doubleValue()};
    case VarType::Double:
        return {Rank::Double, 0, v.doubleValue()};
    default:
        return {Rank::Double, 0, v.toDouble()}; // String (13 if not numeric)
    }
}

double asDouble(const Number &n)
{
    return n.rank == Rank::Double || n.rank == Rank::Single ? n.real : static_cast<double>(n.whole);
}

// A whole result in the narrowest of Integer, Long, Double at or above `rank`.
Value wholeResult(std::int64_t r, Rank rank)
{
    if (rank == Rank::Integer)
        return narrowestWhole(r);
    if (r >= INT32_MIN && r <= INT32_MAX)
        return Value::longValue(static_cast<std::int32_t>(r));
    return Value::number(static_cast<double>(r));
}

// A Single result, widened to Double when it is beyond the Single range.
Value singleResult(double r)
{
    if (std::fabs(r) <= FLT_MAX)
        return Value::single(static_cast<float>(r));
    return checkedDouble(r);
}

enum class Arith { Add, Subtract, Multiply };

// +, - and *: the type of the more precise operand, widening on overflow; a Single with a
// Long gives a Double.
Value arithmetic(Arith op, const Value &a, const Value &b)
{
    if (a.isNull() || b.isNull())
        return Value::null();
    const Number x = toNumber(a);
    const Number y = toNumber(b);
    const auto real = [op](double p, double q) { return op == Arith::Add ? p + q : op == Arith::Subtract ? p - q : p * q; };
    if (x.rank == Rank::Double || y.rank == Rank::Double)
        return checkedDouble(real(asDouble(x), asDouble(y)));
    if (x.rank == Rank::Single || y.rank == Rank::Single) {
        const double r = real(asDouble(x), asDouble(y));
        return x.rank == Rank::Long || y.rank == Rank::Long ? checkedDouble(r) : singleResult(r);
    }
    // Both operands fit 32 bits, so the exact result fits 64.
    const std::int64_t r = op == Arith::Add ? x.whole + y.whole
                         : op == Arith::Subtract ? x.whole - y.whole
                                                 : x.whole * y.whole;
    return wholeResult(r, x.rank == Rank::Long || y.rank == Rank::Long ? Rank::Long : Rank::Integer);
}

// Operand of \ and Mod: a whole number, rounded half to even.
std::int32_t wholeOperand(const Value &v)
{
    const Number n = toNumber(v);
    return n.rank == Rank::Double || n.rank == Rank::Single ? roundToLong(n.real) : static_cast<std::int32_t>(n.whole);
}

// \ and Mod give Integer when both operands are Empty, Boolean or Integer, else Long.
Rank wholeRank(const Value &a, const Value &b)
{
    const auto narrow = [](const Value &v) {
        return v.type() == VarType::Empty || v.type() == VarType::Boolean || v.type() == VarType::Integer;
    };
    return narrow(a) && narrow(b) ? Rank::Integer : Rank::Long;
}

int compareText(std::string_view x, std::string_view y)
{
    const int c = x.compare(y);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int compareNumbers(double p, double q) { return p < q ? -1 : (p > q ? 1 : 0); }

// Text against a value of another type, from the text's side.
int compareTextWith(const Value &text, bool textIsLiteral, const Value &other, bool otherIsNumberLiteral)
{
    switch (other.type()) {
    case VarType::Empty:
        return compareText(text.stringValue(), {});
    case VarType::Boolean:
        return compareText(text.stringValue(), other.booleanValue() ? "True" : "False");
    default:
        break;
    }
    if (otherIsNumberLiteral) // the text must read as a number (13 if not)
        return compareNumbers(text.toDouble(), other.toDouble());
    if (textIsLiteral)
        return compareText(text.stringValue(), other.toText());
    return 1; // a number held in a variable or computed sorts before any text
}

// Three-way comparison, -1, 0 or 1, by the language's rules for mixed operands.
int compareValues(const Value &a, const Value &b, std::uint8_t forms)
{
    const bool aText = a.type() == VarType::String, bText = b.type() == VarType::String;
    if (aText && bText)
        return compareText(a.stringValue(), b.stringValue());
    if (aText)
        return compareTextWith(a, forms & operand::LeftTextLiteral, b, forms & operand::RightNumberLiteral);
    if (bText)
        return -compareTextWith(b, forms & operand::RightTextLiteral, a, forms & operand::LeftNumberLiteral);
    return compareNumbers(asDouble(toNumber(a)), asDouble(toNumber(b)));
}

// Null on either side makes the result Null: answers whether it did.
bool propagateNull(Value &a, const Value &b)
{
    if (!a.isNull() && !b.isNull())
        return false;
    a = Value::null();
    return true;
}

template <typename Test>
void compareWith(Value &a, const Value &b, std::uint8_t forms, Test test)
{
    if (!propagateNull(a, b))
        a = Value::boolean(test(compareValues(a, b, forms)));
}

// Operand of the logical operators: Boolean, Integer or Long bits. Empty is the Long 0,
// text its number or its Boolean word, other numbers round to a Long.
struct Bits
{
    std::int32_t value;
    VarType type;
};

Bits logicalOperand(const Value &v)
{
    switch (v.type()) {
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long:
        return {v.integerValue(), v.type()};
    case VarType::Empty:
        return {0, VarType::Long};
    case VarType::String:
        if (const auto d = numberFromString(v.stringValue()))
            return {roundToLong(*d), VarType::Long};
        if (const auto b = booleanFromText(v.stringValue()))
            return {*b ? -1 : 0, VarType::Boolean};
        throw ScriptError(errc::TypeMismatch);
    default:
        return {roundToLong(v.toDouble()), VarType::Long};
    }
}

Value bitsValue(std::int32_t bits, VarType type)
{
    switch (type) {
    case VarType::Boolean:
        return Value::boolean(bits != 0);
    case VarType::Integer:
        return Value::integer(static_cast<std::int16_t>(bits));
    default:
        return Value::longValue(bits);
    }
}

VarType logicalType(VarType x, VarType y)
{
    if (x == VarType::Boolean && y == VarType::Boolean)
        return VarType::Boolean;
    const auto narrow = [](VarType t) { return t == VarType::Boolean || t == VarType::Integer; };
    return narrow(x) && narrow(y) ? VarType::Integer : VarType::Long;
}

enum class Logic { And, Or, Xor, Eqv, Imp };

std::int32_t applyBits(Logic op, std::int32_t x, std::int32_t y)
{
    switch (op) {
    case Logic::And:
        return x & y;
    case Logic::Or:
        return x | y;
    case Logic::Xor:
        return x ^ y;
    case Logic::Eqv:
        return ~(x ^ y);
    case Logic::Imp:
        return ~x | y;
    }
    return 0;
}

// With one Null operand the result is Null unless the known operand decides it alone
// (False And Null is False, True Or Null is True, 5 Or Null is 5, False Imp Null is True); the decided
// result takes the known operand's logical type.
Value logicalWithNull(Logic op, const Value &a, const Value &b)
{
    if (a.isNull() && b.isNull())
        return Value::null();
    const bool nullFirst = a.isNull();
    const Bits known = logicalOperand(nullFirst ? b : a);
    switch (op) {
    case Logic::And:
        return known.value == 0 ? bitsValue(0, known.type) : Value::null();
    case Logic::Or: // the known operand's set bits are set whatever Null stands for
        return known.value != 0 ? bitsValue(known.value, known.type) : Value::null();
    case Logic::Imp: // Not a Or b
        if (nullFirst ? known.value == -1 : known.value == 0)
            return bitsValue(-1, known.type);
        return Value::null();
    default:
        return Value::null();
    }
}

void logical(Logic op, Value &a, const Value &b)
{
    if (a.isNull() || b.isNull()) {
        a = logicalWithNull(op, a, b);
        return;
    }
    const Bits x = logicalOperand(a), y = logicalOperand(b);
    a = bitsValue(applyBits(op, x.value, y.value), logicalType(x.type, y.type));
}

// The implementations, one per operator of the table.

void opNegate(Value &a, const Value &, std::uint8_t)
{
    switch (a.type()) {
    case VarType::Null:
        return;
    case VarType::Single:
        a = Value::single(-a.singleValue());
        return;
    case VarType::Double:
    case VarType::String:
        a = Value::number(-a.toDouble());
        return;
    case VarType::Long:
        a = wholeResult(-static_cast<std::int64_t>(a.integerValue()), Rank::Long);
        return;
    default: // Empty, Boolean, Integer
        a = wholeResult(-static_cast<std::int64_t>(a.integerValue()), Rank::Integer);
        return;
    }
}

void opPlus(Value &, const Value &, std::uint8_t) {} // a sign that changes nothing

void opAdd(Value &a, const Value &b, std::uint8_t)
{
    // + joins two strings, and a string with Empty.
    const bool aText = a.type() == VarType::String, bText = b.type() == VarType::String;
    if (aText && (bText || b.type() == VarType::Empty)) {
        a.append(b.stringValue());
        return;
    }
    if (bText && a.type() == VarType::Empty) {
        a = b;
        return;
    }
    a = arithmetic(Arith::Add, a, b);
}

void opSubtract(Value &a, const Value &b, std::uint8_t) { a = arithmetic(Arith::Subtract, a, b); }
void opMultiply(Value &a, const Value &b, std::uint8_t) { a = arithmetic(Arith::Multiply, a, b); }

// /: a Double, except that a Single with a Single, an Integer, a Boolean or Empty gives a
// Single (a Double when the quotient is beyond the Single range).
void opDivide(Value &a, const Value &b, std::uint8_t)
{
    if (propagateNull(a, b))
        return;
    const Number x = toNumber(a), y = toNumber(b);
    const double p = asDouble(x), q = asDouble(y);
    if (q == 0)
        throw ScriptError(p == 0 ? errc::Overflow : errc::DivisionByZero);
    const auto narrow = [](Rank r) { return r == Rank::Integer || r == Rank::Single; };
    if ((x.rank == Rank::Single || y.rank == Rank::Single) && narrow(x.rank) && narrow(y.rank))
        a = singleResult(p / q);
    else
        a = checkedDouble(p / q);
}

// \ and Mod: both operands rounded to whole numbers, a divisor of zero is error 11.
template <class Combine>
void wholeDivision(Value &a, const Value &b, Combine combine)
{
    if (propagateNull(a, b))
        return;
    const std::int64_t x = wholeOperand(a), y = wholeOperand(b);
    if (y == 0)
        throw ScriptError(errc::DivisionByZero);
    a = wholeResult(combine(x, y), wholeRank(a, b));
}

void opIntDivide(Value &a, const Value &b, std::uint8_t)
{
    wholeDivision(a, b, [](std::int64_t x, std::int64_t y) {
        const std::int64_t q = x / y;
        if (q > std::numeric_limits<std::int32_t>::max())
            throw ScriptError(errc::Overflow); // -2147483648 \ -1
        return q;
    });
}

void opModulo(Value &a, const Value &b, std::uint8_t)
{
    wholeDivision(a, b, [](std::int64_t x, std::int64_t y) { return x % y; });
}

void opPower(Value &a, const Value &b, std::uint8_t)
{
    if (propagateNull(a, b))
        return;
    const double x = a.toDouble(), y = b.toDouble();
    if (x == 0 && y < 0)
        throw ScriptError(errc::InvalidProcedureCall);
    const double r = std::pow(x, y);
    if (std::isnan(r))
        throw ScriptError(errc::InvalidProcedureCall); // negative base, fractional exponent
    a = checkedDouble(r);
}

// &: both sides as text, Null as nothing; Null & Null stays Null. Appends in place, so a
// chain of & takes time in proportion to its length.
void opConcat(Value &a, const Value &b, std::uint8_t)
{
    if (a.isNull() && b.isNull())
        return;
    const std::string rightText = b.isNull() || b.type() == VarType::String ? std::string() : b.toText();
    const std::string_view right = b.type() == VarType::String ? std::string_view(b.stringValue()) : rightText;
    if (a.type() == VarType::String) {
        a.append(right);
        return;
    }
    std::string text = a.isNull() ? std::string() : a.toText();
    if (text.size() + right.size() > Value::kMaxStringLength)
        throw ScriptError(errc::OutOfStringSpace);
    text += right;
    a = Value::string(std::move(text));
}

void opEqual(Value &a, const Value &b, std::uint8_t f) { compareWith(a, b, f, [](int c) { return c == 0; }); }
void opNotEqual(Value &a, const Value &b, std::uint8_t f) { compareWith(a, b, f, [](int c) { return c != 0; }); }
void opLess(Value &a, const Value &b, std::uint8_t f) { compareWith(a, b, f, [](int c) { return c < 0; }); }
void opGreater(Value &a, const Value &b, std::uint8_t f) { compareWith(a, b, f, [](int c) { return c > 0; }); }
void opLessEqual(Value &a, const Value &b, std::uint8_t f) { compareWith(a, b, f, [](int c) { return c <= 0; }); }
void opGreaterEqual(Value &a, const Value &b, std::uint8_t f) { compareWith(a, b, f, [](int c) { return c >= 0; }); }

void opNot(Value &a, const Value &, std::uint8_t)
{
    if (a.isNull())
        return;
    const Bits x = logicalOperand(a);
    a = bitsValue(~x.value, x.type);
}

void opAnd(Value &a, const Value &b, std::uint8_t) { logical(Logic::And, a, b); }
void opOr(Value &a, const Value &b, std::uint8_t) { logical(Logic::Or, a, b); }
void opXor(Value &a, const Value &b, std::uint8_t) { logical(Logic::Xor, a, b); }
void opEqv(Value &a, const Value &b, std::uint8_t) { logical(Logic::Eqv, a, b); }
void opImp(Value &a, const Value &b, std::uint8_t) { logical(Logic::Imp, a, b); }

// Lowest precedence first. A prefix operator's operand is parsed at its own level, so
// '-' takes one operand before '^' (-3^2 is 9) and Not takes a whole comparison.
constexpr std::array kOperators{
    Operator{"Imp", {}, "Imp", 1, 2, false, opImp, Real::None},
    Operator{"Eqv", {}, "Eqv", 2, 2, false, opEqv, Real::None},
    Operator{"Xor", {}, "Xor", 3, 2, false, opXor, Real::None},
    Operator{"Or", {}, "Or", 4, 2, false, opOr, Real::None},
    Operator{"And", {}, "And", 5, 2, false, opAnd, Real::None},
    Operator{"Not", {}, "Not", 6, 1, false, opNot, Real::None},
    Operator{"=", {}, "Equal", 7, 2, true, opEqual, Real::None},
    Operator{"<>", "><", "NotEqual", 7, 2, true, opNotEqual, Real::None},
    Operator{"<", {}, "Less", 7, 2, true, opLess, Real::None},
    Operator{">", {}, "Greater", 7, 2, true, opGreater, Real::None},
    Operator{"<=", "=<", "LessEqual", 7, 2, true, opLessEqual, Real::None},
    Operator{">=", "=>", "GreaterEqual", 7, 2, true, opGreaterEqual, Real::None},
    Operator{"&", {}, "Concat", 8, 2, false, opConcat, Real::None},
    Operator{"+", {}, "Add", 9, 2, false, opAdd, Real::Add},
    Operator{"-", {}, "Subtract", 9, 2, false, opSubtract, Real::Subtract},
    Operator{"Mod", {}, "Modulo", 10, 2, false, opModulo, Real::None},
    Operator{"\\", {}, "IntDivide", 11, 2, false, opIntDivide, Real::None},
    Operator{"*", {}, "Multiply", 12, 2, false, opMultiply, Real::Multiply},
    Operator{"/", {}, "Divide", 12, 2, false, opDivide, Real::Divide},
    Operator{"^", {}, "Power", 13, 2, false, opPower, Real::Power},
    Operator{"-", {}, "Negate", 14, 1, false, opNegate, Real::Negate},
    Operator{"+", {}, "Plus", 14, 1, false, opPlus, Real::None},
};

// The first character settles most mismatches cheaply; the lexer asks for every symbol.
bool spelledAs(const Operator &o, std::string_view spelling)
{
    if (o.spelling.size() == spelling.size() && toLower(o.spelling[0]) == toLower(spelling[0])
        && sameName(o.spelling, spelling))
        return true;
    return o.alternative.size() == spelling.size() && o.alternative == spelling;
}

// The lexer asks about every symbol and word, so the spellings are also kept packed into
// integers (lower case, at most three characters), each with its prefix and infix operator.
constexpr std::uint32_t packSpelling(std::string_view spelling)
{
    if (spelling.empty() || spelling.size() > 3)
        return 0;
    std::uint32_t key = 0;
    for (const char c : spelling)
        key = key << 8 | static_cast<std::uint8_t>(toLower(c));
    return key;
}

static_assert(std::all_of(kOperators.begin(), kOperators.end(), [](const Operator &o) {
                  return packSpelling(o.spelling) != 0 && (o.alternative.empty() || packSpelling(o.alternative) != 0);
              }),
              "operator spellings are one to three characters");

struct SpellingEntry
{
    std::uint32_t key;
    int prefix;
    int infix;
};

const std::vector<SpellingEntry> &spellingIndex()
{
    static const std::vector<SpellingEntry> index = [] {
        std::vector<SpellingEntry> entries;
        for (std::size_t i = 0; i < kOperators.size(); ++i) {
            for (const std::string_view spelling : {kOperators[i].spelling, kOperators[i].alternative}) {
                if (spelling.empty())
                    continue;
                const std::uint32_t key = packSpelling(spelling);
                auto it = std::find_if(entries.begin(), entries.end(), [key](const SpellingEntry &e) { return e.key == key; });
                if (it == entries.end())
                    it = entries.insert(entries.end(), SpellingEntry{key, -1, -1});
                (kOperators[i].arity == 1 ? it->prefix : it->infix) = static_cast<int>(i);
            }
        }
        return entries;
    }();
    return index;
}

} // namespace

Value checkedDouble(double d)
{
    if (!std::isfinite(d))
        throw ScriptError(errc::Overflow);
    return Value::number(d);
}

const Operator &operatorAt(int index) { return kOperators[static_cast<std::size_t>(index)]; }

int findOperator(std::string_view spelling, int arity)
{
    for (std::size_t i = 0; i < kOperators.size(); ++i)
        if (kOperators[i].arity == arity && spelledAs(kOperators[i], spelling))
            return static_cast<int>(i);
    return -1;
}

bool matchOperator(std::string_view spelling, int &prefix, int &infix)
{
    prefix = infix = -1;
    const std::uint32_t key = packSpelling(spelling);
    if (key == 0)
        return false;
    for (const SpellingEntry &e : spellingIndex()) {
        if (e.key == key) {
            prefix = e.prefix;
            infix = e.infix;
            return true;
        }
    }
    return false;
}
} // namespace script
