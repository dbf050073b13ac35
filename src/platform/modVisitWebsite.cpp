#include "modVisitWebsite.h"

#include "system.h"

#include <QWidget>

namespace modVisitWebsite {

namespace {

Opener& opener()
{
    static Opener instance;
    return instance;
}

} // namespace

void setOpener(Opener newOpener)
{
    opener() = std::move(newOpener);
}

bool openWebsite(QWidget* window, const QUrl& url)
{
    if (opener()) {
        return opener()(url);
    }
    return System::openInShell(window != nullptr ? window->window()->winId() : 0, url);
}

} // namespace modVisitWebsite
