#include "platform/Colours.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Relative luminance of an sRGB colour.
double luminance(const QColor &colour)
{
    auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

} // namespace

double ContrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor TextColourOn(const QColor &background)
{
    const QColor themed = QApplication::palette().color(QPalette::WindowText);
    if (ContrastRatio(themed, background) >= ReadableContrast)
        return themed;
    return ContrastRatio(Black, background) >= ContrastRatio(White, background) ? Black : White;
}

void SetColours(QWidget *control, const QColor &background, const QColor &text)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

void SetBackColor(QWidget *control, const QColor &background)
{
    SetColours(control, background, TextColourOn(background));
}

void SetForeColor(QWidget *control, const QColor &text)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, text);
    control->setPalette(palette);
}

} // namespace platform
