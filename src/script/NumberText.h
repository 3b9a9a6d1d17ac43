#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Text forms of numbers the language reads and writes: the 15-significant-digit form, the
// Single's form and the lenient leading-number parse.
namespace script {

/// A finite double rounded to 15 significant digits: value = d1.d2d3... * 10^exponent, the
/// digits d1 d2 ... being those of mantissa (count of them, d1 never 0 but for zero itself).
/// Trailing zeros are dropped; zero (of either sign) is the single digit 0 with exponent 0
/// and no sign.
struct Decimal15
{
    std::uint64_t mantissa;
    int count;
    int exponent;
    bool negative;
};

Decimal15 toDecimal15(double value);

/// Room a caller must give writeNumberText ("-1.23456789012345E-308" and then some).
inline constexpr std::size_t kNumberTextCapacity = 32;

/// Writes the standard text form of a finite value into out (kNumberTextCapacity chars),
/// returns its length: at most 15 significant digits, no trailing zeros, and exponent form
/// ("1E-05", "1.5E+20") when the decimal exponent is below -4 or above 14.
std::size_t writeNumberText(double value, char *out);

/// What the text writeNumberText writes for the decimal reads as, without writing it: true
/// with the numeral's value when the text is a whole numeral (digits only), else false with
/// the magnitude parseDecimal gives for the text after its sign (an infinity where that
/// text reads beyond the double range).
bool readDecimal15(const Decimal15 &d, std::int64_t &whole, double &magnitude);

/// writeNumberText as a std::string: numberToText(0.1 + 0.2) is "0.3".
std::string numberToText(double value);

/// The text form of a Single: as writeNumberText with at most 7 significant digits and
/// exponent form from 1E+07 ("0.7055475", "1.234568E+07").
std::string singleToText(float value);

/// Writes the `count` decimal digits of value, with leading zeros, ending at out + count.
void writeInteger(char *out, std::uint64_t value, int count);

/// Lenient leading-number parse: spaces, tabs, CR and LF are skipped wherever they stand;
/// an optional sign, digits with at most one point and an optional exponent are read up to
/// the first character that does not fit. No number gives 0; a number beyond the double
/// range gives the largest finite double of its sign.
double leadingNumber(std::string_view text);

/// Result of converting a strict decimal digit string.
enum class DecimalStatus { Ok, Overflow };

/// Converts an unsigned decimal "digits[.digits][E[+|-]digits]" already checked by the caller.
/// Values too small for a double become 0.
DecimalStatus parseDecimal(std::string_view text, double &out);

/// Length of the decimal literal at the start of text ("12", "1.5E-3", ".5", "10."), 0 if
/// none starts there. badExponent is set when an "E" is not followed by digits.
std::size_t scanDecimal(std::string_view text, bool &badExponent);

} // namespace script
