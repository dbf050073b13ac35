#include "modVisitWebsite.h"

#include "system.h"

#include <QWidget>

namespace modVisitWebsite {

bool openWebsite(QWidget* window, const QUrl& url)
{
    return System::openInShell(window != nullptr ? window->window()->winId() : 0, url);
}

} // namespace modVisitWebsite
