#include "script/Value.h"

#include "script/Chars.h"
#include "script/NumberText.h"
#include "script/ScriptError.h"

#include <charconv>
#include <cmath>

namespace script {

Value Value::null() noexcept
{
    Value v;
    v.type_ = VarType::Null;
    return v;
}

Value Value::boolean(bool b) noexcept
{
    return whole(VarType::Boolean, b ? -1 : 0);
}

Value Value::integer(std::int16_t i) noexcept
{
    return whole(VarType::Integer, i);
}

Value Value::longValue(std::int32_t l) noexcept
{
    return whole(VarType::Long, l);
}

Value Value::single(float f)
{
    return real(VarType::Single, f);
}

Value Value::number(double d)
{
    return real(VarType::Double, d);
}

Value Value::whole(VarType type, std::int32_t i) noexcept
{
    Value v;
    v.type_ = type;
    v.int_ = i;
    return v;
}

Value Value::real(VarType type, double d)
{
    if (!std::isfinite(d))
        throw ScriptError(errc::Overflow);
    Value v;
    v.type_ = type;
    v.double_ = d;
    return v;
}

Value Value::string(std::string s)
{
    if (s.size() > kMaxStringLength)
        throw ScriptError(errc::OutOfStringSpace);
    Value v;
    v.type_ = VarType::String;
    v.string_ = std::move(s);
    return v;
}

std::string Value::toText() const
{
    switch (type_) {
    case VarType::Empty:
        return {};
    case VarType::Null:
        throw ScriptError(errc::InvalidUseOfNull);
    case VarType::Boolean:
        return int_ ? "True" : "False";
    case VarType::Integer:
    case VarType::Long: {
        char buf[16];
        const auto res = std::to_chars(buf, buf + sizeof buf, int_);
        return std::string(buf, res.ptr);
    }
    case VarType::Single:
        return singleToText(static_cast<float>(double_));
    case VarType::Double:
        return numberToText(double_);
    case VarType::String:
        return string_;
    }
    return {};
}

void Value::append(std::string_view text)
{
    if (string_.size() + text.size() > kMaxStringLength)
        throw ScriptError(errc::OutOfStringSpace);
    string_ += text;
}

double Value::toDouble() const
{
    switch (type_) {
    case VarType::Empty:
        return 0;
    case VarType::Null:
        throw ScriptError(errc::InvalidUseOfNull);
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long:
        return int_;
    case VarType::Single:
    case VarType::Double:
        return double_;
    case VarType::String:
        if (const auto d = numberFromString(string_))
            return *d;
        throw ScriptError(errc::TypeMismatch);
    }
    return 0;
}

std::optional<double> numberFromString(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.size() >= 3 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h' || text[1] == 'O' || text[1] == 'o')) {
        const int base = (text[1] == 'H' || text[1] == 'h') ? 16 : 8;
        std::uint64_t bits = 0;
        const auto res = std::from_chars(text.data() + 2, text.data() + text.size(), bits, base);
        if (res.ptr != text.data() + text.size() || res.ec != std::errc() || bits > 0xFFFFFFFFu)
            return std::nullopt;
        const double d = static_cast<double>(bits);
        return negative ? -d : d;
    }
    bool badExponent = false;
    const std::size_t n = scanDecimal(text, badExponent);
    if (n == 0 || n != text.size())
        return std::nullopt;
    double d = 0;
    if (parseDecimal(text, d) == DecimalStatus::Overflow)
        throw ScriptError(errc::Overflow);
    return negative ? -d : d;
}

std::optional<bool> booleanFromText(std::string_view text) noexcept
{
    if (sameName(text, "True") || sameName(text, "#TRUE#"))
        return true;
    if (sameName(text, "False") || sameName(text, "#FALSE#"))
        return false;
    return std::nullopt;
}

std::int32_t roundToLong(double d)
{
    const double r = std::nearbyint(d);
    if (!(r >= INT32_MIN && r <= INT32_MAX))
        throw ScriptError(errc::Overflow);
    return static_cast<std::int32_t>(r);
}

std::int16_t roundToInteger(double d)
{
    const double r = std::nearbyint(d);
    if (!(r >= INT16_MIN && r <= INT16_MAX))
        throw ScriptError(errc::Overflow);
    return static_cast<std::int16_t>(r);
}

} // namespace script
