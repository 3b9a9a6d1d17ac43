#include "platform/AppIcon.h"

#include <QDir>

namespace platform {

QIcon AppIcon()
{
    // Every size the build put in the resources (the build's list of icon sizes).
    QIcon icon;
    const QDir icons(QStringLiteral(":/icons"));
    for (const QString &name : icons.entryList({QStringLiteral("tarnwick-*.png")}, QDir::Files))
        icon.addFile(icons.filePath(name));
    return icon;
}

} // namespace platform
