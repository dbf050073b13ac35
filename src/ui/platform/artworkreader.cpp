#include "artworkreader.h"

#include <QFile>
#include <QPixmap>
#include <QtEndian>

namespace IconFileReader {

namespace {

constexpr int iconDirSize = 6;
constexpr int entrySize = 16;
constexpr int infoHeaderSize = 40;
constexpr quint16 iconType = 1;
constexpr quint16 cursorType = 2;
constexpr int maxSide = 256;

// Bounds-checked little-endian reading of a byte array.
class ByteReader
{
public:
    explicit ByteReader(const QByteArray& bytes) : m_bytes(bytes) {}

    bool has(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset + length <= m_bytes.size();
    }
    quint8 u8(qint64 offset) const { return static_cast<quint8>(m_bytes.at(offset)); }
    quint16 u16(qint64 offset) const { return qFromLittleEndian<quint16>(at(offset)); }
    quint32 u32(qint64 offset) const { return qFromLittleEndian<quint32>(at(offset)); }
    qint32 i32(qint64 offset) const { return qFromLittleEndian<qint32>(at(offset)); }
    QByteArray slice(qint64 offset, qint64 length) const { return m_bytes.mid(offset, length); }

private:
    const char* at(qint64 offset) const { return m_bytes.constData() + offset; }
    const QByteArray& m_bytes;
};

struct Entry
{
    int width = 0;
    int height = 0;
    quint16 planesOrHotSpotX = 0;
    quint16 bitCountOrHotSpotY = 0;
    quint32 size = 0;
    quint32 offset = 0;
};

bool fail(QString* error, const QString& reason)
{
    if (error != nullptr) {
        *error = reason;
    }
    return false;
}

int rowBytes(int width, int bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

// The palette index of pixel x in a row of 1, 4 or 8 bits a pixel; the leftmost pixel is in
// the highest bits of its byte.
int paletteIndex(const ByteReader& in, qint64 row, int x, int bitsPerPixel)
{
    const int perByte = 8 / bitsPerPixel;
    const quint8 byte = in.u8(row + x / perByte);
    const int shift = 8 - bitsPerPixel * (x % perByte + 1);
    return (byte >> shift) & ((1 << bitsPerPixel) - 1);
}

// A picture stored as a bitmap: header, colour table, colour rows and mask rows, both
// bottom-up. The header's height counts the colour and the mask rows together.
bool readBitmap(const ByteReader& in, const Entry& entry, Picture* picture, QString* error)
{
    const qint64 start = entry.offset;
    const qint64 end = start + entry.size;
    if (!in.has(start, infoHeaderSize)) {
        return fail(error, QStringLiteral("a picture header lies outside the file"));
    }
    const quint32 headerSize = in.u32(start);
    const qint32 width = in.i32(start + 4);
    const qint32 doubledHeight = in.i32(start + 8);
    const int bits = in.u16(start + 14);
    const quint32 compression = in.u32(start + 16);
    const quint32 coloursUsed = in.u32(start + 32);
    if (headerSize < infoHeaderSize || headerSize > entry.size) {
        return fail(error, QStringLiteral("a picture header has an unknown size"));
    }
    if (width < 1 || width > maxSide || doubledHeight < 2 || doubledHeight > 2 * maxSide ||
        doubledHeight % 2 != 0) {
        return fail(error, QStringLiteral("a picture has an impossible size"));
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) {
        return fail(error, QStringLiteral("a picture has %1 bits a pixel").arg(bits));
    }
    if (compression != 0) {
        return fail(error, QStringLiteral("a picture is compressed"));
    }
    const int height = doubledHeight / 2;
    const bool indexed = bits <= 8;
    // A table before 24 or 32-bit pixels is only a hint for screens with a palette.
    const qint64 fullTable = indexed ? qint64(1) << bits : 256;
    const qint64 tableSize = coloursUsed != 0 ? qint64(coloursUsed) : indexed ? fullTable : 0;
    if (tableSize > fullTable) {
        return fail(error, QStringLiteral("a picture's colour table is too long"));
    }
    const qint64 table = start + headerSize;
    const qint64 pixels = table + 4 * tableSize;
    const qint64 mask = pixels + qint64(rowBytes(width, bits)) * height;
    const qint64 maskEnd = mask + qint64(rowBytes(width, 1)) * height;
    if (maskEnd > end || !in.has(start, maskEnd - start)) {
        return fail(error, QStringLiteral("a picture is cut short"));
    }

    QList<QRgb> colours;
    for (qint64 i = 0; i < tableSize; ++i) {
        const qint64 at = table + 4 * i;
        colours.append(qRgb(in.u8(at + 2), in.u8(at + 1), in.u8(at)));
    }

    // A 32-bit picture whose alpha is zero throughout comes from before alpha channels and
    // relies on its mask like the other depths.
    bool usesAlpha = false;
    for (int y = 0; bits == 32 && !usesAlpha && y < height; ++y) {
        const qint64 row = pixels + qint64(rowBytes(width, bits)) * y;
        for (int x = 0; x < width && !usesAlpha; ++x) {
            usesAlpha = in.u8(row + 4 * x + 3) != 0;
        }
    }

    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        const int fileRow = height - 1 - y;
        const qint64 row = pixels + qint64(rowBytes(width, bits)) * fileRow;
        const qint64 maskRow = mask + qint64(rowBytes(width, 1)) * fileRow;
        for (int x = 0; x < width; ++x) {
            QRgb pixel = 0;
            if (indexed) {
                const int index = paletteIndex(in, row, x, bits);
                if (index >= colours.size()) {
                    return fail(error, QStringLiteral("a pixel names a colour the table lacks"));
                }
                pixel = colours.at(index);
            } else {
                const qint64 at = row + qint64(x) * (bits / 8);
                const int alpha = usesAlpha ? in.u8(at + 3) : 255;
                pixel = qRgba(in.u8(at + 2), in.u8(at + 1), in.u8(at), alpha);
            }
            if (!usesAlpha && paletteIndex(in, maskRow, x, 1) == 1) {
                pixel = 0;
            }
            image.setPixel(x, y, pixel);
        }
    }
    picture->image = image;
    picture->bitsPerPixel = bits;
    return true;
}

bool readPng(const ByteReader& in, const Entry& entry, Picture* picture, QString* error)
{
    QImage image = QImage::fromData(in.slice(entry.offset, entry.size), "PNG");
    if (image.isNull()) {
        return fail(error, QStringLiteral("a PNG picture cannot be read"));
    }
    picture->image = image.convertToFormat(QImage::Format_ARGB32);
    picture->bitsPerPixel = image.depth();
    return true;
}

bool isPng(const ByteReader& in, const Entry& entry)
{
    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    return entry.size >= signature.size() && in.slice(entry.offset, signature.size()) == signature;
}

} // namespace

QList<Picture> read(const QByteArray& bytes, QString* error)
{
    const ByteReader in(bytes);
    if (!in.has(0, iconDirSize)) {
        fail(error, QStringLiteral("too short for an icon or cursor file"));
        return {};
    }
    const quint16 type = in.u16(2);
    const int count = in.u16(4);
    if (in.u16(0) != 0 || (type != iconType && type != cursorType)) {
        fail(error, QStringLiteral("not an icon or cursor file"));
        return {};
    }
    if (count == 0 || !in.has(iconDirSize, qint64(entrySize) * count)) {
        fail(error, QStringLiteral("the directory of pictures is empty or cut short"));
        return {};
    }

    QList<Picture> pictures;
    for (int i = 0; i < count; ++i) {
        const qint64 at = iconDirSize + qint64(entrySize) * i;
        const Entry entry{in.u8(at),      in.u8(at + 1),  in.u16(at + 4),
                          in.u16(at + 6), in.u32(at + 8), in.u32(at + 12)};
        if (!in.has(entry.offset, entry.size)) {
            fail(error, QStringLiteral("picture %1 lies outside the file").arg(i + 1));
            return {};
        }
        Picture picture;
        const bool ok = isPng(in, entry) ? readPng(in, entry, &picture, error)
                                         : readBitmap(in, entry, &picture, error);
        if (!ok) {
            return {};
        }
        if (type == cursorType) {
            picture.hotSpot = QPoint(entry.planesOrHotSpotX, entry.bitCountOrHotSpotY);
            if (!picture.image.rect().contains(picture.hotSpot)) {
                fail(error, QStringLiteral("the hot spot lies outside the cursor"));
                return {};
            }
        }
        pictures.append(picture);
    }
    return pictures;
}

QList<Picture> readFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
        return {};
    }
    QString reason;
    QList<Picture> pictures = read(file.readAll(), &reason);
    if (pictures.isEmpty()) {
        fail(error, QStringLiteral("%1: %2").arg(path, reason));
    }
    return pictures;
}

} // namespace IconFileReader

QIcon programIcon()
{
    QIcon icon;
    for (const IconFileReader::Picture& picture : IconFileReader::readFile(windowIconResource)) {
        icon.addPixmap(QPixmap::fromImage(picture.image));
    }
    return icon;
}

QCursor handCursor()
{
    const QList<IconFileReader::Picture> pictures = IconFileReader::readFile(handCursorResource);
    if (pictures.isEmpty()) {
        return QCursor(Qt::PointingHandCursor);
    }
    const IconFileReader::Picture& hand = pictures.front();
    return QCursor(QPixmap::fromImage(hand.image), hand.hotSpot.x(), hand.hotSpot.y());
}
