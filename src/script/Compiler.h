#pragma once

#include "script/Lexer.h"
#include "script/Program.h"

#include <string>
#include <string_view>
#include <unordered_map>

namespace script {

/// Recursive-descent compiler from text to Program, one function per precedence level.
/// Syntax errors throw ScriptError with the language's 1xxx numbers; nesting deeper than
/// kMaxDepth throws error 28.
class Compiler
{
public:
    static constexpr int kMaxDepth = 256;

    /// An expression for Eval: the whole text must be one expression (empty text is Empty).
    static Program compileExpression(std::string_view text);
    /// Assignments "name = expression", separated by ':' or line ends.
    static Program compileStatements(std::string_view text);

private:
    explicit Compiler(std::string_view text);

    void advance() { token_ = lexer_.next(); }
    bool accept(TokenKind kind);
    [[noreturn]] void fail(int number) const;

    void statement();
    void expression();   // expression := imp
    void impLevel();     // imp := eqv ('Imp' eqv)*
    void eqvLevel();     // eqv := xor ('Eqv' xor)*
    void xorLevel();     // xor := or ('Xor' or)*
    void orLevel();      // or := and ('Or' and)*
    void andLevel();     // and := not ('And' not)*
    void notLevel();     // not := 'Not' not | compare
    void compareLevel(); // compare := concat (('=' | '<>' | '<' | '>' | '<=' | '>=') concat)*
    void concatLevel();  // concat := additive ('&' additive)*
    void additiveLevel();// additive := modulo (('+' | '-') modulo)*
    void moduloLevel();  // modulo := intdiv ('Mod' intdiv)*
    void intDivLevel();  // intdiv := multiplicative ('\' multiplicative)*
    void multiplicativeLevel(); // multiplicative := power (('*' | '/') power)*
    void powerLevel();   // power := unary ('^' unary)*   (left-associative)
    void unaryLevel();   // unary := ('-' | '+') unary | primary
    void primary();      // primary := literal | name ['(' args ')'] | '(' expression ')'

    void emit(Op op, std::int32_t arg = 0, std::uint8_t argc = 0);
    void emitConstant(Value v);
    void emitOperator(Op op, int operands);
    void emitCall(int builtin, int argc);
    int nameIndex(std::string_view name);
    void enter();
    void leave() { --depth_; }

    Lexer lexer_;
    Token token_;
    Program program_;
    std::size_t stackDepth_ = 0;
    int depth_ = 0;
    std::unordered_map<std::string, int> nameIndexes_;
};

} // namespace script
