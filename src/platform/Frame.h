#pragma once

#include <QGroupBox>

namespace platform {

// A frame: an etched rectangle with its caption written over the top edge, children
// placed relative to the frame's own top-left corner.
class Frame : public QGroupBox
{
    Q_OBJECT

public:
    explicit Frame(const QString &caption, QWidget *parent = nullptr);
    // Where the caption is written over the top edge, on the frame's own background.
    QRect captionRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace platform
