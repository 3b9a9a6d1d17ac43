#include "script/Compiler.h"

#include "script/Builtins.h"
#include "script/Chars.h"
#include "script/Operators.h"
#include "script/ScriptError.h"

#include <algorithm>
#include <string>

namespace script {

namespace {

bool endsStatement(TokenKind kind)
{
    return kind == TokenKind::End || kind == TokenKind::Newline || kind == TokenKind::Colon;
}

} // namespace

Compiler::Compiler(std::string_view text, Deadline *deadline) : lexer_(text), deadline_(deadline)
{
    advance();
}

Program Compiler::compileExpression(std::string_view text, Deadline *deadline)
{
    Compiler c(text, deadline);
    c.program_.isExpression = true;
    if (c.token_.kind == TokenKind::End) {
        c.emitConstant(Value());
    } else {
        c.expression();
        if (c.token_.kind != TokenKind::End) // "Abs 1": a call without parentheses
            c.fail(errc::ExpectedEndOfStatement);
    }
    c.finish();
    return std::move(c.program_);
}

Program Compiler::compileStatements(std::string_view text, Deadline *deadline)
{
    Compiler c(text, deadline);
    for (;;) {
        if (!endsStatement(c.token_.kind))
            c.statement();
        if (c.token_.kind == TokenKind::End)
            break;
        if (c.token_.kind != TokenKind::Newline && c.token_.kind != TokenKind::Colon)
            c.fail(errc::ExpectedEndOfStatement);
        c.advance();
    }
    c.finish();
    return std::move(c.program_);
}

void Compiler::advance()
{
    if (deadline_)
        deadline_->step();
    token_ = lexer_.next();
}

bool Compiler::accept(TokenKind kind)
{
    if (token_.kind != kind)
        return false;
    advance();
    return true;
}

void Compiler::fail(int number) const
{
    throw ScriptError(number, {}, token_.position);
}

void Compiler::defer(int number, std::string_view detail, std::size_t position)
{
    if (!deferred_)
        deferred_.emplace(number, detail, position);
}

void Compiler::finish()
{
    if (deferred_)
        throw *deferred_;
}

// statement := name '=' expression
void Compiler::statement()
{
    if (token_.kind != TokenKind::Name)
        fail(errc::ExpectedStatement);
    const Token target = token_;
    advance();
    if (token_.kind != TokenKind::Operator || token_.text != "=")
        fail(errc::ExpectedEquals);
    if (findBuiltin(target.text) >= 0)
        defer(errc::IllegalAssignment, "'" + std::string(target.text) + "'", target.position);
    advance();
    expression();
    emitCode(Op::StoreName, nameIndex(target.text));
}

// Precedence climbing over the operator table. A prefix operator is allowed where its
// precedence reaches the level being read, and always right of a comparison, where the
// language reads 1 <> Not 0 = 0 as 1 <> Not (0 = 0).
Compiler::Form Compiler::expression(int minPrecedence, bool rightOfComparison)
{
    if (++depth_ > kMaxDepth)
        throw ScriptError(errc::OutOfStackSpace, "expression nested too deeply", token_.position);
    Form left = Form::Computed;
    const int prefix = token_.kind == TokenKind::Operator ? token_.prefix : -1;
    if (prefix >= 0 && (operatorAt(prefix).precedence >= minPrecedence || rightOfComparison)) {
        advance();
        expression(operatorAt(prefix).precedence);
        emitOperator(prefix, 0);
    } else {
        left = primary();
    }
    while (token_.kind == TokenKind::Operator) {
        const int infix = token_.infix;
        if (infix < 0 || operatorAt(infix).precedence < minPrecedence)
            break;
        const Operator &op = operatorAt(infix);
        advance();
        const Form right = expression(op.precedence + 1, op.comparison);
        std::uint8_t forms = 0;
        if (op.comparison) {
            forms |= left == Form::NumberLiteral ? operand::LeftNumberLiteral
                   : left == Form::TextLiteral   ? operand::LeftTextLiteral : 0;
            forms |= right == Form::NumberLiteral ? operand::RightNumberLiteral
                   : right == Form::TextLiteral   ? operand::RightTextLiteral : 0;
        }
        emitOperator(infix, forms);
        left = Form::Computed;
    }
    --depth_;
    return left;
}

Compiler::Form Compiler::primary()
{
    switch (token_.kind) {
    case TokenKind::Number:
    case TokenKind::String:
    case TokenKind::Constant: {
        const Form form = token_.kind == TokenKind::Number ? Form::NumberLiteral
                        : token_.kind == TokenKind::String ? Form::TextLiteral : Form::Computed;
        emitConstant(std::move(token_.literal));
        advance();
        return form;
    }
    case TokenKind::LParen: {
        advance();
        const Form form = expression(); // parentheses keep a literal a literal
        if (!accept(TokenKind::RParen))
            fail(errc::ExpectedRightParen);
        return form;
    }
    case TokenKind::Name:
        break;
    default:
        fail(errc::SyntaxError);
    }

    const Token name = token_;
    advance();
    const int builtin = findBuiltin(name.text);
    int argc = 0;
    const bool hasArguments = token_.kind == TokenKind::LParen;
    if (hasArguments) {
        advance();
        if (token_.kind != TokenKind::RParen) {
            for (;;) {
                expression();
                ++argc;
                if (!accept(TokenKind::Comma))
                    break;
            }
        }
        if (!accept(TokenKind::RParen))
            fail(errc::ExpectedRightParen);
    }
    // A call that cannot run: the arguments stay counted and one placeholder stands for the
    // result; the program is never run, since finish() raises the deferred error.
    const auto unrunnable = [&](int number, std::string_view what) {
        defer(number, "'" + std::string(what) + "'", name.position);
        stackDepth_ -= static_cast<std::size_t>(argc);
        emitConstant(Value());
    };
    if (builtin < 0) {
        if (hasArguments) // a variable is not a function
            unrunnable(errc::TypeMismatch, name.text);
        else
            emitCode(Op::LoadName, nameIndex(name.text));
        return Form::Computed;
    }
    const Builtin &b = builtinAt(builtin);
    if (argc < b.minArgs || argc > b.maxArgs)
        unrunnable(errc::WrongNumberOfArguments, b.name);
    else
        emitCall(builtin, argc);
    return Form::Computed;
}

void Compiler::emitCode(Op op, std::int32_t arg, std::uint8_t argc)
{
    Instr in{op, argc, 0, Real::None, arg};
    if (op == Op::Operate) {
        in.arity = static_cast<std::uint8_t>(operatorAt(arg).arity);
        in.real = operatorAt(arg).real;
    }
    program_.code.push_back(in);
    stackDepth_ = static_cast<std::size_t>(static_cast<long>(stackDepth_) + stackEffect(program_.code.back()));
    program_.maxStack = std::max(program_.maxStack, stackDepth_);
}

void Compiler::emitConstant(Value v)
{
    program_.constants.push_back(std::move(v));
    emitCode(Op::Const, static_cast<std::int32_t>(program_.constants.size() - 1));
}

// Operators on constants are computed now (a constant's code is always the single Const
// that ends it); if that raises an error, the operator stays to raise it at run time.
void Compiler::emitOperator(int index, std::uint8_t operandForms)
{
    const Operator &op = operatorAt(index);
    auto &code = program_.code;
    const std::size_t n = code.size();
    const auto operands = static_cast<std::size_t>(op.arity);
    if (n >= operands && std::all_of(code.end() - op.arity, code.end(), [](const Instr &i) { return i.op == Op::Const; })) {
        auto &constants = program_.constants;
        Value &left = constants[static_cast<std::size_t>(code[n - operands].arg)];
        const Value &right = constants[static_cast<std::size_t>(code[n - 1].arg)];
        try {
            op.apply(left, right, operandForms);
            if (operands == 2) {
                // The right constant is dead; it is the newest one unless folding kept older ones.
                if (static_cast<std::size_t>(code.back().arg) + 1 == constants.size())
                    constants.pop_back();
                code.pop_back();
                --stackDepth_;
            }
            return;
        } catch (const ScriptError &) {
        }
    }
    emitCode(Op::Operate, index, operandForms);
}

void Compiler::emitCall(int builtin, int argc)
{
    auto &code = program_.code;
    const std::size_t n = code.size();
    const std::size_t count = static_cast<std::size_t>(argc);
    const Builtin &b = builtinAt(builtin);
    if (b.pure && argc > 0 && n >= count
        && std::all_of(code.end() - argc, code.end(), [](const Instr &i) { return i.op == Op::Const; })) {
        Value args[2];
        for (std::size_t i = 0; i < count; ++i)
            args[i] = program_.constants[static_cast<std::size_t>(code[n - count + i].arg)];
        try {
            RandomState unused;
            Value r = b.call(args, argc, unused);
            program_.constants[static_cast<std::size_t>(code[n - count].arg)] = std::move(r);
            code.resize(n - count + 1);
            stackDepth_ -= count - 1;
            return;
        } catch (const ScriptError &) {
        }
    }
    emitCode(Op::Call, builtin, static_cast<std::uint8_t>(argc));
}

int Compiler::nameIndex(std::string_view name)
{
    std::string lower = lowerCase(name);
    const auto [it, added] = nameIndexes_.try_emplace(lower, static_cast<int>(program_.names.size()));
    if (added)
        program_.names.push_back(std::move(lower));
    return it->second;
}

} // namespace script
