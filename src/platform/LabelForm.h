#pragma once

#include <QString>

namespace platform {

// The text of a graph label: the standard number text without a zero in front of the
// decimal point (".5", "-.5"), preceded by a blank for zero and positive values and
// followed by a blank (" 10 ", "-10 "). A value that is not a finite number has no label
// and gives an empty text.
QString LabelForm(double value);

} // namespace platform
