#include "platform/Fonts.h"

#include <cmath>

namespace platform {

namespace {

QString familyOf(Typeface face)
{
    switch (face) {
    case Typeface::Verdana:
        return QStringLiteral("DejaVu Sans");
    case Typeface::Serif:
        return QStringLiteral("Liberation Serif");
    case Typeface::SansSerif:
    case Typeface::SmallFonts:
        break;
    }
    return QStringLiteral("Liberation Sans");
}

} // namespace

QFont DesignFont(Typeface face, qreal points, int style)
{
    QFont font(familyOf(face));
    font.setStyleHint(face == Typeface::Serif ? QFont::Serif : QFont::SansSerif);
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(style & Bold);
    font.setItalic(style & Italic);
    return font;
}

QFont DefaultFont()
{
    return DesignFont(Typeface::SansSerif, 8.25);
}

} // namespace platform
