#include "icofile.h"

#include "imageencoding.h"

#include <QList>
#include <QtEndian>

#include <array>

namespace IcoFile {

namespace {

constexpr quint16 iconType = 1;
constexpr quint16 cursorType = 2;
constexpr int maxSide = 256;

// Appends little-endian fields to a byte array.
class ByteWriter
{
public:
    void u8(int value) { m_bytes.append(static_cast<char>(value & 0xff)); }
    void u16(quint16 value)
    {
        std::array<char, 2> raw{};
        qToLittleEndian(value, raw.data());
        m_bytes.append(raw.data(), raw.size());
    }
    void u32(quint32 value)
    {
        std::array<char, 4> raw{};
        qToLittleEndian(value, raw.data());
        m_bytes.append(raw.data(), raw.size());
    }
    void i32(qint32 value) { u32(static_cast<quint32>(value)); }
    void append(const QByteArray& bytes) { m_bytes.append(bytes); }
    void padRow(qsizetype rowStart, int rowBytes)
    {
        while (m_bytes.size() - rowStart < rowBytes) {
            u8(0);
        }
    }
    qsizetype size() const { return m_bytes.size(); }
    QByteArray take() { return std::move(m_bytes); }

private:
    QByteArray m_bytes;
};

bool fail(QString* error, const QString& reason)
{
    if (error != nullptr) {
        *error = reason;
    }
    return false;
}

// One picture as the bytes of its bitmap: header, colour table, colour rows and mask rows.
struct Bitmap
{
    QByteArray bytes;
    int width = 0;
    int height = 0;
    int colourCount = 0; // the directory's colour count: 0 for pictures without a table
};

// The header of a picture; its height counts colour and mask rows together.
void writeInfoHeader(ByteWriter& out, int width, int height, int bitsPerPixel)
{
    const int imageBytes = (rowBytes(width, bitsPerPixel) + rowBytes(width, 1)) * height;
    out.u32(bitmapInfoHeaderSize);
    out.i32(width);
    out.i32(2 * height);
    out.u16(1);                                  // planes
    out.u16(static_cast<quint16>(bitsPerPixel)); // bits a pixel
    out.u32(0);                                  // no compression
    out.u32(static_cast<quint32>(imageBytes));   // bytes of colour and mask rows
    out.i32(0);                                  // horizontal resolution: none given
    out.i32(0);                                  // vertical resolution: none given
    out.u32(0);                                  // colours used: all the depth allows
    out.u32(0);                                  // important colours: all
}

// The mask rows, bottom-up: a set bit for every pixel the predicate calls transparent.
template <typename IsTransparent>
void writeMask(ByteWriter& out, int width, int height, IsTransparent isTransparent)
{
    for (int y = height - 1; y >= 0; --y) {
        const qsizetype rowStart = out.size();
        for (int x0 = 0; x0 < width; x0 += 8) {
            int bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const int x = x0 + bit;
                if (x < width && isTransparent(x, y)) {
                    bits |= 0x80 >> bit;
                }
            }
            out.u8(bits);
        }
        out.padRow(rowStart, rowBytes(width, 1));
    }
}

bool encodeIconBitmap(const IconImage& picture, Bitmap* bitmap, QString* error)
{
    const QImage image = picture.image.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    const int depth = picture.bitsPerPixel;
    if (image.isNull() || width > maxSide || height > maxSide) {
        return fail(error, QStringLiteral("an icon picture must be 1 to 256 pixels a side"));
    }
    if (depth != 24 && depth != 32) {
        return fail(error, QStringLiteral("an icon picture is stored at 24 or 32 bits a pixel"));
    }
    // At 24 bits only the mask says what is transparent, so it needs a clear cut.
    const auto transparent = [&image, depth](int x, int y) {
        const int alpha = qAlpha(image.pixel(x, y));
        return depth == 24 ? alpha < 128 : alpha == 0;
    };

    ByteWriter out;
    writeInfoHeader(out, width, height, depth);
    for (int y = height - 1; y >= 0; --y) {
        const qsizetype rowStart = out.size();
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = transparent(x, y) ? 0U : image.pixel(x, y);
            out.u8(qBlue(pixel));
            out.u8(qGreen(pixel));
            out.u8(qRed(pixel));
            if (depth == 32) {
                out.u8(qAlpha(pixel));
            }
        }
        out.padRow(rowStart, rowBytes(width, depth));
    }
    writeMask(out, width, height, transparent);

    *bitmap = Bitmap{out.take(), width, height, 0};
    return true;
}

bool encodeCursorBitmap(const QImage& source, Bitmap* bitmap, QString* error)
{
    constexpr int depth = 4;
    constexpr int tableSize = 1 << depth;
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    if (image.isNull() || width > maxSide || height > maxSide) {
        return fail(error, QStringLiteral("a cursor picture must be 1 to 256 pixels a side"));
    }

    // Black comes first: it is the colour under the mask and usually the outline too.
    QList<QRgb> table{qRgb(0, 0, 0)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 0) {
                continue;
            }
            if (qAlpha(pixel) != 255) {
                return fail(error, QStringLiteral("the cursor pixel at %1,%2 is partly "
                                                  "transparent")
                                       .arg(x)
                                       .arg(y));
            }
            if (!table.contains(pixel)) {
                table.append(pixel);
            }
        }
    }
    if (table.size() > tableSize) {
        return fail(error, QStringLiteral("the cursor has %1 colours besides black; at most "
                                          "%2 fit")
                               .arg(table.size() - 1)
                               .arg(tableSize - 1));
    }
    const auto transparent = [&image](int x, int y) {
        return qAlpha(image.pixel(x, y)) == 0;
    };
    const auto index = [&](int x, int y) {
        return transparent(x, y) ? 0 : static_cast<int>(table.indexOf(image.pixel(x, y)));
    };

    ByteWriter out;
    writeInfoHeader(out, width, height, depth);
    for (int i = 0; i < tableSize; ++i) {
        const QRgb colour = i < table.size() ? table.at(i) : qRgb(0, 0, 0);
        out.u8(qBlue(colour));
        out.u8(qGreen(colour));
        out.u8(qRed(colour));
        out.u8(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        const qsizetype rowStart = out.size();
        for (int x = 0; x < width; x += 2) {
            const int low = x + 1 < width ? index(x + 1, y) : 0;
            out.u8(index(x, y) << 4 | low);
        }
        out.padRow(rowStart, rowBytes(width, depth));
    }
    writeMask(out, width, height, transparent);

    *bitmap = Bitmap{out.take(), width, height, tableSize};
    return true;
}

// The directory, then the bitmaps. For an icon the two fields after the colour count are
// the planes and the depth; a cursor keeps its hot spot there.
QByteArray assemble(quint16 type, const QList<Bitmap>& bitmaps,
                    const QList<std::array<quint16, 2>>& entryFields)
{
    ByteWriter out;
    out.u16(0);
    out.u16(type);
    out.u16(static_cast<quint16>(bitmaps.size()));
    quint32 offset = iconDirSize + iconDirEntrySize * static_cast<quint32>(bitmaps.size());
    for (qsizetype i = 0; i < bitmaps.size(); ++i) {
        const Bitmap& bitmap = bitmaps.at(i);
        out.u8(bitmap.width == maxSide ? 0 : bitmap.width);
        out.u8(bitmap.height == maxSide ? 0 : bitmap.height);
        out.u8(bitmap.colourCount);
        out.u8(0);
        out.u16(entryFields.at(i)[0]);
        out.u16(entryFields.at(i)[1]);
        out.u32(static_cast<quint32>(bitmap.bytes.size()));
        out.u32(offset);
        offset += static_cast<quint32>(bitmap.bytes.size());
    }
    for (const Bitmap& bitmap : bitmaps) {
        out.append(bitmap.bytes);
    }
    return out.take();
}

} // namespace

QByteArray encodeIcon(std::span<const IconImage> images, QString* error)
{
    if (images.empty()) {
        fail(error, QStringLiteral("an icon needs at least one picture"));
        return {};
    }
    QList<Bitmap> bitmaps;
    QList<std::array<quint16, 2>> fields;
    for (const IconImage& picture : images) {
        Bitmap bitmap;
        if (picture.png) {
            const QImage image = picture.image.convertToFormat(QImage::Format_ARGB32);
            bitmap = {encodeImage(image, ImageFormat::Png), image.width(), image.height(), 0};
            if (image.width() > maxSide || image.height() > maxSide || bitmap.bytes.isEmpty()) {
                fail(error, QStringLiteral("an icon picture must be 1 to 256 pixels a side"));
                return {};
            }
        } else if (!encodeIconBitmap(picture, &bitmap, error)) {
            return {};
        }
        bitmaps.append(bitmap);
        fields.append({1, static_cast<quint16>(picture.png ? 32 : picture.bitsPerPixel)});
    }
    return assemble(iconType, bitmaps, fields);
}

QByteArray encodeCursor(const QImage& image, QPoint hotSpot, QString* error)
{
    if (!image.rect().contains(hotSpot)) {
        fail(error, QStringLiteral("the hot spot %1,%2 lies outside the cursor")
                        .arg(hotSpot.x())
                        .arg(hotSpot.y()));
        return {};
    }
    Bitmap bitmap;
    if (!encodeCursorBitmap(image, &bitmap, error)) {
        return {};
    }
    return assemble(cursorType, {bitmap},
                    {{static_cast<quint16>(hotSpot.x()), static_cast<quint16>(hotSpot.y())}});
}

} // namespace IcoFile
