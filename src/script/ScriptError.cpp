#include "script/ScriptError.h"

#include <algorithm>
#include <array>

namespace script {

namespace {

struct ErrorText
{
    int number;
    std::string_view text;
};

constexpr std::array errorTexts{
    ErrorText{errc::InvalidProcedureCall, "Invalid procedure call or argument"},
    ErrorText{errc::Overflow, "Overflow"},
    ErrorText{errc::OutOfMemory, "Out of memory"},
    ErrorText{errc::DivisionByZero, "Division by zero"},
    ErrorText{errc::TypeMismatch, "Type mismatch"},
    ErrorText{errc::OutOfStringSpace, "Out of string space"},
    ErrorText{errc::UserInterrupt, "User interrupt occurred"},
    ErrorText{errc::OutOfStackSpace, "Out of stack space"},
    ErrorText{errc::InvalidUseOfNull, "Invalid use of Null"},
    ErrorText{errc::WrongNumberOfArguments, "Wrong number of arguments or invalid property assignment"},
    ErrorText{errc::IllegalAssignment, "Illegal assignment"},
    ErrorText{errc::CompileOutOfMemory, "Out of memory"},
    ErrorText{errc::SyntaxError, "Syntax error"},
    ErrorText{errc::ExpectedRightParen, "Expected ')'"},
    ErrorText{errc::ExpectedIdentifier, "Expected identifier"},
    ErrorText{errc::ExpectedEquals, "Expected '='"},
    ErrorText{errc::ExpectedExpression, "Expected expression"},
    ErrorText{errc::ExpectedStatement, "Expected statement"},
    ErrorText{errc::ExpectedEndOfStatement, "Expected end of statement"},
    ErrorText{errc::IdentifierTooLong, "Identifier too long"},
    ErrorText{errc::InvalidNumber, "Invalid number"},
    ErrorText{errc::InvalidCharacter, "Invalid character"},
    ErrorText{errc::UnterminatedString, "Unterminated string constant"},
};

} // namespace

std::string_view errorDescription(int number)
{
    const auto it = std::find_if(errorTexts.begin(), errorTexts.end(),
                                 [number](const ErrorText &e) { return e.number == number; });
    return it != errorTexts.end() ? it->text : std::string_view("Unknown runtime error");
}

ScriptError::ScriptError(int number, std::string_view detail, std::size_t position)
    : number_(number), position_(position), description_(errorDescription(number))
{
    if (!detail.empty()) {
        description_ += ": ";
        description_ += detail;
    }
}

} // namespace script
