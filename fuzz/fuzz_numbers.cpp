// libFuzzer target: the windows' number handling. Arbitrary bytes as a field's text go through
// the leading-number parse and the cleaning of both kinds of field; their first bytes, read as
// a double, through the number-to-text conversion, the display pattern and the hand-over of X
// to the engine. Each step is checked against the property a user relies on; a broken one
// aborts with the text that broke it.
#include "platform/Conversions.h"
#include "script/Engine.h"
#include "script/NumberText.h"
#include "script/ScriptError.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

[[noreturn]] void broken(const char *property, const QString &text)
{
    std::fprintf(stderr, "property broken: %s: \"%s\"\n", property, text.toUtf8().constData());
    std::abort();
}

void check(bool holds, const char *property, const QString &text)
{
    if (!holds)
        broken(property, text);
}

// The text of a number reads back to a number that has the same text.
void checkNumberText(double value)
{
    const QString text = platform::NumberToText(value);
    const double read = platform::LeadingNumber(text);
    check(std::isfinite(read), "number text reads as a finite number", text);
    check(platform::NumberToText(read) == text, "number text reads back to the same text", text);
    // 15 significant digits: the read-back lies within half a unit of the 15th digit.
    check(std::fabs(read - value) <= std::fabs(value) * 1e-14, "number text keeps 15 digits", text);
}

// Cleaning keeps only what it may keep, and cleaning its own output, or the number form a
// graph field writes after it, changes nothing.
void checkCleaning(const QString &text, short kind)
{
    const QString cleaned = platform::CleanNumber(text, kind);
    check(platform::CleanNumber(cleaned, kind) == cleaned, "cleaning twice shows the same text", text);
    const bool numberForm = cleaned == platform::NumberToText(platform::LeadingNumber(cleaned));
    if (numberForm) {
        check(kind == 1 || !cleaned.startsWith(QLatin1Char('-')), "an unsigned field keeps no minus", text);
    } else {
        bool point = false;
        for (qsizetype i = 0; i < cleaned.size(); ++i) {
            const QChar c = cleaned[i];
            if (c == QLatin1Char('-')) {
                check(kind == 1 && i == 0, "a minus only in front of a signed field", text);
            } else if (c == QLatin1Char('.')) {
                check(!point, "at most one point", text);
                point = true;
            } else {
                check(c >= QLatin1Char('0') && c <= QLatin1Char('9'), "only digits, a point and a minus", text);
            }
        }
    }
    if (kind == 1 && !cleaned.isEmpty()) {
        const QString shown = platform::NumberToText(platform::LeadingNumber(cleaned));
        check(platform::CleanNumber(shown, 1) == shown, "a graph field's number form survives cleaning", text);
    }
}

// The pattern writes a sign, digits, a point and exactly `decimals` digits, and its text reads
// back within half a unit of its last decimal.
void checkPattern(double value, int decimals)
{
    const QString text = platform::FormatPattern(value, decimals);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    check(point > 0 && text.size() - point - 1 == decimals, "the pattern writes its decimals", text);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        check((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || i == point || (i == 0 && c == QLatin1Char('-')),
              "the pattern writes digits only", text);
    }
    const double read = platform::LeadingNumber(text);
    const double unit = std::pow(10.0, -decimals);
    check(std::fabs(read - value) <= unit / 2 * (1 + 1e-9) + std::fabs(value) * 1e-14,
          "the pattern reads back within its decimals", text);
}

// The windows hand X over as the engine would read "X=" and X's text: the same value of the
// same type, or the same error (a text beyond the double range is an overflow).
void checkHandover(double x)
{
    static script::Engine assigned, stated;
    const std::string text = script::numberToText(x);
    const QString shown = QString::fromStdString(text);
    int assignedError = 0, statedError = 0;
    try {
        assigned.AssignNumber("X", x);
    } catch (const script::ScriptError &e) {
        assignedError = e.number();
    }
    try {
        stated.ExecuteStatement("X=" + text);
    } catch (const script::ScriptError &e) {
        statedError = e.number();
    }
    check(assignedError == statedError, "the hand-over fails as its text does", shown);
    if (assignedError)
        return;
    const script::Value a = assigned.Eval("X"), s = stated.Eval("X");
    check(a.type() == s.type(), "the hand-over gives X the type of its text", shown);
    check(a.toText() == s.toText() && a.toDouble() == s.toDouble(), "the hand-over gives X the value of its text", shown);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const double read = platform::LeadingNumber(text);
    check(std::isfinite(read), "every text reads as a finite number", text);
    checkNumberText(read);
    checkCleaning(text, 1);
    checkCleaning(text, 2);

    if (size >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        if (std::isfinite(value)) {
            checkNumberText(value);
            checkPattern(value, 1 + data[size - 1] % 4);
            checkHandover(value);
        }
    }
    checkPattern(read, 1 + static_cast<int>(size % 4));
    checkHandover(read);
    return 0;
}
