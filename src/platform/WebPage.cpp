#include "platform/WebPage.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform {

bool OpenWebPage(const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return false;
    return QDesktopServices::openUrl(url);
}

} // namespace platform
