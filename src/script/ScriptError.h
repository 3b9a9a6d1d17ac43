#pragma once

#include <cstddef>
#include <exception>
#include <string>
#include <string_view>

namespace script {

/// The language's error numbers the engine raises.
namespace errc {
// Run-time errors
inline constexpr int InvalidProcedureCall = 5;   // argument outside a function's domain
inline constexpr int Overflow = 6;               // result outside the type's range, or an infinity
inline constexpr int OutOfMemory = 7;            // too many variables
inline constexpr int DivisionByZero = 11;
inline constexpr int TypeMismatch = 13;          // value cannot be converted, or a name used as a function
inline constexpr int OutOfStringSpace = 14;      // string value longer than the limit
inline constexpr int UserInterrupt = 18;         // per-call time limit exceeded
inline constexpr int OutOfStackSpace = 28;       // nesting deeper than the limit
inline constexpr int InvalidUseOfNull = 94;
inline constexpr int WrongNumberOfArguments = 450;
inline constexpr int IllegalAssignment = 501;    // assignment to a built-in function's name
// Compile (syntax) errors
inline constexpr int CompileOutOfMemory = 1001;  // program text longer than the limit
inline constexpr int SyntaxError = 1002;
inline constexpr int ExpectedRightParen = 1006;
inline constexpr int ExpectedEquals = 1011;
inline constexpr int ExpectedIdentifier = 1010;
inline constexpr int ExpectedExpression = 1023;
inline constexpr int ExpectedStatement = 1024;
inline constexpr int ExpectedEndOfStatement = 1025;
inline constexpr int IdentifierTooLong = 1030;
inline constexpr int InvalidNumber = 1031;
inline constexpr int InvalidCharacter = 1032;
inline constexpr int UnterminatedString = 1033;
} // namespace errc

/// The language's standard description of an error number ("Overflow", "Syntax error", ...).
std::string_view errorDescription(int number);

/// A failure of the engine: a syntax error while compiling or a run-time error while running.
class ScriptError : public std::exception
{
public:
    static constexpr std::size_t noPosition = static_cast<std::size_t>(-1);

    /// detail, when given, is appended to the standard description ("Type mismatch: 'Foo'").
    explicit ScriptError(int number, std::string_view detail = {}, std::size_t position = noPosition);

    /// The language's error number (5, 6, 11, 13, 94, 1xxx for syntax errors, ...).
    int number() const noexcept { return number_; }
    const std::string &description() const noexcept { return description_; }
    /// Byte offset in the text where a syntax error was found, or noPosition.
    std::size_t position() const noexcept { return position_; }
    const char *what() const noexcept override { return description_.c_str(); }

private:
    int number_;
    std::size_t position_;
    std::string description_;
};

} // namespace script
