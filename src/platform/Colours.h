#pragma once

#include <QColor>

class QWidget;

namespace platform {

// The light grey face of the classic desktop, the main window's background.
inline constexpr QColor ButtonFace{192, 192, 192};
inline constexpr QColor White{255, 255, 255};
inline constexpr QColor Black{0, 0, 0};

// The backgrounds of the help window's table columns and of the support window's labels,
// and the grey of the About box's etched line.
inline constexpr QColor LightBlue{192, 192, 255};
inline constexpr QColor LightYellow{255, 255, 128};
inline constexpr QColor Salmon{255, 128, 128};
inline constexpr QColor Grey{128, 128, 128};

// The graph's colours: its dotted grid, its axes and the points of the equations.
inline constexpr QColor PlotGrid{128, 0, 0};
inline constexpr QColor PlotAxis{255, 0, 0};
inline constexpr QColor PlotPoint{0, 0, 255};

// The least contrast at which text reads well.
constexpr double ReadableContrast = 4.5;

// The contrast ratio of two colours as the accessibility guidelines define it, from 1 (the
// same luminance) to 21 (black on white).
double ContrastRatio(const QColor &a, const QColor &b);

// A colour for text on the background: the desktop theme's own text colour where it reads
// there, otherwise black or white, whichever reads better.
QColor TextColourOn(const QColor &background);

// Gives a control its own background and text colour; its children inherit both unless they
// set their own. The theme decides everything else (fields, buttons, menus).
void SetColours(QWidget *control, const QColor &background, const QColor &text);
// A control's own background, with the text colour that reads on it.
void SetBackColor(QWidget *control, const QColor &background);
// A control's text colour over the background it inherits.
void SetForeColor(QWidget *control, const QColor &text);

} // namespace platform
