#pragma once

#include <QRect>

namespace platform {

// Positions and sizes are designed in twips; 15 twips are one logical pixel.
constexpr int TwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips)
{
    return twips >= 0 ? (twips + TwipsPerPixel / 2) / TwipsPerPixel
                      : -((-twips + TwipsPerPixel / 2) / TwipsPerPixel);
}

constexpr int PixelsToTwips(int pixels) { return pixels * TwipsPerPixel; }

// A rectangle given as left, top, width, height in twips.
inline QRect TwipsRect(int left, int top, int width, int height)
{
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

} // namespace platform
