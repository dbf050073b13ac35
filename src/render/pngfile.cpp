#include "pngfile.h"

#include <QBuffer>
#include <QImageWriter>

namespace {

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
    return writeBytesAtomically(path, bytes);
}
