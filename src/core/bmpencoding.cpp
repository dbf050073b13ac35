#include "bmpencoding.h"

#include <QBuffer>
#include <QImageWriter>

QByteArray encodeBmp(const QImage& image)
{
    if (image.isNull()) {
        return {};
    }
    // Qt's writer stores a 32-bit image without alpha as 24 bits a pixel.
    QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    rgb.setDotsPerMeterX(bmpDotsPerMeter);
    rgb.setDotsPerMeterY(bmpDotsPerMeter);

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(rgb)) {
        return {};
    }
    return bytes;
}
