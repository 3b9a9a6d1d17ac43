#include "script/Compiler.h"

#include "script/Builtins.h"
#include "script/ScriptError.h"

#include <algorithm>
#include <string>

namespace script {

namespace {

std::string lowerName(std::string_view name)
{
    std::string s(name);
    for (char &c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool endsStatement(TokenKind kind)
{
    return kind == TokenKind::End || kind == TokenKind::Newline || kind == TokenKind::Colon;
}

} // namespace

Compiler::Compiler(std::string_view text) : lexer_(text)
{
    advance();
}

Program Compiler::compileExpression(std::string_view text)
{
    Compiler c(text);
    c.program_.isExpression = true;
    if (c.token_.kind == TokenKind::End) {
        c.emitConstant(Value());
    } else {
        c.expression();
        if (c.token_.kind != TokenKind::End)
            c.fail(errc::ExpectedEndOfStatement);
    }
    return std::move(c.program_);
}

Program Compiler::compileStatements(std::string_view text)
{
    Compiler c(text);
    for (;;) {
        if (!endsStatement(c.token_.kind))
            c.statement();
        if (c.token_.kind == TokenKind::End)
            break;
        if (c.token_.kind != TokenKind::Newline && c.token_.kind != TokenKind::Colon)
            c.fail(errc::ExpectedEndOfStatement);
        c.advance();
    }
    return std::move(c.program_);
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

void Compiler::enter()
{
    if (++depth_ > kMaxDepth)
        throw ScriptError(errc::OutOfStackSpace, "expression nested too deeply", token_.position);
}

// statement := name '=' expression
void Compiler::statement()
{
    if (token_.kind != TokenKind::Name)
        fail(errc::ExpectedStatement);
    const Token target = token_;
    advance();
    if (token_.kind != TokenKind::Equal)
        fail(errc::ExpectedEquals);
    if (findBuiltin(target.text) >= 0)
        throw ScriptError(errc::IllegalAssignment, "'" + std::string(target.text) + "'", target.position);
    advance();
    expression();
    emit(Op::StoreName, nameIndex(target.text));
}

void Compiler::expression() { impLevel(); }

void Compiler::impLevel()
{
    eqvLevel();
    while (accept(TokenKind::Imp)) {
        eqvLevel();
        emitOperator(Op::Imp, 2);
    }
}

void Compiler::eqvLevel()
{
    xorLevel();
    while (accept(TokenKind::Eqv)) {
        xorLevel();
        emitOperator(Op::Eqv, 2);
    }
}

void Compiler::xorLevel()
{
    orLevel();
    while (accept(TokenKind::Xor)) {
        orLevel();
        emitOperator(Op::Xor, 2);
    }
}

void Compiler::orLevel()
{
    andLevel();
    while (accept(TokenKind::Or)) {
        andLevel();
        emitOperator(Op::Or, 2);
    }
}

void Compiler::andLevel()
{
    notLevel();
    while (accept(TokenKind::And)) {
        notLevel();
        emitOperator(Op::And, 2);
    }
}

void Compiler::notLevel()
{
    if (accept(TokenKind::Not)) {
        enter();
        notLevel();
        leave();
        emitOperator(Op::Not, 1);
        return;
    }
    compareLevel();
}

void Compiler::compareLevel()
{
    concatLevel();
    for (;;) {
        Op op;
        switch (token_.kind) {
        case TokenKind::Equal: op = Op::Equal; break;
        case TokenKind::NotEqual: op = Op::NotEqual; break;
        case TokenKind::Less: op = Op::Less; break;
        case TokenKind::Greater: op = Op::Greater; break;
        case TokenKind::LessEqual: op = Op::LessEqual; break;
        case TokenKind::GreaterEqual: op = Op::GreaterEqual; break;
        default: return;
        }
        advance();
        concatLevel();
        emitOperator(op, 2);
    }
}

void Compiler::concatLevel()
{
    additiveLevel();
    while (accept(TokenKind::Ampersand)) {
        additiveLevel();
        emitOperator(Op::Concat, 2);
    }
}

void Compiler::additiveLevel()
{
    moduloLevel();
    for (;;) {
        const Op op = token_.kind == TokenKind::Plus ? Op::Add : token_.kind == TokenKind::Minus ? Op::Subtract : Op::Call;
        if (op == Op::Call)
            return;
        advance();
        moduloLevel();
        emitOperator(op, 2);
    }
}

void Compiler::moduloLevel()
{
    intDivLevel();
    while (accept(TokenKind::Mod)) {
        intDivLevel();
        emitOperator(Op::Modulo, 2);
    }
}

void Compiler::intDivLevel()
{
    multiplicativeLevel();
    while (accept(TokenKind::Backslash)) {
        multiplicativeLevel();
        emitOperator(Op::IntDivide, 2);
    }
}

void Compiler::multiplicativeLevel()
{
    powerLevel();
    for (;;) {
        const Op op = token_.kind == TokenKind::Star ? Op::Multiply : token_.kind == TokenKind::Slash ? Op::Divide : Op::Call;
        if (op == Op::Call)
            return;
        advance();
        powerLevel();
        emitOperator(op, 2);
    }
}

void Compiler::powerLevel()
{
    unaryLevel();
    while (accept(TokenKind::Caret)) {
        unaryLevel();
        emitOperator(Op::Power, 2);
    }
}

// The sign binds tighter than '^' in this language: -3^2 is (-3)^2.
void Compiler::unaryLevel()
{
    if (token_.kind == TokenKind::Minus || token_.kind == TokenKind::Plus) {
        const bool minus = token_.kind == TokenKind::Minus;
        advance();
        enter();
        unaryLevel();
        leave();
        if (minus)
            emitOperator(Op::Negate, 1);
        return;
    }
    primary();
}

void Compiler::primary()
{
    switch (token_.kind) {
    case TokenKind::Number:
    case TokenKind::String:
        emitConstant(std::move(token_.literal));
        advance();
        return;
    case TokenKind::True:
    case TokenKind::False:
        emitConstant(Value::boolean(token_.kind == TokenKind::True));
        advance();
        return;
    case TokenKind::Empty:
        emitConstant(Value());
        advance();
        return;
    case TokenKind::Null:
        emitConstant(Value::null());
        advance();
        return;
    case TokenKind::LParen:
        advance();
        enter();
        expression();
        leave();
        if (!accept(TokenKind::RParen))
            fail(errc::ExpectedRightParen);
        return;
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
        enter();
        if (token_.kind != TokenKind::RParen) {
            for (;;) {
                expression();
                ++argc;
                if (!accept(TokenKind::Comma))
                    break;
            }
        }
        leave();
        if (!accept(TokenKind::RParen))
            fail(errc::ExpectedRightParen);
    }
    if (builtin < 0) {
        if (hasArguments) // a variable is not a function
            throw ScriptError(errc::TypeMismatch, "'" + std::string(name.text) + "'", name.position);
        emit(Op::LoadName, nameIndex(name.text));
        return;
    }
    const Builtin &b = builtinAt(builtin);
    if (argc < b.minArgs || argc > b.maxArgs)
        throw ScriptError(errc::WrongNumberOfArguments, "'" + std::string(b.name) + "'", name.position);
    emitCall(builtin, argc);
}

void Compiler::emit(Op op, std::int32_t arg, std::uint8_t argc)
{
    program_.code.push_back(Instr{op, argc, arg});
    switch (op) {
    case Op::Const:
    case Op::Load:
    case Op::LoadName:
        ++stackDepth_;
        break;
    case Op::Store:
    case Op::StoreName:
        --stackDepth_;
        break;
    case Op::Negate:
    case Op::Not:
        break;
    case Op::Call:
        stackDepth_ = stackDepth_ - argc + 1;
        break;
    default:
        --stackDepth_;
        break;
    }
    program_.maxStack = std::max(program_.maxStack, stackDepth_);
}

void Compiler::emitConstant(Value v)
{
    program_.constants.push_back(std::move(v));
    emit(Op::Const, static_cast<std::int32_t>(program_.constants.size() - 1));
}

// Operators on constants are computed now (a constant's code is always the single Const
// that ends it); if that raises an error, the operator stays to raise it at run time.
void Compiler::emitOperator(Op op, int operands)
{
    auto &code = program_.code;
    const std::size_t n = code.size();
    if (n >= static_cast<std::size_t>(operands)
        && std::all_of(code.end() - operands, code.end(), [](const Instr &i) { return i.op == Op::Const; })) {
        auto &constants = program_.constants;
        const std::size_t first = static_cast<std::size_t>(code[n - static_cast<std::size_t>(operands)].arg);
        try {
            Value r = operands == 1 ? applyOperator(op, constants[first], Value())
                                    : applyOperator(op, constants[first], constants[static_cast<std::size_t>(code[n - 1].arg)]);
            constants[first] = std::move(r);
            if (operands == 2) {
                code.pop_back();
                --stackDepth_;
            }
            return;
        } catch (const ScriptError &) {
        }
    }
    emit(op);
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
    emit(Op::Call, builtin, static_cast<std::uint8_t>(argc));
}

int Compiler::nameIndex(std::string_view name)
{
    std::string lower = lowerName(name);
    const auto [it, added] = nameIndexes_.try_emplace(lower, static_cast<int>(program_.names.size()));
    if (added)
        program_.names.push_back(std::move(lower));
    return it->second;
}

} // namespace script
