#pragma once

#include <QColor>
#include <QFont>
#include <QPen>
#include <QPoint>
#include <QRgb>
#include <QSize>
#include <QString>

class QPainter;

namespace platform {

// A picture drawn in a user scale by the calls the plot makes: the picture box draws them
// into its retained image, a PainterSurface onto any painter (an SVG, a PDF, a printed page).
// The scale, the style and the current position live here, so every surface puts a point
// at the same pixel.
class Surface
{
public:
    enum class DrawStyle { Solid, Dot };

    virtual ~Surface() = default;

    // The user scale: (x1, y1) is the top-left corner, (x2, y2) the bottom-right one.
    // A scale without width or height is refused and the previous one stays.
    void Scale(double x1, double y1, double x2, double y2);
    double ScaleLeft() const { return m_scaleLeft; }
    double ScaleTop() const { return m_scaleTop; }
    // Until Scale() the scale is twips over the surface's logical size.
    double ScaleWidth() const { return m_scaleWidth != 0 ? m_scaleWidth : twipsWidth(); }
    double ScaleHeight() const { return m_scaleHeight != 0 ? m_scaleHeight : twipsHeight(); }

    DrawStyle drawStyle() const { return m_drawStyle; }
    void setDrawStyle(DrawStyle style) { m_drawStyle = style; }
    int DrawWidth() const { return m_drawWidth; }
    void setDrawWidth(int pixels);

    double CurrentX() const { return m_currentX; }
    void setCurrentX(double x) { m_currentX = x; }
    double CurrentY() const { return m_currentY; }
    void setCurrentY(double y) { m_currentY = y; }

    // The pixel that holds the user point (x, y); false when the point has no pixel
    // coordinates (outside any sensible range, or not a number).
    bool PixelOf(double x, double y, QPoint &pixel) const;

    // Sets one point (a square of DrawWidth logical pixels) and makes it the current position.
    virtual void PSet(double x, double y, QRgb color) = 0;
    // A straight line in the current style and width; its end becomes the current position.
    virtual void Line(double x1, double y1, double x2, double y2, QRgb color) = 0;
    // Writes text with its top-left corner at the current position, on a transparent
    // background; the position moves to the next line.
    virtual void Print(const QString &text) = 0;

protected:
    // The size in logical pixels, and in the pixels PixelOf counts (more than one per
    // logical pixel on a high-density screen).
    virtual QSize logicalSize() const = 0;
    virtual QSize pixelSize() const = 0;
    // After a line of text the given number of pixels high (PixelOf's pixels): back to the
    // left edge, one line further down.
    void lineFeed(qreal pixels);
    // The pen of a line in the current style and width.
    QPen linePen(QRgb color) const;

private:
    double twipsWidth() const;
    double twipsHeight() const;

    double m_scaleLeft = 0;
    double m_scaleTop = 0;
    double m_scaleWidth = 0;   // 0 until Scale(): the default twips scale follows the size
    double m_scaleHeight = 0;
    DrawStyle m_drawStyle = DrawStyle::Solid;
    int m_drawWidth = 1;
    double m_currentX = 0;
    double m_currentY = 0;
};

// A surface that draws with a painter into the rectangle (0, 0, size), one logical pixel
// per unit of the painter's coordinates: points, lines and texts become shapes and text of
// whatever the painter paints on. The font should have a pixel size, so that texts keep
// their place and size under the painter's transformation.
class PainterSurface : public Surface
{
public:
    PainterSurface(QPainter &painter, QSize size, const QFont &font, const QColor &textColor);

    void PSet(double x, double y, QRgb color) override;
    void Line(double x1, double y1, double x2, double y2, QRgb color) override;
    void Print(const QString &text) override;

protected:
    QSize logicalSize() const override { return m_size; }
    QSize pixelSize() const override { return m_size; }

private:
    QPainter &m_painter;
    QSize m_size;
    QFont m_font;
    QColor m_textColor;
};

} // namespace platform
