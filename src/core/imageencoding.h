#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QStringView>

#include <optional>

// The formats a face is written in.
enum class ImageFormat
{
    // A Windows bitmap: 24 bits a pixel, rows bottom-up and padded to four bytes, no colour
    // table, 96 dpi. What the save dialog writes.
    Bmp,
    // A PNG file that keeps the image's alpha channel.
    Png,
    // An SVG 1.1 drawing of the pixels as rectangles, sharp at any size (svgencoding.h).
    Svg,
};

// The bytes of a file of that format holding the image; empty when encoding fails.
// shownSize is the width and height an SVG drawing asks to be shown at (the image's own size
// when empty); the pixel formats hold the image as it is and have no use for it.
QByteArray encodeImage(const QImage& image, ImageFormat format, QSize shownSize = {});

// The same as encodeImage(image, ImageFormat::Bmp).
QByteArray encodeBmp(const QImage& image);

// The format's usual file name extension in lower case, without the dot: "bmp", "png", "svg".
QStringView extensionOf(ImageFormat format);

// The format named by such an extension or name, in any case; nothing for any other text.
std::optional<ImageFormat> imageFormatNamed(QStringView name);

// 3779 pixels a metre is 96 dots an inch.
inline constexpr int bmpDotsPerMeter = 3779;
