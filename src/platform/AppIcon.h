#pragma once

#include <QIcon>

namespace platform {

// The program's window icon, used by every window.
QIcon AppIcon();

} // namespace platform
