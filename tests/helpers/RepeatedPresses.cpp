#include "helpers/RepeatedPresses.h"

#include <QAbstractButton>
#include <QTimer>

#include <algorithm>

namespace testing {

RepeatedPresses::RepeatedPresses(QAbstractButton *button, int count)
    : m_button(button), m_left(count)
{
    QTimer::singleShot(0, this, &RepeatedPresses::press);
}

void RepeatedPresses::press()
{
    if (m_left == 0 || !m_button)
        return;
    --m_left;
    // Armed before the press, so the next press lands inside the run this one starts.
    if (m_left > 0)
        QTimer::singleShot(0, this, &RepeatedPresses::press);
    int marker = 0;
    const auto here = reinterpret_cast<std::uintptr_t>(&marker);
    m_lowest = std::min(m_lowest, here);
    m_highest = std::max(m_highest, here);
    m_button->click();
}

} // namespace testing
