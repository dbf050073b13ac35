// A download in the browser: the page offers the bytes under the file name, and the browser
// saves them as it is set to (its downloads folder, or asking where).

#include "download.h"

#include <QFileDialog>

Downloader browserDownload()
{
    return [](const QString& fileName, const QByteArray& bytes) {
        QFileDialog::saveFileContent(bytes, fileName);
    };
}
