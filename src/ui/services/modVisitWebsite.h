#pragma once

#include <QUrl>

#include <functional>

class QWidget;

// Opens a web page in the user's browser through the desktop shell.
namespace modVisitWebsite {

// The maker's home page, opened by the link label of the main window.
inline const QString siteName = QStringLiteral("quorvelin.nl");
inline const QUrl homePage = QUrl(QStringLiteral("https://www.quorvelin.nl/"));

// Asks the shell to open url, with window as the owner of anything the shell shows.
// Returns false when the shell reports that it could not.
bool openWebsite(QWidget* window, const QUrl& url);

// Who opens a page: openWebsite, or in a test one of the test's own.
using Opener = std::function<bool(QWidget* window, const QUrl& url)>;

} // namespace modVisitWebsite
