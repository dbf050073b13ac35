// Opening a page on Windows: the shell's ShellExecuteA with the "open" verb.

#include "modVisitWebsite.h"

#include <QWidget>

#include <qt_windows.h>
#include <shellapi.h>

namespace modVisitWebsite {

bool openWebsite(QWidget* window, const QUrl& url)
{
    const auto owner = reinterpret_cast<HWND>(window != nullptr ? window->window()->winId() : 0);
    const QByteArray target = url.toString(QUrl::FullyEncoded).toLatin1();
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(owner, "open", target.constData(), "", "", SW_SHOWNORMAL));
    // Values of 32 and below are the shell's error codes.
    return result > 32;
}

} // namespace modVisitWebsite
