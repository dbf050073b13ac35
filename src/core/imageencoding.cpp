#include "imageencoding.h"

#include <QBuffer>
#include <QImageWriter>

QByteArray encodeImage(const QImage& image, ImageFormat format)
{
    if (image.isNull()) {
        return {};
    }
    QImage encoded = image;
    if (format == ImageFormat::Bmp) {
        // Qt's writer stores a 32-bit image without alpha as 24 bits a pixel.
        encoded = image.convertToFormat(QImage::Format_RGB32);
        encoded.setDotsPerMeterX(bmpDotsPerMeter);
        encoded.setDotsPerMeterY(bmpDotsPerMeter);
    }

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format == ImageFormat::Bmp ? "bmp" : "png");
    if (!writer.write(encoded)) {
        return {};
    }
    return bytes;
}

QByteArray encodeBmp(const QImage& image)
{
    return encodeImage(image, ImageFormat::Bmp);
}
