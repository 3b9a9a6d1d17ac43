#pragma once

#include "script/NumberText.h"

#include <QLatin1StringView>
#include <QString>
#include <QStringView>

#include <array>
#include <string_view>

// The program's number conversions, one function each. The forms the language also uses
// (the 15-digit text, the leading-number parse) are the engine's own (script/NumberText); the
// display pattern of the result grid is the windows' alone.
namespace platform {

/// Standard number-to-text form: at most 15 significant digits, no trailing zeros,
/// "1E-05" / "1E+15" exponent form below 1E-04 and from 1E+15 on.
QString NumberToText(double value);

/// Leading-number parse: blanks (space, tab, CR, LF) skipped anywhere, then sign, digits with
/// at most one point and an optional exponent, up to the first character that does not fit.
/// No number gives 0; a number beyond the double range gives the largest double of its sign.
double LeadingNumber(QStringView text);
/// The same reading of a UTF-8 text, as the engine's values give their text.
inline double LeadingNumber(std::string_view text) { return script::leadingNumber(text); }

/// The decimal places the result grid shows: the options dialog offers 1 to MostDecimalPlaces,
/// and the main window starts with DefaultDecimalPlaces.
inline constexpr short MostDecimalPlaces = 4;
inline constexpr short DefaultDecimalPlaces = 4;

/// The display pattern "###0." followed by `decimals` zeros, kept to 0 to MostDecimalPlaces:
/// fixed point, exactly that many decimals (at 0 the point stays), rounded half away from zero
/// on the value's 15-significant-digit form, never in exponent form; a negative value that
/// rounds to zero keeps its "-".
QString FormatPattern(double value, int decimals);
/// The same text written into a caller's buffer, without a heap text: a view of the buffer.
/// Its room: a sign, 309 whole digits, the point and the decimals.
using PatternBuffer = std::array<char, 1 + 309 + 1 + MostDecimalPlaces>;
QLatin1StringView FormatPattern(double value, int decimals, PatternBuffer &buffer);

/// The numeric fields' cleaning. Kind 1 (signed) and kind 2 (unsigned) keep the digits and the
/// first point in their order, kind 1 with one "-" in front when the text held one anywhere. A
/// text already in the number-to-text form ("1E-05", "-2.5"; for kind 2 without a minus) is kept
/// whole, so cleaning what the program wrote changes nothing. Any other kind keeps the text.
QString CleanNumber(QStringView text, short kind);

/// The text without its leading and trailing space characters; tabs and other blanks stay.
QStringView TrimSpaces(QStringView text);

} // namespace platform
