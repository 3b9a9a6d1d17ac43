#pragma once

#include "platform/Surface.h"

#include <QFrame>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QTimer>

#include <functional>

class QPagedPaintDevice;

namespace platform {

// A drawing area with a retained picture: everything is drawn into an image that
// survives covering, moving and resizing, and the widget only shows that image.
// Coordinates are in the user scale set by Scale(); by default the scale is twips.
class PictureBox : public QFrame, public Surface
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    // Clears the picture to the background colour; the current position goes to 0, 0.
    void Cls();
    // Clears the picture to the given one, as Cls() does, when it is an image() of this box
    // of the size and pixel ratio the picture has now; false, and nothing done, otherwise.
    bool ClsTo(const QImage &picture);
    void PSet(double x, double y, QRgb color) override;
    void Line(double x1, double y1, double x2, double y2, QRgb color) override;
    // Writes text in the box's font and ForeColor.
    void Print(const QString &text) override;

    // The retained picture, one image pixel per device pixel of the client area (more than
    // one per client pixel on a high-density screen: see its devicePixelRatio()).
    const QImage &image() const { return m_image; }

    // Puts the picture on the clipboard as an image of the drawing area's size. Its action
    // ("Copy", Ctrl+C anywhere in the window unless a field takes the keys for its own
    // text) stands in the drawing area's context menu.
    void CopyPicture() const;

    // The owner's drawing of what the picture shows, made anew onto another surface of the
    // drawing area's size: saved as SVG or PDF and printed, the picture is shapes and text.
    // Without one, the retained image stands in.
    void setRedraw(std::function<void(Surface &)> redraw) { m_redraw = std::move(redraw); }

    enum class PictureFormat { Png, Svg, Pdf };
    // Writes the picture to the file: PNG as the retained image, SVG and PDF redrawn. False,
    // after a message naming the file and the reason, when it could not be written; a file
    // that stood there before is then left as it was.
    bool SavePicture(const QString &path, PictureFormat format);
    // The picture on one page, scaled to the printable area keeping its aspect (printing,
    // and the PDF of SavePicture); false when the device cannot be painted on.
    bool PrintPicture(QPagedPaintDevice &device) const;

    // The context menu's "Save Picture As…", "Print Preview…" and "Print…" (Ctrl+S and
    // Ctrl+P in the window, as Copy), through Qt's file and print dialogs.
    void savePictureAs();
    void previewPicture();
    void printPicture();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    QSize logicalSize() const override { return clientRect().size(); }
    // The image is kept at the client size (see fitImage), and is cheaper to ask.
    QSize pixelSize() const override { return m_pixels; }

private:
    QRect clientRect() const;
    void fitImage();
    void markDirty(const QRect &area);
    void markDirty(QPoint pixel);
    void refresh();
    // Paints the picture at its logical size from the painter's origin.
    void paintPicture(QPainter &painter) const;

    QImage m_image;
    std::function<void(Surface &)> m_redraw;
    // What fitImage made the picture: the client area's size it fits (none before the first
    // fitting), and the image's size and pixel ratio, the image's own, kept at hand for points.
    QSize m_fittedClient;
    QSize m_pixels{0, 0};
    qreal m_pixelRatio = 1;

    // Drawing marks areas dirty; they reach the screen at display rate, not per point.
    QRect m_dirty;
    QTimer m_refreshTimer;
};

} // namespace platform
