#include "platform/Surface.h"

#include "platform/Twips.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <cmath>

namespace platform {

namespace {

// Pixel coordinates beyond this are treated as having no pixel; it keeps every later
// conversion to int defined and the painter away from absurd coordinates.
constexpr double PixelLimit = 1e7;

// std::floor for a value inside PixelLimit, as an int, without the library's general case:
// the conversion cuts towards zero, which is one too high below zero.
int floorToInt(double v)
{
    const int cut = static_cast<int>(v);
    return cut > v ? cut - 1 : cut;
}

} // namespace

void Surface::Scale(double x1, double y1, double x2, double y2)
{
    const double width = x2 - x1;
    const double height = y2 - y1;
    if (!std::isfinite(width) || !std::isfinite(height) || width == 0 || height == 0
        || !std::isfinite(x1) || !std::isfinite(y1))
        return;
    m_scaleLeft = x1;
    m_scaleTop = y1;
    m_scaleWidth = width;
    m_scaleHeight = height;
}

double Surface::twipsWidth() const
{
    return PixelsToTwips(logicalSize().width());
}

double Surface::twipsHeight() const
{
    return PixelsToTwips(logicalSize().height());
}

void Surface::setDrawWidth(int pixels)
{
    m_drawWidth = pixels < 1 ? 1 : pixels;
}

bool Surface::PixelOf(double x, double y, QPoint &pixel) const
{
    const QSize size = pixelSize();
    const double px = (x - ScaleLeft()) / ScaleWidth() * size.width();
    const double py = (y - ScaleTop()) / ScaleHeight() * size.height();
    // Also false for NaN, which fails every comparison.
    if (!(std::fabs(px) < PixelLimit && std::fabs(py) < PixelLimit))
        return false;
    pixel = QPoint(floorToInt(px), floorToInt(py));
    return true;
}

void Surface::lineFeed(qreal pixels)
{
    m_currentX = ScaleLeft();
    m_currentY += pixels * ScaleHeight() / pixelSize().height();
}

QPen Surface::linePen(QRgb color) const
{
    QPen pen{QColor(color)};
    pen.setWidth(m_drawWidth);
    pen.setStyle(m_drawStyle == DrawStyle::Dot ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

PainterSurface::PainterSurface(QPainter &painter, QSize size, const QFont &font, const QColor &textColor)
    : m_painter(painter), m_size(size), m_font(font), m_textColor(textColor)
{
}

void PainterSurface::PSet(double x, double y, QRgb color)
{
    setCurrentX(x);
    setCurrentY(y);
    QPoint p;
    if (!PixelOf(x, y, p) || !QRect(QPoint(0, 0), m_size).contains(p))
        return;
    const int side = DrawWidth();
    // The painter's state changes only when the colour does: an SVG then holds a plot's
    // points as one group of squares instead of a group for each.
    if (m_painter.pen().style() != Qt::NoPen || m_painter.brush().color().rgb() != color
        || m_painter.brush().style() != Qt::SolidPattern) {
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(QColor(color));
    }
    m_painter.drawRect(QRect(p.x() - side / 2, p.y() - side / 2, side, side));
}

void PainterSurface::Line(double x1, double y1, double x2, double y2, QRgb color)
{
    setCurrentX(x2);
    setCurrentY(y2);
    QPoint a, b;
    if (!PixelOf(x1, y1, a) || !PixelOf(x2, y2, b))
        return;
    m_painter.setPen(linePen(color));
    m_painter.drawLine(a, b);
}

void PainterSurface::Print(const QString &text)
{
    const QFontMetricsF metrics(m_font);
    QPoint p;
    if (PixelOf(CurrentX(), CurrentY(), p)) {
        m_painter.setFont(m_font);
        m_painter.setPen(m_textColor);
        m_painter.drawText(QRectF(p, QSizeF(metrics.horizontalAdvance(text), metrics.height())),
                           Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text);
    }
    lineFeed(metrics.height());
}

} // namespace platform
