#include "platform/PictureBox.h"

#include "platform/Twips.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Display rate: drawing reaches the screen at most this often, so a plot of thousands of
// points costs a repaint per frame instead of one per point.
constexpr int RefreshIntervalMs = 16;
// Pixel coordinates beyond this are treated as having no pixel; it keeps every later
// conversion to int defined and the painter away from absurd coordinates.
constexpr double PixelLimit = 1e7;

const QRgb BackColor = qRgb(255, 255, 255);

} // namespace

PictureBox::PictureBox(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(RefreshIntervalMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &PictureBox::refresh);

    auto *copy = new QAction(QStringLiteral("Copy"), this);
    copy->setObjectName(QStringLiteral("copyPicture"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WindowShortcut);
    connect(copy, &QAction::triggered, this, &PictureBox::CopyPicture);
    addAction(copy);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void PictureBox::CopyPicture() const
{
    QGuiApplication::clipboard()->setImage(m_image);
}

void PictureBox::Scale(double x1, double y1, double x2, double y2)
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

double PictureBox::ScaleLeft() const
{
    return m_scaleLeft;
}

double PictureBox::ScaleTop() const
{
    return m_scaleTop;
}

double PictureBox::ScaleWidth() const
{
    return m_scaleWidth != 0 ? m_scaleWidth : PixelsToTwips(clientRect().width());
}

double PictureBox::ScaleHeight() const
{
    return m_scaleHeight != 0 ? m_scaleHeight : PixelsToTwips(clientRect().height());
}

void PictureBox::setDrawWidth(int pixels)
{
    m_drawWidth = pixels < 1 ? 1 : pixels;
}

bool PictureBox::PixelOf(double x, double y, QPoint &pixel) const
{
    // The image is kept at the client size (see fitImage), and is cheaper to ask.
    const QSize size = m_image.size();
    const double px = (x - ScaleLeft()) / ScaleWidth() * size.width();
    const double py = (y - ScaleTop()) / ScaleHeight() * size.height();
    // Also false for NaN, which fails every comparison.
    if (!(std::fabs(px) < PixelLimit && std::fabs(py) < PixelLimit))
        return false;
    pixel = QPoint(static_cast<int>(std::floor(px)), static_cast<int>(std::floor(py)));
    return true;
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
    resized.fill(BackColor);
    if (!m_image.isNull()) {
        QPainter p(&resized);
        p.drawImage(QPointF(0, 0), m_image);
    }
    m_image = resized;
}

void PictureBox::Cls()
{
    fitImage();
    m_image.fill(BackColor);
    m_currentX = 0;
    m_currentY = 0;
    markDirty(m_image.rect());
}

void PictureBox::PSet(double x, double y, QRgb color)
{
    m_currentX = x;
    m_currentY = y;
    // A plot sets thousands of points: the screen's pixel ratio, which takes a look-up through
    // the window, is only asked again when the size changed. Clearing, resizing and painting
    // fit the picture to the screen.
    if (m_image.isNull() || clientRect().size() != m_fittedClient)
        fitImage();
    QPoint p;
    if (!PixelOf(x, y, p))
        return;
    // The point's side in image pixels: DrawWidth screen pixels.
    const int side = std::max(1, qRound(m_drawWidth * m_image.devicePixelRatio()));
    if (side == 1) {
        if (!m_image.rect().contains(p))
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
    m_currentX = x2;
    m_currentY = y2;
    fitImage();
    QPoint a, b;
    if (!PixelOf(x1, y1, a) || !PixelOf(x2, y2, b))
        return;
    QPainter painter(&m_image);
    QPen pen{QColor(color)};
    pen.setWidth(m_drawWidth);
    pen.setStyle(m_drawStyle == DrawStyle::Dot ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    // The painter works in screen pixels; the image may hold more than one per screen pixel.
    const qreal ratio = m_image.devicePixelRatio();
    painter.drawLine(QPointF(a) / ratio, QPointF(b) / ratio);
    const int margin = qCeil(m_drawWidth * ratio);
    markDirty(QRect(a, b).normalized().adjusted(-margin, -margin, margin, margin));
}

void PictureBox::Print(const QString &text)
{
    fitImage();
    const QFontMetrics metrics(font());
    QPoint p;
    const qreal ratio = m_image.devicePixelRatio();
    if (PixelOf(m_currentX, m_currentY, p)) {
        const QRectF box(QPointF(p) / ratio, QSizeF(metrics.horizontalAdvance(text), metrics.height()));
        QPainter painter(&m_image);
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text);
        markDirty(QRectF(box.topLeft() * ratio, box.size() * ratio).toAlignedRect());
    }
    // Like a line feed: back to the left edge, one text line further down.
    m_currentX = ScaleLeft();
    m_currentY += metrics.height() * ratio * ScaleHeight() / m_image.height();
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
// rectangle union each.
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
    if (!m_refreshTimer.isActive())
        m_refreshTimer.start();
}

void PictureBox::refresh()
{
    // The dirty area is in image pixels; the widget repaints in screen pixels.
    const qreal ratio = m_image.devicePixelRatio();
    const QRect area = QRectF(QPointF(m_dirty.topLeft()) / ratio, QSizeF(m_dirty.size()) / ratio).toAlignedRect();
    update(area.translated(clientRect().topLeft()));
    m_dirty = QRect();
}

} // namespace platform
