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

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace platform
