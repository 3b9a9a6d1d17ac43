#pragma once

#include <QFrame>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QTimer>

namespace platform {

// A drawing area with a retained picture: everything is drawn into an image that
// survives covering, moving and resizing, and the widget only shows that image.
// Coordinates are in the user scale set by Scale(); by default the scale is twips.
class PictureBox : public QFrame
{
    Q_OBJECT

public:
    enum class DrawStyle { Solid, Dot };

    explicit PictureBox(QWidget *parent = nullptr);

    // The user scale: (x1, y1) is the top-left corner, (x2, y2) the bottom-right one.
    // A scale without width or height is refused and the previous one stays.
    void Scale(double x1, double y1, double x2, double y2);
    double ScaleLeft() const;
    double ScaleTop() const;
    double ScaleWidth() const;
    double ScaleHeight() const;

    // Clears the picture to the background colour; the current position goes to 0, 0.
    void Cls();
    // Sets one point (a square of DrawWidth screen pixels) and makes it the current position.
    void PSet(double x, double y, QRgb color);
    // A straight line in the current style and width; its end becomes the current position.
    void Line(double x1, double y1, double x2, double y2, QRgb color);

    DrawStyle drawStyle() const { return m_drawStyle; }
    void setDrawStyle(DrawStyle style) { m_drawStyle = style; }
    int DrawWidth() const { return m_drawWidth; }
    void setDrawWidth(int pixels);

    double CurrentX() const { return m_currentX; }
    void setCurrentX(double x) { m_currentX = x; }
    double CurrentY() const { return m_currentY; }
    void setCurrentY(double y) { m_currentY = y; }
    // Writes text in the box's font and ForeColor, its top-left corner at the current
    // position, on a transparent background; the position moves to the next line.
    void Print(const QString &text);

    // The pixel of the retained image that holds the user point (x, y); false when the
    // point has no pixel coordinates (outside any sensible range, or not a number).
    bool PixelOf(double x, double y, QPoint &pixel) const;

    // The retained picture, one image pixel per device pixel of the client area (more than
    // one per client pixel on a high-density screen: see its devicePixelRatio()).
    const QImage &image() const { return m_image; }

    // Puts the picture on the clipboard as an image of the drawing area's size. Its action
    // ("Copy", Ctrl+C anywhere in the window unless a field takes the keys for its own
    // text) stands in the drawing area's context menu.
    void CopyPicture() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRect clientRect() const;
    void fitImage();
    void markDirty(const QRect &area);
    void markDirty(QPoint pixel);
    void refresh();

    QImage m_image;
    QSize m_fittedClient;  // the client area's size when the picture was last fitted to it
    double m_scaleLeft = 0;
    double m_scaleTop = 0;
    double m_scaleWidth = 0;   // 0 until Scale(): the default twips scale follows the size
    double m_scaleHeight = 0;
    DrawStyle m_drawStyle = DrawStyle::Solid;
    int m_drawWidth = 1;
    double m_currentX = 0;
    double m_currentY = 0;

    // Drawing marks areas dirty; they reach the screen at display rate, not per point.
    QRect m_dirty;
    QTimer m_refreshTimer;
};

} // namespace platform
