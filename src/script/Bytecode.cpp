#include "script/Bytecode.h"

#include "script/Builtins.h"
#include "script/Operators.h"

namespace script {

int stackEffect(const Instr &in)
{
    switch (in.op) {
    case Op::Const:
    case Op::Load:
    case Op::LoadName:
        return 1;
    case Op::Store:
    case Op::StoreName:
        return -1;
    case Op::Call:
        return 1 - in.argc;
    case Op::Operate:
        return 1 - in.arity;
    }
    return 0;
}

std::string Program::dump() const
{
    std::string out;
    for (const Instr &in : code) {
        switch (in.op) {
        case Op::Const: {
            const Value &c = constants[static_cast<std::size_t>(in.arg)];
            out += "Const ";
            out += c.isNull() ? std::string("Null") : c.toText();
            break;
        }
        case Op::LoadName:
            out += "LoadName " + names[static_cast<std::size_t>(in.arg)];
            break;
        case Op::StoreName:
            out += "StoreName " + names[static_cast<std::size_t>(in.arg)];
            break;
        case Op::Load:
            out += "Load slot " + std::to_string(in.arg);
            break;
        case Op::Store:
            out += "Store slot " + std::to_string(in.arg);
            break;
        case Op::Call:
            out += "Call ";
            out += builtinAt(in.arg).name;
            out += '/' + std::to_string(in.argc);
            break;
        case Op::Operate:
            out += operatorAt(in.arg).name;
            if (in.argc & (operand::LeftNumberLiteral | operand::LeftTextLiteral))
                out += (in.argc & operand::LeftNumberLiteral) ? " (number literal left)" : " (text literal left)";
            if (in.argc & (operand::RightNumberLiteral | operand::RightTextLiteral))
                out += (in.argc & operand::RightNumberLiteral) ? " (number literal right)" : " (text literal right)";
            break;
        }
        out += '\n';
    }
    return out;
}

} // namespace script
