#pragma once

#include "script/Value.h"

#include <cmath>
#include <cstdint>
#include <string_view>

// The language's operators, described once in a table that the lexer, the parser, the
// compiled form's listing, the compiler's stack accounting and the evaluator all read.
// Each operator raises the language's error (6, 11, 13, 14, ...) instead of producing an
// infinity or NaN; Null operands give Null where the language says so.
namespace script {

/// How the operands of a comparison were written. Text meets a number differently when the
/// number is a literal of the expression ("42" = 42 converts the text; "abc" = 5 is error
/// 13) than when it is a variable's value or a result ("10" > CDbl(5) compares text).
namespace operand {
inline constexpr std::uint8_t LeftNumberLiteral = 1;
inline constexpr std::uint8_t RightNumberLiteral = 2;
inline constexpr std::uint8_t LeftTextLiteral = 4;
inline constexpr std::uint8_t RightTextLiteral = 8;
} // namespace operand

/// Applies an operator in place: left becomes the result; unary operators ignore right.
/// When it raises an error, left is unchanged.
using OperatorFunction = void (*)(Value &left, const Value &right, std::uint8_t operandForms);
/// The evaluator's short way for numbers of which one is a Double, inline in its loop.
enum class Real : std::uint8_t { None, Negate, Add, Subtract, Multiply, Divide, Power };

/// The short way: sets result and returns true, or returns false to leave the case to the
/// operator's function. A result that is not finite also goes the long way, which raises
/// the language's error.
inline bool realResult(Real kind, double x, double y, double &result)
{
    switch (kind) {
    case Real::Negate: result = -x; return true;
    case Real::Add: result = x + y; return true;
    case Real::Subtract: result = x - y; return true;
    case Real::Multiply: result = x * y; return true;
    case Real::Divide: result = x / y; return y != 0;
    case Real::Power: // squares are common in equations and x*x is exact enough
        result = y == 2 ? x * x : std::pow(x, y);
        return !(x == 0 && y < 0);
    case Real::None: break;
    }
    return false;
}

/// One operator of the language.
struct Operator
{
    std::string_view spelling;    // "+", "<>", "Mod" (words in any case)
    std::string_view alternative; // another spelling the language accepts ("=>" for ">="), or empty
    std::string_view name;        // as the compiled form's listing shows it
    int precedence;               // higher binds tighter; a prefix operator's operand starts at its own level
    int arity;                    // 1: prefix; 2: infix, left-associative
    bool comparison;              // its right operand may start with Not; text/number rules apply
    OperatorFunction apply;
    Real real;                    // or Real::None
};

/// The operator at an index the other functions gave (what Instr::arg holds for Operate).
const Operator &operatorAt(int index);
/// Index of the operator with that spelling (words in any case) and arity, or -1.
int findOperator(std::string_view spelling, int arity);
/// The prefix and infix operators spelled so (-1 for none); false when neither exists.
/// One pass over the table: the lexer's test for symbols and words.
bool matchOperator(std::string_view spelling, int &prefix, int &infix);

/// A finite double result as a Value: an infinity is overflow (6).
Value checkedDouble(double d);

} // namespace script
