#pragma once

#include <QObject>
#include <QPointer>

#include <cstdint>

class QAbstractButton;

namespace testing {

// Presses a button again and again, as an auto-clicker or a stuck mouse button would: each
// press comes from a zero-delay timer, so it lands at the next yield of whatever run is on
// the stack. Records the span of stack that the presses were made at.
class RepeatedPresses : public QObject
{
public:
    RepeatedPresses(QAbstractButton *button, int count);

    bool done() const { return m_left == 0; }
    // Bytes between the deepest and the shallowest press.
    std::uintptr_t stackSpan() const { return m_highest - m_lowest; }

private:
    void press();

    QPointer<QAbstractButton> m_button;
    int m_left;
    std::uintptr_t m_lowest = UINTPTR_MAX;
    std::uintptr_t m_highest = 0;
};

} // namespace testing
