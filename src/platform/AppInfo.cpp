#include "platform/AppInfo.h"

#include "platform/Program.h"

namespace platform {

namespace {

AppInfo buildInfo()
{
    AppInfo info;
    info.title = AppTitle();
    info.major = TARNWICK_VERSION_MAJOR;
    info.minor = TARNWICK_VERSION_MINOR;
    info.revision = TARNWICK_VERSION_PATCH;
    info.legalCopyright = QStringLiteral("Copyright \u00A9 2026 %1. All rights reserved.").arg(MakerName());
    return info;
}

std::optional<AppInfo> &replacement()
{
    static std::optional<AppInfo> info;
    return info;
}

} // namespace

QString MakerName()
{
    return QStringLiteral("Quarro");
}

const AppInfo &App()
{
    static const AppInfo build = buildInfo();
    return replacement() ? *replacement() : build;
}

void ReplaceApp(std::optional<AppInfo> info)
{
    replacement() = std::move(info);
}

} // namespace platform
