#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>

#include <span>

// Writes Windows icon (.ico) and cursor (.cur) files. Both are a small directory followed by
// one device-independent bitmap per picture: a BITMAPINFOHEADER whose height counts the
// colour rows and the mask rows together, the colour ("XOR") pixels bottom-up, then the
// one-bit transparency ("AND") mask, bottom-up, each row padded to 32 bits. A mask bit of 1
// lets the screen show through; the colour under it is then black.
namespace IcoFile {

// One picture of an icon and the depth it is stored at: 24 bits a pixel (any pixel less
// than half opaque is left to the mask, the others are stored fully opaque) or 32 bits a
// pixel (the alpha channel is stored as it is; the mask marks the fully transparent pixels).
struct IconImage
{
    QImage image;
    int bitsPerPixel = 32;
    // Stored as a PNG file of 32 bits a pixel instead of a bitmap, as Windows (since Vista)
    // reads them: the usual way for the 256 x 256 picture, which as a bitmap would be large.
    bool png = false;
};

// The bytes of an icon file holding the pictures in the order given, or an empty array
// with the reason in *error. Pictures may be 1 to 256 pixels wide and high.
QByteArray encodeIcon(std::span<const IconImage> images, QString* error = nullptr);

// The bytes of a cursor file holding one picture at 4 bits a pixel, with the hot spot
// stored in its directory entry. Fully transparent pixels go to the mask; every other pixel
// must be one of at most 15 colours, which follow black (index 0, also used under the
// mask) in the order they first occur, row by row. Partly transparent pixels are an error,
// as are more colours, a hot spot outside the picture, or a picture larger than 256 pixels.
QByteArray encodeCursor(const QImage& image, QPoint hotSpot, QString* error = nullptr);

// Sizes of the file structures.
inline constexpr int iconDirSize = 6;
inline constexpr int iconDirEntrySize = 16;
inline constexpr int bitmapInfoHeaderSize = 40;

// Bytes in one row of a bitmap of the given width and depth: rows are padded to 32 bits.
constexpr int rowBytes(int width, int bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

} // namespace IcoFile
