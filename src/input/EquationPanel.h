#pragma once

#include "platform/Controls.h"
#include "platform/Equations.h"

#include <array>

class QGroupBox;
class QLabel;

namespace platform {
class TextBox;
}

namespace input {

// The "Functions" frame both windows show: a label and a box for each equation, and the
// instruction beside them.
struct EquationPanel {
    QGroupBox *frame = nullptr;
    std::array<QLabel *, platform::EquationCount> labels{};
    std::array<platform::TextBox *, platform::EquationCount> boxes{};
    QLabel *instruction = nullptr;
};

// Makes the panel in the window's client area. The boxes are named boxName and the
// equation's number ("txtFunc1" or "txtFunc_1"), the labels "lblEqua_1" and on.
EquationPanel MakeEquationPanel(QWidget *client, platform::TwipsBox frameBox, const char *boxName);

} // namespace input
