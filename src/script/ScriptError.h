#pragma once

#include <array>
#include <cstddef>
#include <exception>
#include <string>
#include <string_view>

namespace script {

/// One error of the language: its number, the name the engine's code uses for it, and the
/// language's standard description.
struct ErrorInfo
{
    int number;
    std::string_view name;
    std::string_view text;
};

/// Every error the engine raises. Run-time errors below 1000, syntax errors from 1001.
inline constexpr std::array kErrors{
    ErrorInfo{5, "InvalidProcedureCall", "Invalid procedure call or argument"}, // outside a function's domain
    ErrorInfo{6, "Overflow", "Overflow"},                      // outside the type's range, or an infinity
    ErrorInfo{7, "OutOfMemory", "Out of memory"},              // too many variables
    ErrorInfo{11, "DivisionByZero", "Division by zero"},
    ErrorInfo{13, "TypeMismatch", "Type mismatch"},            // no such conversion, or a name used as a function
    ErrorInfo{14, "OutOfStringSpace", "Out of string space"},  // string value longer than the limit
    ErrorInfo{18, "UserInterrupt", "User interrupt occurred"}, // per-call time limit exceeded
    ErrorInfo{28, "OutOfStackSpace", "Out of stack space"},    // nesting deeper than the limit
    ErrorInfo{94, "InvalidUseOfNull", "Invalid use of Null"},
    ErrorInfo{450, "WrongNumberOfArguments", "Wrong number of arguments or invalid property assignment"},
    ErrorInfo{501, "IllegalAssignment", "Illegal assignment"}, // assignment to a built-in function's name
    ErrorInfo{1001, "CompileOutOfMemory", "Out of memory"},    // program text longer than the limit
    ErrorInfo{1002, "SyntaxError", "Syntax error"},
    ErrorInfo{1006, "ExpectedRightParen", "Expected ')'"},
    ErrorInfo{1010, "ExpectedIdentifier", "Expected identifier"},
    ErrorInfo{1011, "ExpectedEquals", "Expected '='"},
    ErrorInfo{1024, "ExpectedStatement", "Expected statement"},
    ErrorInfo{1025, "ExpectedEndOfStatement", "Expected end of statement"},
    ErrorInfo{1030, "IdentifierTooLong", "Identifier too long"},
    ErrorInfo{1031, "InvalidNumber", "Invalid number"},
    ErrorInfo{1032, "InvalidCharacter", "Invalid character"},
    ErrorInfo{1033, "UnterminatedString", "Unterminated string constant"},
};

/// The number of the error of that name in kErrors; a name not in the table does not compile.
consteval int errorNumber(std::string_view name)
{
    for (const ErrorInfo &e : kErrors)
        if (e.name == name)
            return e.number;
    throw "no such error in kErrors";
}

/// The error numbers by name, for the engine's code.
namespace errc {
inline constexpr int InvalidProcedureCall = errorNumber("InvalidProcedureCall");
inline constexpr int Overflow = errorNumber("Overflow");
inline constexpr int OutOfMemory = errorNumber("OutOfMemory");
inline constexpr int DivisionByZero = errorNumber("DivisionByZero");
inline constexpr int TypeMismatch = errorNumber("TypeMismatch");
inline constexpr int OutOfStringSpace = errorNumber("OutOfStringSpace");
inline constexpr int UserInterrupt = errorNumber("UserInterrupt");
inline constexpr int OutOfStackSpace = errorNumber("OutOfStackSpace");
inline constexpr int InvalidUseOfNull = errorNumber("InvalidUseOfNull");
inline constexpr int WrongNumberOfArguments = errorNumber("WrongNumberOfArguments");
inline constexpr int IllegalAssignment = errorNumber("IllegalAssignment");
inline constexpr int CompileOutOfMemory = errorNumber("CompileOutOfMemory");
inline constexpr int SyntaxError = errorNumber("SyntaxError");
inline constexpr int ExpectedRightParen = errorNumber("ExpectedRightParen");
inline constexpr int ExpectedIdentifier = errorNumber("ExpectedIdentifier");
inline constexpr int ExpectedEquals = errorNumber("ExpectedEquals");
inline constexpr int ExpectedStatement = errorNumber("ExpectedStatement");
inline constexpr int ExpectedEndOfStatement = errorNumber("ExpectedEndOfStatement");
inline constexpr int IdentifierTooLong = errorNumber("IdentifierTooLong");
inline constexpr int InvalidNumber = errorNumber("InvalidNumber");
inline constexpr int InvalidCharacter = errorNumber("InvalidCharacter");
inline constexpr int UnterminatedString = errorNumber("UnterminatedString");
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
    /// True for the language's syntax errors (1001 and above).
    bool isSyntaxError() const noexcept { return number_ > 1000; }
    const char *what() const noexcept override { return description_.c_str(); }

private:
    int number_;
    std::size_t position_;
    std::string description_;
};

} // namespace script
