#include "platform/Conversions.h"

#include "script/NumberText.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace platform {

namespace {

// 10^0 .. 10^19, the powers of ten a 64-bit integer holds.
constexpr std::array<std::uint64_t, 20> Pow10 = [] {
    std::array<std::uint64_t, 20> t{};
    t[0] = 1;
    for (std::size_t i = 1; i < t.size(); ++i)
        t[i] = t[i - 1] * 10;
    return t;
}();

// The number of decimal digits of v (1 for 0).
int digitCount(std::uint64_t v)
{
    int n = 1;
    while (n < 20 && v >= Pow10[static_cast<std::size_t>(n)])
        ++n;
    return n;
}

} // namespace

QString NumberToText(double value)
{
    char buf[script::kNumberTextCapacity];
    const std::size_t n = script::writeNumberText(value, buf);
    return QString::fromLatin1(buf, static_cast<qsizetype>(n));
}

double LeadingNumber(QStringView text)
{
    // Characters outside ASCII never belong to a number; UTF-8 turns them into bytes
    // the parse stops at.
    const QByteArray bytes = text.toUtf8();
    return script::leadingNumber(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QString FormatPattern(double value, int decimals)
{
    PatternBuffer buffer;
    return FormatPattern(value, decimals, buffer);
}

QLatin1StringView FormatPattern(double value, int decimals, PatternBuffer &buffer)
{
    decimals = std::clamp<int>(decimals, 0, MostDecimalPlaces);
    const script::Decimal15 d = script::toDecimal15(value);
    // |value| * 10^decimals as the integer `kept` (rounded half away from zero) followed by
    // `zeros` zeros: the digits past the 15 significant ones are zeros.
    const int places = d.exponent + 1 + decimals; // digits of the value left of the cut
    std::uint64_t kept = 0;
    int zeros = 0;
    if (places >= d.count) {
        kept = d.mantissa;
        zeros = places - d.count;
    } else if (places >= 0) {
        const std::uint64_t unit = Pow10[static_cast<std::size_t>(d.count - places)];
        kept = d.mantissa / unit;
        if (d.mantissa % unit >= unit / 2) // the first digit cut off is 5 or more
            ++kept;
    }
    const int keptDigits = kept == 0 ? 0 : digitCount(kept);
    // At least one whole digit before the point.
    const int length = std::max(keptDigits + zeros, decimals + 1);
    PatternBuffer digits;
    const int lead = length - keptDigits - zeros;
    std::memset(digits.data(), '0', static_cast<std::size_t>(length));
    script::writeInteger(digits.data() + lead, kept, keptDigits);
    char *p = buffer.data();
    if (d.negative)
        *p++ = '-';
    const int whole = length - decimals;
    std::memcpy(p, digits.data(), static_cast<std::size_t>(whole));
    p += whole;
    *p++ = '.';
    std::memcpy(p, digits.data() + whole, static_cast<std::size_t>(decimals));
    p += decimals;
    // Digits, a sign and a point only: the Latin-1 reading is the cheap exact one.
    return QLatin1StringView(buffer.data(), static_cast<qsizetype>(p - buffer.data()));
}

QString CleanNumber(QStringView text, short kind)
{
    if (kind != 1 && kind != 2)
        return text.toString();
    const bool signedKind = kind == 1;
    // Filtering the number form would split an exponent into digits ("1E-05" into "-105").
    if ((signedKind || !text.startsWith(QLatin1Char('-'))) && text == NumberToText(LeadingNumber(text)))
        return text.toString();
    QString result;
    result.reserve(text.size() + 1);
    if (signedKind && text.contains(QLatin1Char('-')))
        result += QLatin1Char('-');
    bool pointSeen = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('.')) {
            if (!pointSeen)
                result += c;
            pointSeen = true;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            result += c;
        }
    }
    return result;
}

QStringView TrimSpaces(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.sliced(first, last - first);
}

} // namespace platform
