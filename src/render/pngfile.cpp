#include "pngfile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// Why a write failed, as a Dutch sentence; the system's own text when nothing clearer fits.
QString reasonFor(int code, const QString& path, const QString& systemText)
{
    switch (code) {
    case EACCES:
    case EPERM:
        return QStringLiteral("Je hebt geen toestemming om op deze plek een bestand op te slaan.");
    case EROFS:
        return QStringLiteral("Op deze schijf kan alleen gelezen worden (schrijfbeveiligd).");
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("De schijf is vol.");
    case ENAMETOOLONG:
        return QStringLiteral("De bestandsnaam of het pad is te lang.");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Opgegeven map bestaat niet.");
    case EISDIR:
        return QStringLiteral("Er staat al een map met deze naam.");
    default:
        break;
    }
    if (QFileInfo(path).isDir()) {
        return QStringLiteral("Er staat al een map met deze naam.");
    }
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir()) {
        return QStringLiteral("Opgegeven map bestaat niet.");
    }
    return systemText.isEmpty()
               ? QStringLiteral("Het bestand kon niet worden geschreven.")
               : QStringLiteral("Het bestand kon niet worden geschreven (%1).").arg(systemText);
}

QByteArray encodePng(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (image.isNull() || !writer.write(image)) {
        return {};
    }
    return bytes;
}

} // namespace

FaceFileResult writePngFile(const QString& path, const QImage& image)
{
    const QByteArray bytes = encodePng(image);
    if (bytes.isEmpty()) {
        return {false, QStringLiteral("Het plaatje kon niet als PNG-bestand worden opgemaakt.")};
    }

    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        const int code = errno;
        return {false, reasonFor(code, path, file.errorString())};
    }

    // Everything is flushed and checked before commit(), which on Qt 6.4 would not notice a
    // failed last flush and could put a cut-off file in place of the old one.
    errno = 0;
    bool written = file.write(bytes) == bytes.size() && file.flush() &&
                   file.error() == QFileDevice::NoError && file.size() == bytes.size();
#ifdef Q_OS_UNIX
    if (written && ::fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS) {
        written = false;
    }
#endif
    if (!written) {
        const int code = errno;
        const QString systemText = file.errorString();
        file.cancelWriting();
        file.commit(); // removes the temporary file
        return {false, reasonFor(code, path, systemText)};
    }

    errno = 0;
    if (!file.commit()) {
        const int code = errno;
        return {false, reasonFor(code, path, file.errorString())};
    }
    return {true, {}};
}
