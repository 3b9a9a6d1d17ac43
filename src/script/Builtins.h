#pragma once

#include "script/Value.h"

#include <cstdint>
#include <string_view>

namespace script {

/// State of Rnd: the language's 24-bit generator, one per engine.
class RandomState
{
public:
    /// Rnd(n): n > 0 or no argument gives the next number, 0 repeats the last one,
    /// n < 0 reseeds from n and gives the first number of that sequence. Result in [0, 1),
    /// a multiple of 2^-24 (exact as a Single).
    float next(std::optional<double> n);
    void reset() noexcept { seed_ = kInitialSeed; }

private:
    static constexpr std::uint32_t kInitialSeed = 0x50000;
    std::uint32_t seed_ = kInitialSeed;
};

using BuiltinFunction = Value (*)(const Value *args, int argc, RandomState &random);

struct Builtin
{
    std::string_view name;
    int minArgs;
    int maxArgs;
    bool pure; // same arguments, same result: may be evaluated while compiling
    BuiltinFunction call;
};

/// Index of the built-in function of that name (case-insensitive), or -1.
int findBuiltin(std::string_view name);
/// The built-in at an index findBuiltin gave.
const Builtin &builtinAt(int index);

} // namespace script
