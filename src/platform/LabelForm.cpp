#include "platform/LabelForm.h"

#include "platform/Conversions.h"

#include <cmath>

namespace platform {

QString LabelForm(double value)
{
    if (!std::isfinite(value))
        return QString();
    if (value == 0)
        value = 0;  // a negative zero is labelled like zero
    QString text = NumberToText(value);
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QLatin1String("-0.")))
        text.remove(1, 1);
    if (value >= 0)
        text.prepend(QLatin1Char(' '));
    text.append(QLatin1Char(' '));
    return text;
}

} // namespace platform
