#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Handing a file to the browser as a download: a web page has no folders to save in. The
// browser tells the page nothing of what becomes of it; it shows the user.
using Downloader = std::function<void(const QString& fileName, const QByteArray& bytes)>;

// The browser's download where the program runs in a browser; nothing on the desktop, which
// saves in a folder the user picks.
Downloader browserDownload();
