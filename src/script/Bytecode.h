#pragma once

#include "script/Operators.h"
#include "script/Value.h"

#include <cstdint>
#include <string>
#include <vector>

namespace script {

/// Instructions of the compiled form: a stack machine in reverse Polish order.
enum class Op : std::uint8_t {
    Const,     // push constants[arg]
    Load,      // push the global in slot arg
    LoadName,  // push the global named names[arg] (Empty if none); rewrites itself to Load
    Store,     // pop into the global in slot arg
    StoreName, // pop into the global named names[arg], creating it; rewrites itself to Store
    Call,      // call builtin arg with argc arguments from the top of the stack
    Operate,   // apply operatorAt(arg) to the top one or two values; argc holds the operand forms
};

struct Instr
{
    Op op;
    std::uint8_t argc = 0;
    // Operate only: the operator's arity and short way, copied from the table so that the
    // evaluator's common case reads nothing else.
    std::uint8_t arity = 0;
    Real real = Real::None;
    std::int32_t arg = 0;
};

/// How many values an instruction takes from the stack and how many it leaves.
int stackEffect(const Instr &in);

/// One compiled text: an expression (leaves its value on the stack) or statements.
struct Program
{
    std::vector<Instr> code;
    std::vector<Value> constants;
    std::vector<std::string> names; // lower-case names of globals not yet bound to a slot
    std::size_t maxStack = 0;
    bool isExpression = false;

    /// Readable listing of the code, one instruction a line, for debugging.
    std::string dump() const;
};

} // namespace script
