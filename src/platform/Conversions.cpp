#include "platform/Conversions.h"

#include "script/NumberText.h"

namespace platform {

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
    // Digits, a sign and a point only: the Latin-1 reading is the cheap exact one.
    const std::size_t n = script::writeDecimals(value, decimals, buffer.data());
    return QLatin1StringView(buffer.data(), static_cast<qsizetype>(n));
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
