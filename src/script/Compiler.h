#pragma once

#include "script/Deadline.h"
#include "script/Lexer.h"
#include "script/Bytecode.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace script {

/// Precedence-climbing compiler from text to Program, driven by the operator table.
/// Syntax errors throw ScriptError with the language's 1xxx numbers as soon as they are
/// found; errors the language raises only when the code runs (a wrong argument count, a
/// variable called as a function) are raised once the whole text has been read, so a
/// syntax error anywhere wins. Nesting deeper than kMaxDepth throws error 28.
class Compiler
{
public:
    static constexpr int kMaxDepth = 256;

    /// An expression for Eval: the whole text must be one expression (empty text is Empty).
    /// Each token read is a step of the deadline, when one is given.
    static Program compileExpression(std::string_view text, Deadline *deadline = nullptr);
    /// Assignments "name = expression", separated by ':' or line ends.
    static Program compileStatements(std::string_view text, Deadline *deadline = nullptr);

private:
    // How an operand was written, for the comparison rules of text against numbers.
    enum class Form : std::uint8_t { Computed, NumberLiteral, TextLiteral };

    Compiler(std::string_view text, Deadline *deadline);

    void advance();
    bool accept(TokenKind kind);
    [[noreturn]] void fail(int number) const;
    void defer(int number, std::string_view detail, std::size_t position);
    void finish();

    void statement();
    // expression := prefix-operator expression(its precedence) | primary,
    //               then (infix-operator expression(its precedence + 1))* while the
    //               infix operator's precedence is at least minPrecedence
    Form expression(int minPrecedence = 0, bool rightOfComparison = false);
    // primary := literal | name ['(' [expression (',' expression)*] ')'] | '(' expression ')'
    Form primary();

    void emitCode(Op op, std::int32_t arg = 0, std::uint8_t argc = 0);
    void emitConstant(Value v);
    void emitOperator(int index, std::uint8_t operandForms);
    void emitCall(int builtin, int argc);
    int nameIndex(std::string_view name);

    Lexer lexer_;
    Token token_;
    Program program_;
    Deadline *deadline_;
    std::size_t stackDepth_ = 0;
    int depth_ = 0;
    std::unordered_map<std::string, int> nameIndexes_;
    std::optional<ScriptError> deferred_;
};

} // namespace script
