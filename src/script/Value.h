#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace script {

/// The variant types of the language.
enum class VarType : std::uint8_t { Empty, Null, Boolean, Integer, Long, Single, Double, String };

/// One variant value. Numbers are never NaN or infinite.
class Value
{
public:
    /// Empty, the value of a name never assigned.
    Value() noexcept = default;

    static Value null() noexcept;
    static Value boolean(bool b) noexcept;
    static Value integer(std::int16_t i) noexcept;
    static Value longValue(std::int32_t l) noexcept;
    /// A Single (32-bit floating point); throws ScriptError 6 (overflow) for an infinity or NaN.
    static Value single(float f);
    /// A Double; throws ScriptError 6 (overflow) for an infinity or NaN.
    static Value number(double d);
    /// A String; throws ScriptError 14 when longer than kMaxStringLength.
    static Value string(std::string s);

    VarType type() const noexcept { return type_; }
    bool isNull() const noexcept { return type_ == VarType::Null; }

    /// Payloads, valid for the matching type only.
    bool booleanValue() const noexcept { return int_ != 0; }
    std::int32_t integerValue() const noexcept { return int_; } // Integer, Long and Boolean (-1/0)
    double doubleValue() const noexcept { return double_; }             // Double and Single
    float singleValue() const noexcept { return static_cast<float>(double_); }
    const std::string &stringValue() const noexcept { return string_; }

    /// Text form: numbers in the 15-significant-digit form (Single in 7), True/False, "" for
    /// Empty, strings unchanged. Throws ScriptError 94 for Null.
    std::string toText() const;
    /// Numeric value: Empty is 0, True -1, numeric strings their number.
    /// Throws ScriptError 13 (not numeric) or 94 (Null).
    double toDouble() const;

    /// Appends text to a String value in place; error 14 (and no change) past kMaxStringLength.
    void append(std::string_view text);

    /// Longest string value; longer results raise error 14.
    static constexpr std::size_t kMaxStringLength = 65536;

private:
    friend class Engine; // the evaluator's fast paths write numbers in place

    static Value whole(VarType type, std::int32_t i) noexcept;
    // A floating value; throws ScriptError 6 (overflow) for an infinity or NaN.
    static Value real(VarType type, double d);

    // Callers keep the invariant that only a String holds characters in string_.
    void setDouble(double d) noexcept
    {
        type_ = VarType::Double;
        double_ = d;
    }
    void assign(const Value &v)
    {
        if (v.type_ == VarType::String || type_ == VarType::String) {
            *this = v;
            return;
        }
        type_ = v.type_;
        std::memcpy(&double_, &v.double_, sizeof double_); // whichever number it holds
    }

    VarType type_ = VarType::Empty;
    union {
        std::int32_t int_ = 0;
        double double_;
    };
    std::string string_;
};

/// The number a string stands for when used as a number: optional spaces, sign, then a
/// decimal number with optional exponent, or &H hex / &O octal. nullopt if it is not one;
/// throws ScriptError 6 when the number is beyond the double range.
std::optional<double> numberFromString(std::string_view text);

/// The Boolean a text names: True, False, #TRUE# or #FALSE# in any case; nullopt otherwise.
std::optional<bool> booleanFromText(std::string_view text) noexcept;

/// Rounds half to even and checks the 32-bit range (error 6 outside), as \, Mod, CLng and
/// the bitwise operators do with their operands.
std::int32_t roundToLong(double d);
/// Rounds half to even and checks the 16-bit range (error 6 outside), as CInt does.
std::int16_t roundToInteger(double d);

/// The narrowest type that holds the whole number: Integer, Long, else Double (as the
/// number literals read).
inline Value narrowestWhole(std::int64_t n)
{
    if (n >= INT16_MIN && n <= INT16_MAX)
        return Value::integer(static_cast<std::int16_t>(n));
    if (n >= INT32_MIN && n <= INT32_MAX)
        return Value::longValue(static_cast<std::int32_t>(n));
    return Value::number(static_cast<double>(n));
}

} // namespace script
