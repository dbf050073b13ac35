#pragma once

#include <QByteArray>
#include <QImage>

// The formats a face is written in.
enum class ImageFormat
{
    // A Windows bitmap: 24 bits a pixel, rows bottom-up and padded to four bytes, no colour
    // table, 96 dpi. What the save dialog writes.
    Bmp,
    // A PNG file that keeps the image's alpha channel.
    Png,
};

// The bytes of a file of that format holding the image; empty when encoding fails.
QByteArray encodeImage(const QImage& image, ImageFormat format);

// The same as encodeImage(image, ImageFormat::Bmp).
QByteArray encodeBmp(const QImage& image);

// 3779 pixels a metre is 96 dots an inch.
inline constexpr int bmpDotsPerMeter = 3779;
