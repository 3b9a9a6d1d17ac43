#include "platform/PictureBox.h"

#include "platform/Colours.h"
#include "platform/Display.h"
#include "platform/FileOutput.h"
#include "platform/Program.h"
#include "platform/Twips.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform {

PictureBox::PictureBox(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A white area with black text, whatever the desktop theme.
    SetColours(this, White, Black);
    m_refreshTimer.setSingleShot(true);
    // Drawing reaches the screen once a frame, so a plot of thousands of points costs a
    // repaint per frame instead of one per point.
    m_refreshTimer.setInterval(DisplayFrameMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &PictureBox::refresh);

    // The context menu; the keys work anywhere in the window unless a field takes them.
    auto addItem = [this](const char *name, const QString &caption, QKeySequence::StandardKey key) {
        return AddContextItem(this, name, caption, key, Qt::WindowShortcut);
    };
    connect(addItem("copyPicture", QStringLiteral("Copy"), QKeySequence::Copy), &QAction::triggered, this,
            &PictureBox::CopyPicture);
    connect(addItem("savePicture", QStringLiteral("Save Picture As\u2026"), QKeySequence::Save), &QAction::triggered,
            this, &PictureBox::savePictureAs);
    connect(addItem("previewPicture", QStringLiteral("Print Preview\u2026"), QKeySequence::UnknownKey),
            &QAction::triggered, this, &PictureBox::previewPicture);
    connect(addItem("printPicture", QStringLiteral("Print\u2026"), QKeySequence::Print), &QAction::triggered, this,
            &PictureBox::printPicture);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void PictureBox::CopyPicture() const
{
    QGuiApplication::clipboard()->setImage(m_image);
}

QRect PictureBox::clientRect() const
{
    // The area inside the frame; cheaper than contentsRect(), which also asks the window.
    const int frame = frameWidth();
    return rect().adjusted(frame, frame, -frame, -frame);
}

void PictureBox::fitImage()
{
    // One image pixel per device pixel: on a high-density screen the picture is drawn at the
    // screen's resolution, so lines and labels stay sharp.
    const qreal ratio = devicePixelRatioF();
    const QSize size = (QSizeF(clientRect().size()) * ratio).toSize().expandedTo(QSize(1, 1));
    m_fittedClient = clientRect().size();
    if (m_image.size() == size && m_image.devicePixelRatio() == ratio)
        return;
    // The picture is kept across resizing: the old image is copied into the new one.
    QImage resized(size, QImage::Format_RGB32);
    resized.setDevicePixelRatio(ratio);
    resized.fill(White);
    if (!m_image.isNull()) {
        QPainter p(&resized);
        p.drawImage(QPointF(0, 0), m_image);
    }
    m_image = resized;
    m_pixels = size;
    m_pixelRatio = ratio;
}

void PictureBox::Cls()
{
    fitImage();
    m_image.fill(White);
    setCurrentX(0);
    setCurrentY(0);
    markDirty(m_image.rect());
}

bool PictureBox::ClsTo(const QImage &picture)
{
    fitImage();
    if (picture.size() != m_pixels || picture.devicePixelRatio() != m_pixelRatio || picture.format() != m_image.format())
        return false;
    // Copied into the picture's own pixels, in use already, rather than shared until the first
    // point copies it into fresh memory.
    std::memcpy(m_image.bits(), picture.constBits(), static_cast<std::size_t>(picture.sizeInBytes()));
    setCurrentX(0);
    setCurrentY(0);
    markDirty(m_image.rect());
    return true;
}

void PictureBox::PSet(double x, double y, QRgb color)
{
    setCurrentX(x);
    setCurrentY(y);
    // A plot sets thousands of points: the screen's pixel ratio, which takes a look-up through
    // the window, is only asked again when the size changed (or the picture was never fitted).
    // Clearing, resizing and painting fit the picture to the screen.
    if (clientRect().size() != m_fittedClient)
        fitImage();
    QPoint p;
    if (!PixelOf(x, y, p))
        return;
    // The point's side in image pixels: DrawWidth screen pixels.
    const int side = std::max(1, qRound(DrawWidth() * m_pixelRatio));
    if (side == 1) {
        if (p.x() < 0 || p.y() < 0 || p.x() >= m_pixels.width() || p.y() >= m_pixels.height())
            return;
        // A one-pixel point is written straight into the RGB32 image, which spares the
        // plot's thousands of points a QPainter each.
        reinterpret_cast<QRgb *>(m_image.scanLine(p.y()))[p.x()] = color;
        markDirty(p);
        return;
    }
    const QRect square = QRect(p.x() - side / 2, p.y() - side / 2, side, side).intersected(m_image.rect());
    if (square.isEmpty())
        return;
    for (int row = square.top(); row <= square.bottom(); ++row)
        std::fill_n(reinterpret_cast<QRgb *>(m_image.scanLine(row)) + square.left(), square.width(), color);
    markDirty(square);
}

void PictureBox::Line(double x1, double y1, double x2, double y2, QRgb color)
{
    setCurrentX(x2);
    setCurrentY(y2);
    fitImage();
    QPoint a, b;
    if (!PixelOf(x1, y1, a) || !PixelOf(x2, y2, b))
        return;
    QPainter painter(&m_image);
    painter.setPen(linePen(color));
    // The painter works in screen pixels; the image may hold more than one per screen pixel.
    const qreal ratio = m_image.devicePixelRatio();
    painter.drawLine(QPointF(a) / ratio, QPointF(b) / ratio);
    const int margin = qCeil(DrawWidth() * ratio);
    markDirty(QRect(a, b).normalized().adjusted(-margin, -margin, margin, margin));
}

void PictureBox::Print(const QString &text)
{
    fitImage();
    const int lineHeight = QFontMetrics(font()).height();
    QPoint p;
    const qreal ratio = m_image.devicePixelRatio();
    if (PixelOf(CurrentX(), CurrentY(), p)) {
        // Placed by its top-left corner: the text is laid out once, and the painter tells
        // the area it covered.
        QPainter painter(&m_image);
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        QRectF box;
        painter.drawText(QRectF(QPointF(p) / ratio, QSizeF(0, lineHeight)),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text, &box);
        markDirty(QRectF(box.topLeft() * ratio, box.size() * ratio).toAlignedRect());
    }
    lineFeed(lineHeight * ratio);
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    fitImage();
    QPainter painter(this);
    const QRect client = clientRect();
    const QRect area = event->rect().intersected(client);
    const qreal ratio = m_image.devicePixelRatio();
    const QRectF source = QRectF(area.translated(-client.topLeft()).topLeft() * ratio, QSizeF(area.size()) * ratio);
    painter.drawImage(QRectF(area), m_image, source);
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    fitImage();
}

// Repaints are batched: the first dirty area starts the display-rate timer, later ones
// join it, and refresh() repaints their union once.
void PictureBox::markDirty(const QRect &area)
{
    m_dirty |= area;
    if (!m_refreshTimer.isActive())
        m_refreshTimer.start();
}

// The same for one pixel, the plot's thousands of points: the dirty area grows without a
// rectangle union each. A dirty area waits for the timer already, until refresh() clears it.
void PictureBox::markDirty(QPoint pixel)
{
    if (m_dirty.isNull()) {
        markDirty(QRect(pixel, QSize(1, 1)));
        return;
    }
    if (pixel.x() < m_dirty.left())
        m_dirty.setLeft(pixel.x());
    else if (pixel.x() > m_dirty.right())
        m_dirty.setRight(pixel.x());
    if (pixel.y() < m_dirty.top())
        m_dirty.setTop(pixel.y());
    else if (pixel.y() > m_dirty.bottom())
        m_dirty.setBottom(pixel.y());
}

void PictureBox::refresh()
{
    // The dirty area is in image pixels; the widget repaints in screen pixels.
    const qreal ratio = m_image.devicePixelRatio();
    const QRect area = QRectF(QPointF(m_dirty.topLeft()) / ratio, QSizeF(m_dirty.size()) / ratio).toAlignedRect();
    update(area.translated(clientRect().topLeft()));
    m_dirty = QRect();
}

void PictureBox::paintPicture(QPainter &painter) const
{
    const QRect area(QPoint(0, 0), logicalSize());
    painter.fillRect(area, White);
    if (!m_redraw) {
        painter.drawImage(area, m_image);
        return;
    }
    // A font of a fixed pixel size keeps the labels' size and place under any scaling.
    QFont font = this->font();
    font.setPixelSize(QFontInfo(font).pixelSize());
    PainterSurface surface(painter, area.size(), font, palette().color(QPalette::WindowText));
    m_redraw(surface);
}

bool PictureBox::PrintPicture(QPagedPaintDevice &device) const
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // The painter's origin is the printable area's top-left corner.
    const QSizeF page = device.pageLayout().paintRectPixels(device.logicalDpiX()).size();
    const QSizeF size = logicalSize();
    if (!size.isEmpty()) {
        const qreal scale = std::min(page.width() / size.width(), page.height() / size.height());
        painter.translate((page.width() - size.width() * scale) / 2, 0);
        painter.scale(scale, scale);
        paintPicture(painter);
    }
    return painter.end();
}

bool PictureBox::SavePicture(const QString &path, PictureFormat format)
{
    fitImage();
    return SaveFile(window(), path, [&](QIODevice &file) {
        switch (format) {
        case PictureFormat::Png:
            return m_image.save(&file, "PNG");
        case PictureFormat::Svg: {
            QSvgGenerator svg;
            svg.setOutputDevice(&file);
            svg.setSize(logicalSize());
            svg.setViewBox(QRect(QPoint(0, 0), logicalSize()));
            // The screen's resolution, so texts have the size they have on the screen.
            svg.setResolution(logicalDpiY());
            svg.setTitle(window()->windowTitle());
            QPainter painter;
            if (!painter.begin(&svg))
                return false;
            paintPicture(painter);
            return painter.end();
        }
        case PictureFormat::Pdf: {
            QPdfWriter pdf(&file);
            pdf.setTitle(window()->windowTitle());
            pdf.setCreator(AppTitle());
            pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                          QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
            return PrintPicture(pdf);
        }
        }
        return false;
    });
}

void PictureBox::savePictureAs()
{
    // In the order of PictureFormat.
    static const std::vector<FileType> types = {{QStringLiteral("PNG image"), QStringLiteral("png")},
                                                {QStringLiteral("SVG drawing"), QStringLiteral("svg")},
                                                {QStringLiteral("PDF document"), QStringLiteral("pdf")}};
    QString path;
    int type = 0;
    if (AskSaveFile(window(), QStringLiteral("plot.png"), types, path, type))
        SavePicture(path, static_cast<PictureFormat>(type));
}

void PictureBox::previewPicture()
{
    PreviewWithDialog(window(), QPageLayout::Landscape, [this](QPagedPaintDevice &device) { return PrintPicture(device); });
}

void PictureBox::printPicture()
{
    PrintWithDialog(window(), QPageLayout::Landscape, [this](QPagedPaintDevice &device) { return PrintPicture(device); });
}

} // namespace platform
