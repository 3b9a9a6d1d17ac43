#include "platform/Frame.h"

#include <QPainter>

namespace platform {

Frame::Frame(const QString &caption, QWidget *parent)
    : QGroupBox(caption, parent)
{
}

QRect Frame::captionRect() const
{
    QString caption = title();
    caption.remove(QLatin1Char('&'));
    const QFontMetrics metrics(font());
    return QRect(8, 0, metrics.horizontalAdvance(caption) + 2, metrics.height());
}

void Frame::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QFontMetrics metrics(font());
    const int top = title().isEmpty() ? 0 : metrics.height() / 2;
    const QRect box = rect().adjusted(0, top, -1, -1);
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    p.setPen(shadow);
    p.drawRect(box.adjusted(0, 0, -1, -1));
    p.setPen(light);
    p.drawRect(box.adjusted(1, 1, 0, 0));
    if (title().isEmpty())
        return;
    QString caption = title();
    caption.remove(QLatin1Char('&'));
    const QRect textRect = captionRect();
    p.fillRect(textRect, palette().color(backgroundRole()));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, caption);
}

} // namespace platform
