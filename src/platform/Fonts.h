#pragma once

#include <QFont>

namespace platform {

// The designed typefaces, mapped to the nearest fonts Debian ships.
enum class Typeface {
    SansSerif,  // MS Sans Serif -> Liberation Sans
    Verdana,    // Verdana -> DejaVu Sans
    Serif,      // MS Serif -> Liberation Serif
    SmallFonts  // Small Fonts -> a small sans
};

enum FontStyle { Plain = 0, Bold = 1, Italic = 2 };

// A font of the given face and point size; the size is fixed in pixels (96 per inch)
// so the designed layout holds on every screen.
QFont DesignFont(Typeface face, qreal points, int style = Plain);

// The program's default font: MS Sans Serif 8.25 pt.
QFont DefaultFont();

} // namespace platform
