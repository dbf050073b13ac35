// Opening a page on Linux and other Posix systems: the desktop's own way (xdg-open and the
// like), through Qt.

#include "modVisitWebsite.h"

#include <QDesktopServices>

namespace modVisitWebsite {

bool openWebsite(QWidget* window, const QUrl& url)
{
    Q_UNUSED(window);
    return QDesktopServices::openUrl(url);
}

} // namespace modVisitWebsite
