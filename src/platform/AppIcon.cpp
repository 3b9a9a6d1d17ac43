#include "platform/AppIcon.h"

#include <QDir>

namespace platform {

QIcon AppIcon()
{
    // Every size the build put in the resources ("tarnwick-<size>.png"), each loaded only when
    // it is drawn.
    QIcon icon;
    const QDir icons(QStringLiteral(":/icons"));
    for (const QString &name : icons.entryList({QStringLiteral("tarnwick-*.png")}, QDir::Files)) {
        const int size = name.section(QLatin1Char('-'), 1).section(QLatin1Char('.'), 0, 0).toInt();
        icon.addFile(icons.filePath(name), QSize(size, size));
    }
    return icon;
}

} // namespace platform
