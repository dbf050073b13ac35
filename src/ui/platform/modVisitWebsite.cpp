#include "modVisitWebsite.h"

#include <QDesktopServices>
#include <QWidget>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#endif

namespace modVisitWebsite {

namespace {

Opener& opener()
{
    static Opener instance;
    return instance;
}

bool shellOpen([[maybe_unused]] QWidget* window, const QUrl& url)
{
#ifdef Q_OS_WIN
    const HWND owner = window != nullptr ? reinterpret_cast<HWND>(window->winId()) : nullptr;
    const QByteArray target = url.toString(QUrl::FullyEncoded).toLatin1();
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(owner, "open", target.constData(), "", "", SW_SHOWNORMAL));
    // Values of 32 and below are the shell's error codes.
    return result > 32;
#else
    return QDesktopServices::openUrl(url);
#endif
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
    return shellOpen(window, url);
}

} // namespace modVisitWebsite
