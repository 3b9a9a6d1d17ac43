#include "script/NumberText.h"

#include "script/Chars.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace script {

namespace {

// 10^0 .. 10^22, all exact in a double.
constexpr std::array<double, 23> kPow10 = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

constexpr double kMin15 = 1e14; // smallest 15-digit integer
constexpr double kMax15 = 1e15;

// "00" .. "99": two digits per division keeps the digit loop short.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> t{};
    for (int i = 0; i < 100; ++i) {
        t[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        t[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return t;
}();

// Writes n digits of v (with leading zeros) ending at out + n.
void writeDigits(char *out, std::uint32_t v, int n)
{
    while (n >= 2) {
        const std::uint32_t pair = v % 100;
        v /= 100;
        n -= 2;
        std::memcpy(out + n, &kDigitPairs[2 * pair], 2);
    }
    if (n == 1)
        out[0] = static_cast<char>('0' + v % 10);
}

// r holds exactly 15 digits; the mantissa keeps them without their trailing zeros.
void setDigits(Decimal15 &d, std::uint64_t r)
{
    d.count = 15;
    if (r % 100000000 == 0) {
        r /= 100000000;
        d.count -= 8;
    }
    while (r % 10 == 0) {
        r /= 10;
        --d.count;
    }
    d.mantissa = r;
}

// The mantissa's digits, d.count of them.
void writeMantissa(const Decimal15 &d, char *out)
{
    writeInteger(out, d.mantissa, d.count);
}

// Exact fast path for 1e-5 <= a < 1e15: a * 10^s is formed exactly as hi + lo (10^s is
// exact for s <= 22 and fma gives the rounding error), then rounded to a 15-digit integer.
bool fastDecimal15(double a, Decimal15 &d)
{
    const int e2 = static_cast<int>((std::bit_cast<std::uint64_t>(a) >> 52) & 0x7ff) - 1023;
    int e10 = (e2 * 1233) >> 12; // floor(e2 * log10(2)): the decimal exponent or one below it
    int s = 14 - e10;
    double hi = a * kPow10[static_cast<std::size_t>(s)];
    if (hi >= kMax15) {
        if (s == 0)
            return false;
        ++e10;
        --s;
        hi = a * kPow10[static_cast<std::size_t>(s)];
    }
    if (hi < kMin15 || hi > kMax15)
        return false;
    const double lo = std::fma(a, kPow10[static_cast<std::size_t>(s)], -hi);
    // hi rounded half up; hi + 0.5 and the difference below are exact, hi's ulp being 1/64
    // to 1/8 here. Only a tie looks further, at the part hi lost, then to even: the common
    // case takes no branch on the digits.
    std::uint64_t r = static_cast<std::uint64_t>(hi + 0.5);
    if (static_cast<double>(r) - hi == 0.5 && (lo < 0 || (lo == 0 && (r & 1) != 0)))
        --r;
    if (r >= 1000000000000000u) {
        r = 100000000000000u;
        ++e10;
    }
    setDigits(d, r);
    d.exponent = e10;
    return true;
}

// General path: the standard library's correctly rounded scientific form.
void slowDecimal15(double a, Decimal15 &d)
{
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 14);
    // buf is "d.dddddddddddddde[+-]xx..."
    std::uint64_t r = static_cast<std::uint64_t>(buf[0] - '0');
    for (int i = 2; i < 16; ++i)
        r = r * 10 + static_cast<std::uint64_t>(buf[i] - '0');
    int exp = 0;
    std::from_chars(buf + 17 + (buf[17] == '+' ? 1 : 0), res.ptr, exp);
    setDigits(d, r);
    d.exponent = exp;
}

char *writeExponent(char *p, int exponent)
{
    *p++ = 'E';
    *p++ = exponent < 0 ? '-' : '+';
    const int e = exponent < 0 ? -exponent : exponent;
    if (e >= 100)
        *p++ = static_cast<char>('0' + e / 100);
    *p++ = static_cast<char>('0' + e / 10 % 10);
    *p++ = static_cast<char>('0' + e % 10);
    return p;
}

} // namespace

// Eight digits at a time in 32-bit arithmetic.
void writeInteger(char *out, std::uint64_t v, int n)
{
    while (n > 8) {
        writeDigits(out + n - 8, static_cast<std::uint32_t>(v % 100000000), 8);
        v /= 100000000;
        n -= 8;
    }
    writeDigits(out, static_cast<std::uint32_t>(v), n);
}

Decimal15 toDecimal15(double value)
{
    Decimal15 d{};
    if (value == 0 || !std::isfinite(value)) {
        d.count = 1;
        return d;
    }
    d.negative = value < 0;
    const double a = std::fabs(value);
    if (!(a >= 1e-5 && a < kMax15 && fastDecimal15(a, d)))
        slowDecimal15(a, d);
    return d;
}

namespace {

// The general form with `precision` significant digits: exponent form when the decimal
// exponent is below -4 or at least `precision`, as 1E-05 and 1E+15 (Double) or 1E+07 (Single).
std::size_t writeDecimal(const Decimal15 &d, int precision, char *out)
{
    char digits[15];
    writeMantissa(d, digits);
    char *p = out;
    if (d.negative)
        *p++ = '-';
    const int e = d.exponent;
    if (e >= precision || e < -4) {
        *p++ = digits[0];
        if (d.count > 1) {
            *p++ = '.';
            std::memcpy(p, digits + 1, static_cast<std::size_t>(d.count - 1));
            p += d.count - 1;
        }
        p = writeExponent(p, e);
    } else if (e >= 0) {
        const int whole = e + 1;
        for (int i = 0; i < whole; ++i)
            *p++ = i < d.count ? digits[i] : '0';
        if (d.count > whole) {
            *p++ = '.';
            std::memcpy(p, digits + whole, static_cast<std::size_t>(d.count - whole));
            p += d.count - whole;
        }
    } else {
        *p++ = '0';
        *p++ = '.';
        for (int i = -1; i > e; --i)
            *p++ = '0';
        std::memcpy(p, digits, static_cast<std::size_t>(d.count));
        p += d.count;
    }
    return static_cast<std::size_t>(p - out);
}

} // namespace

std::size_t writeNumberText(double value, char *out)
{
    return writeDecimal(toDecimal15(value), 15, out);
}

bool readDecimal15(const Decimal15 &d, std::int64_t &whole, double &magnitude)
{
    const auto mantissa = static_cast<std::int64_t>(d.mantissa);
    // The text is a whole numeral when it is in neither exponent form nor has a point.
    const int e = d.exponent;
    if (e >= 0 && e < 15 && d.count <= e + 1) {
        whole = mantissa;
        for (int i = d.count; i <= e; ++i)
            whole *= 10;
        return true;
    }
    // Digits times a power of ten: the arithmetic parseDecimal does for such a text.
    const int scale = e - (d.count - 1);
    if (scale >= -22 && scale <= 22) {
        const double m = static_cast<double>(mantissa);
        magnitude = scale >= 0 ? m * kPow10[static_cast<std::size_t>(scale)]
                               : m / kPow10[static_cast<std::size_t>(-scale)];
    } else {
        Decimal15 unsignedDecimal = d;
        unsignedDecimal.negative = false;
        char text[kNumberTextCapacity];
        const std::size_t n = writeDecimal(unsignedDecimal, 15, text);
        if (parseDecimal(std::string_view(text, n), magnitude) == DecimalStatus::Overflow)
            magnitude = HUGE_VAL;
    }
    return false;
}

std::string singleToText(float value)
{
    Decimal15 d{};
    if (value == 0 || !std::isfinite(value)) {
        d.count = 1;
    } else {
        // The float's exact value rounded to 7 significant digits: "d.dddddde[+-]xx".
        char buf[24];
        const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 6);
        d.negative = value < 0;
        d.count = 0;
        for (const char *q = buf; *q != 'e'; ++q) {
            if (*q != '.') {
                d.mantissa = d.mantissa * 10 + static_cast<std::uint64_t>(*q - '0');
                ++d.count;
            }
        }
        while (d.count > 1 && d.mantissa % 10 == 0) {
            d.mantissa /= 10;
            --d.count;
        }
        const char *exp = std::find(buf, res.ptr, 'e') + 1;
        std::from_chars(exp + (*exp == '+' ? 1 : 0), res.ptr, d.exponent);
    }
    char out[kNumberTextCapacity];
    return std::string(out, writeDecimal(d, 7, out));
}

std::string numberToText(double value)
{
    char buf[kNumberTextCapacity];
    return std::string(buf, writeNumberText(value, buf));
}

std::size_t scanDecimal(std::string_view text, bool &badExponent)
{
    badExponent = false;
    std::size_t i = 0;
    const std::size_t n = text.size();
    std::size_t digits = 0;
    while (i < n && isDigit(text[i]))
        ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < n && isDigit(text[j])) {
            while (j < n && isDigit(text[j]))
                ++j;
            i = j;
        } else {
            badExponent = true;
        }
    }
    return i;
}

namespace {

// Exact conversion when the digits form an integer below 2^53 and the power of ten is
// exact: one correctly rounded multiplication or division (the common case of X's text).
bool fastParseDecimal(std::string_view text, double &out)
{
    std::uint64_t mantissa = 0;
    int digits = 0;
    int scale = 0; // digits after the point
    bool point = false;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.') {
            point = true;
            continue;
        }
        if (!isDigit(c))
            break;
        if (mantissa != 0 || c != '0')
            ++digits;
        if (digits > 15)
            return false;
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        if (point)
            ++scale;
    }
    int exponent = 0;
    if (i < text.size()) { // 'E' [sign] digits
        ++i;
        bool negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            negative = text[i++] == '-';
        if (text.size() - i > 3)
            return false;
        for (; i < text.size(); ++i)
            exponent = exponent * 10 + (text[i] - '0');
        if (negative)
            exponent = -exponent;
    }
    exponent -= scale;
    if (exponent < -22 || exponent > 22)
        return false;
    const double m = static_cast<double>(mantissa);
    out = exponent >= 0 ? m * kPow10[static_cast<std::size_t>(exponent)]
                        : m / kPow10[static_cast<std::size_t>(-exponent)];
    return true;
}

} // namespace

DecimalStatus parseDecimal(std::string_view text, double &out)
{
    if (fastParseDecimal(text, out))
        return DecimalStatus::Ok;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), out,
                                     std::chars_format::general);
    if (res.ec != std::errc::result_out_of_range)
        return DecimalStatus::Ok;
    // Out of range either way: tell overflow from underflow by the decimal magnitude.
    long magnitude = 0;
    std::size_t i = 0;
    bool seenNonZero = false;
    long leadingFractionZeros = 0;
    long integerDigits = 0;
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
        const char c = text[i];
        if (c == '.') {
            if (!seenNonZero) {
                for (std::size_t j = i + 1; j < text.size() && text[j] == '0'; ++j)
                    ++leadingFractionZeros;
            }
            for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {}
            break;
        }
        if (c != '0')
            seenNonZero = true;
        if (seenNonZero)
            ++integerDigits;
    }
    magnitude = integerDigits > 0 ? integerDigits - 1 : -(leadingFractionZeros + 1);
    if (i < text.size()) {
        long exp = 0;
        bool negative = false;
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            negative = text[j++] == '-';
        for (; j < text.size(); ++j)
            exp = exp < 100000000 ? exp * 10 + (text[j] - '0') : exp;
        magnitude += negative ? -exp : exp;
    }
    if (magnitude < 0) {
        out = 0;
        return DecimalStatus::Ok;
    }
    return DecimalStatus::Overflow;
}

double leadingNumber(std::string_view text)
{
    // Gather the characters that form the number, skipping the ignored white space.
    std::string number;
    bool negative = false;
    enum class Stage { Sign, Integer, Fraction, ExponentSign, ExponentDigits } stage = Stage::Sign;
    std::size_t mantissaDigits = 0;
    std::size_t committed = 0; // length of `number` that forms a complete number
    for (const char c : text) {
        if (isBlank(c))
            continue;
        if (stage == Stage::Sign && (c == '+' || c == '-')) {
            negative = c == '-';
            stage = Stage::Integer;
            continue;
        }
        if (stage == Stage::Sign)
            stage = Stage::Integer;
        if (isDigit(c) && (stage == Stage::Integer || stage == Stage::Fraction)) {
            number.push_back(c);
            ++mantissaDigits;
            committed = number.size();
        } else if (c == '.' && stage == Stage::Integer) {
            number.push_back(c);
            stage = Stage::Fraction;
            if (mantissaDigits > 0)
                committed = number.size();
        } else if ((c == 'e' || c == 'E') && (stage == Stage::Integer || stage == Stage::Fraction)
                   && mantissaDigits > 0) {
            number.push_back('e');
            stage = Stage::ExponentSign;
        } else if ((c == '+' || c == '-') && stage == Stage::ExponentSign) {
            number.push_back(c);
            stage = Stage::ExponentDigits;
        } else if (isDigit(c) && (stage == Stage::ExponentSign || stage == Stage::ExponentDigits)) {
            number.push_back(c);
            stage = Stage::ExponentDigits;
            committed = number.size();
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return 0;
    number.resize(committed);
    if (number.front() == '.')
        number.insert(number.begin(), '0');
    double value = 0;
    if (parseDecimal(number, value) == DecimalStatus::Overflow)
        value = DBL_MAX;
    return negative && value != 0 ? -value : value;
}

} // namespace script
