#include "helpers/Pixels.h"

namespace testing {

int CountColour(const QImage &image, const QColor &colour, QRect area)
{
    area = area.isNull() ? image.rect() : area & image.rect();
    const QRgb wanted = colour.rgb() & 0xffffff;
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += (image.pixel(x, y) & 0xffffff) == wanted;
    return n;
}

} // namespace testing
