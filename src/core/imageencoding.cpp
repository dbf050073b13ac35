#include "imageencoding.h"

#include "svgencoding.h"

#include <QBuffer>
#include <QImageWriter>

#include <array>

namespace {

constexpr std::array<std::pair<ImageFormat, QStringView>, 3> extensions{{
    {ImageFormat::Bmp, u"bmp"},
    {ImageFormat::Png, u"png"},
    {ImageFormat::Svg, u"svg"},
}};

} // namespace

QByteArray encodeImage(const QImage& image, ImageFormat format, QSize shownSize)
{
    if (image.isNull()) {
        return {};
    }
    if (format == ImageFormat::Svg) {
        return encodeSvg(image, shownSize.isEmpty() ? image.size() : shownSize);
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

QStringView extensionOf(ImageFormat format)
{
    for (const auto& [each, extension] : extensions) {
        if (each == format) {
            return extension;
        }
    }
    return {};
}

std::optional<ImageFormat> imageFormatNamed(QStringView name)
{
    for (const auto& [format, extension] : extensions) {
        if (name.compare(extension, Qt::CaseInsensitive) == 0) {
            return format;
        }
    }
    return std::nullopt;
}
