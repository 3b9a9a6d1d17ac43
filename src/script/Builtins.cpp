#include "script/Builtins.h"

#include "script/Chars.h"
#include "script/Operators.h"
#include "script/ScriptError.h"

#include <array>
#include <bit>
#include <cfloat>
#include <cmath>

namespace script {

namespace {

// Abs, Int, Fix keep the numeric type of their argument (widening on overflow); text and
// Double give Double.
template <typename WholeFn, typename RealFn>
Value keepType(const Value &v, WholeFn whole, RealFn real)
{
    switch (v.type()) {
    case VarType::Null:
        return v;
    case VarType::Empty:
        return Value::integer(0);
    case VarType::Boolean:
    case VarType::Integer: {
        return narrowestWhole(whole(static_cast<std::int64_t>(v.integerValue())));
    }
    case VarType::Long: {
        const std::int64_t r = whole(static_cast<std::int64_t>(v.integerValue()));
        if (r >= INT32_MIN && r <= INT32_MAX)
            return Value::longValue(static_cast<std::int32_t>(r));
        return Value::number(static_cast<double>(r));
    }
    case VarType::Single:
        return Value::single(static_cast<float>(real(v.doubleValue())));
    default:
        return Value::number(real(v.toDouble()));
    }
}

Value fnAbs(const Value *a, int, RandomState &)
{
    return keepType(a[0], [](std::int64_t x) { return x < 0 ? -x : x; }, [](double x) { return std::fabs(x); });
}

Value fnInt(const Value *a, int, RandomState &)
{
    return keepType(a[0], [](std::int64_t x) { return x; }, [](double x) { return std::floor(x); });
}

Value fnFix(const Value *a, int, RandomState &)
{
    return keepType(a[0], [](std::int64_t x) { return x; }, [](double x) { return std::trunc(x); });
}

Value fnSgn(const Value *a, int, RandomState &)
{
    const double x = a[0].toDouble();
    return Value::integer(static_cast<std::int16_t>(x > 0 ? 1 : (x < 0 ? -1 : 0)));
}

Value fnAtn(const Value *a, int, RandomState &) { return Value::number(std::atan(a[0].toDouble())); }
Value fnCos(const Value *a, int, RandomState &) { return Value::number(std::cos(a[0].toDouble())); }
Value fnSin(const Value *a, int, RandomState &) { return Value::number(std::sin(a[0].toDouble())); }
Value fnTan(const Value *a, int, RandomState &) { return Value::number(std::tan(a[0].toDouble())); }

Value fnExp(const Value *a, int, RandomState &)
{
    return checkedDouble(std::exp(a[0].toDouble())); // overflow past about 709.78
}

Value fnLog(const Value *a, int, RandomState &)
{
    const double x = a[0].toDouble();
    if (!(x > 0))
        throw ScriptError(errc::InvalidProcedureCall);
    return Value::number(std::log(x));
}

Value fnSqr(const Value *a, int, RandomState &)
{
    const double x = a[0].toDouble();
    if (x < 0)
        throw ScriptError(errc::InvalidProcedureCall);
    return Value::number(std::sqrt(x));
}

Value fnRnd(const Value *a, int argc, RandomState &random)
{
    if (argc == 0)
        return Value::single(random.next(std::nullopt));
    return Value::single(random.next(a[0].toDouble()));
}

Value fnCInt(const Value *a, int, RandomState &)
{
    return Value::integer(roundToInteger(a[0].toDouble()));
}

Value fnCLng(const Value *a, int, RandomState &)
{
    return Value::longValue(roundToLong(a[0].toDouble()));
}

Value fnCDbl(const Value *a, int, RandomState &) { return Value::number(a[0].toDouble()); }

Value fnCSng(const Value *a, int, RandomState &)
{
    const double d = a[0].toDouble();
    if (!(std::fabs(d) <= FLT_MAX))
        throw ScriptError(errc::Overflow);
    return Value::single(static_cast<float>(d));
}

Value fnCBool(const Value *a, int, RandomState &)
{
    const Value &v = a[0];
    if (v.type() == VarType::String) {
        if (const auto b = booleanFromText(v.stringValue()))
            return Value::boolean(*b);
    }
    return Value::boolean(v.toDouble() != 0);
}

Value fnCStr(const Value *a, int, RandomState &) { return Value::string(a[0].toText()); }

// Round(x [, places]): half to even on the binary value; whole numbers and Booleans pass
// through, a Single stays a Single.
Value fnRound(const Value *a, int argc, RandomState &)
{
    const Value &v = a[0];
    int places = 0;
    if (argc > 1) {
        if (a[1].isNull())
            throw ScriptError(errc::InvalidUseOfNull);
        const std::int32_t p = roundToLong(a[1].toDouble());
        if (p < 0)
            throw ScriptError(errc::InvalidProcedureCall);
        places = p > 22 ? 22 : p;
    }
    switch (v.type()) {
    case VarType::Null:
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long:
        return v;
    case VarType::Empty:
        return Value::integer(0);
    default:
        break;
    }
    const double x = v.toDouble();
    const double scale = std::pow(10.0, places);
    const double y = x * scale;
    const double r = std::isfinite(y) ? std::nearbyint(y) / scale : x; // x: no digits that far right
    return v.type() == VarType::Single ? Value::single(static_cast<float>(r)) : Value::number(r);
}

// One table of the built-ins: name, argument counts, purity, implementation.
constexpr std::array builtins{
    Builtin{"Abs", 1, 1, true, fnAbs},     Builtin{"Atn", 1, 1, true, fnAtn},
    Builtin{"Cos", 1, 1, true, fnCos},     Builtin{"Exp", 1, 1, true, fnExp},
    Builtin{"Fix", 1, 1, true, fnFix},     Builtin{"Int", 1, 1, true, fnInt},
    Builtin{"Log", 1, 1, true, fnLog},     Builtin{"Rnd", 0, 1, false, fnRnd},
    Builtin{"Sgn", 1, 1, true, fnSgn},     Builtin{"Sin", 1, 1, true, fnSin},
    Builtin{"Sqr", 1, 1, true, fnSqr},     Builtin{"Tan", 1, 1, true, fnTan},
    Builtin{"CInt", 1, 1, true, fnCInt},   Builtin{"CLng", 1, 1, true, fnCLng},
    Builtin{"CDbl", 1, 1, true, fnCDbl},   Builtin{"CSng", 1, 1, true, fnCSng},
    Builtin{"CBool", 1, 1, true, fnCBool},
    Builtin{"CStr", 1, 1, true, fnCStr},   Builtin{"Round", 1, 2, true, fnRound},
};

} // namespace

float RandomState::next(std::optional<double> n)
{
    if (n && *n == 0)
        return static_cast<float>(seed_) / 16777216.0f;
    if (n && *n < 0) {
        // Reseed from the bits of the argument as a single-precision number.
        const double clamped = *n < -FLT_MAX ? -FLT_MAX : *n;
        const std::uint32_t bits = std::bit_cast<std::uint32_t>(static_cast<float>(clamped));
        seed_ = (bits + (bits >> 24)) & 0xFFFFFFu;
    }
    seed_ = (seed_ * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
    return static_cast<float>(seed_) / 16777216.0f;
}

int findBuiltin(std::string_view name)
{
    for (std::size_t i = 0; i < builtins.size(); ++i)
        if (sameName(builtins[i].name, name))
            return static_cast<int>(i);
    return -1;
}

const Builtin &builtinAt(int index) { return builtins[static_cast<std::size_t>(index)]; }

} // namespace script
