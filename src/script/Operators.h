#pragma once

#include "script/Value.h"

// The language's operators on variants. Each raises the language's error (6, 11, 13, 14, ...)
// instead of producing an infinity or NaN; Null operands give Null where the language says so.
namespace script {

enum class CompareOp : std::uint8_t { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };
enum class LogicOp : std::uint8_t { And, Or, Xor, Eqv, Imp };

Value negate(const Value &a);
Value add(const Value &a, const Value &b);        // numbers add (widening), two strings join
Value subtract(const Value &a, const Value &b);
Value multiply(const Value &a, const Value &b);
Value divide(const Value &a, const Value &b);     // always Double
Value intDivide(const Value &a, const Value &b);  // \ on operands rounded half to even
Value modulo(const Value &a, const Value &b);     // Mod, sign of the dividend
Value power(const Value &a, const Value &b);      // always Double
Value concat(const Value &a, const Value &b);     // &
Value compare(CompareOp op, const Value &a, const Value &b);
Value logicalNot(const Value &a);                 // Boolean, or bitwise on whole numbers
Value logical(LogicOp op, const Value &a, const Value &b);

/// A finite double result as a Value: an infinity is overflow (6).
Value checkedDouble(double d);

} // namespace script
