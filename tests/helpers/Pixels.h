#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

namespace testing {

// The pixels of the image's area (all of it when the area is null) that have the colour,
// alpha aside.
int CountColour(const QImage &image, const QColor &colour, QRect area = QRect());

} // namespace testing
