#pragma once

#include <QString>

namespace platform {

// Opens the address in the user's web browser and returns at once; the browser runs on
// its own. False when the address is not a valid URL or no browser could be started.
// Tests intercept it with QDesktopServices::setUrlHandler for the address's scheme.
bool OpenWebPage(const QString &address);

} // namespace platform
