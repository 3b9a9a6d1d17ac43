#include "script/Program.h"

#include "script/Builtins.h"
#include "script/Operators.h"

#include <array>

namespace script {

Value applyOperator(Op op, const Value &a, const Value &b)
{
    switch (op) {
    case Op::Negate:
        return negate(a);
    case Op::Add:
        return add(a, b);
    case Op::Subtract:
        return subtract(a, b);
    case Op::Multiply:
        return multiply(a, b);
    case Op::Divide:
        return divide(a, b);
    case Op::IntDivide:
        return intDivide(a, b);
    case Op::Modulo:
        return modulo(a, b);
    case Op::Power:
        return power(a, b);
    case Op::Concat:
        return concat(a, b);
    case Op::Equal:
        return compare(CompareOp::Equal, a, b);
    case Op::NotEqual:
        return compare(CompareOp::NotEqual, a, b);
    case Op::Less:
        return compare(CompareOp::Less, a, b);
    case Op::Greater:
        return compare(CompareOp::Greater, a, b);
    case Op::LessEqual:
        return compare(CompareOp::LessEqual, a, b);
    case Op::GreaterEqual:
        return compare(CompareOp::GreaterEqual, a, b);
    case Op::Not:
        return logicalNot(a);
    case Op::And:
        return logical(LogicOp::And, a, b);
    case Op::Or:
        return logical(LogicOp::Or, a, b);
    case Op::Xor:
        return logical(LogicOp::Xor, a, b);
    case Op::Eqv:
        return logical(LogicOp::Eqv, a, b);
    case Op::Imp:
        return logical(LogicOp::Imp, a, b);
    default:
        return Value();
    }
}

std::string Program::dump() const
{
    static constexpr std::array<const char *, 28> opNames{
        "Const", "Load", "LoadName", "Store", "StoreName", "Negate", "Add", "Subtract",
        "Multiply", "Divide", "IntDivide", "Modulo", "Power", "Concat", "Equal", "NotEqual",
        "Less", "Greater", "LessEqual", "GreaterEqual", "Not", "And", "Or", "Xor", "Eqv", "Imp",
        "Call", "?"};
    std::string out;
    for (const Instr &in : code) {
        out += opNames[static_cast<std::size_t>(in.op)];
        switch (in.op) {
        case Op::Const: {
            const Value &c = constants[static_cast<std::size_t>(in.arg)];
            out += ' ';
            out += c.isNull() ? std::string("Null") : c.toText();
            break;
        }
        case Op::LoadName:
        case Op::StoreName:
            out += ' ' + names[static_cast<std::size_t>(in.arg)];
            break;
        case Op::Load:
        case Op::Store:
            out += " slot " + std::to_string(in.arg);
            break;
        case Op::Call:
            out += ' ';
            out += builtinAt(in.arg).name;
            out += '/' + std::to_string(in.argc);
            break;
        default:
            break;
        }
        out += '\n';
    }
    return out;
}

} // namespace script
