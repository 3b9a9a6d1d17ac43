#pragma once

#include <QString>

#include <optional>

namespace platform {

// What the program tells about itself: its title, version numbers and legal notice.
struct AppInfo {
    QString title;
    int major = 0;
    int minor = 0;
    int revision = 0;
    QString legalCopyright;
};

// The maker's name: the title of the program's messages, its copyright and its disclaimer.
QString MakerName();

// The running program's identity, as the build defines it.
const AppInfo &App();

// Lets tests answer another identity from App(); std::nullopt restores the build's.
void ReplaceApp(std::optional<AppInfo> info);

} // namespace platform
