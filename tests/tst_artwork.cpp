// The window icon and the hand cursor as committed under src/ui/art/: the layout of the
// files, what they show, and that they are what the drawings in tools/artgen and art/ make.
// The files are taken apart here field by field, without the program's own reader.

#include "icofile.h"
#include "iconart.h"

#include <QColor>
#include <QFile>
#include <QTest>
#include <QtEndian>

#include <cstring>

namespace {

const QString sourceDir = QStringLiteral(SNOETJESMAL_SOURCE_DIR);
const QString iconPath = sourceDir + QStringLiteral("/src/ui/art/snoetjesmal.ico");
const QString cursorPath = sourceDir + QStringLiteral("/src/ui/art/hand.cur");

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

template <typename T> T field(const QByteArray& bytes, qint64 offset)
{
    T value{};
    if (offset < 0 || offset + qint64(sizeof(T)) > bytes.size()) {
        return value;
    }
    std::memcpy(&value, bytes.constData() + offset, sizeof(T));
    return qFromLittleEndian(value);
}

struct DirEntry
{
    int width;
    int height;
    int colourCount;
    int reserved;
    int planes;   // the hot spot's x for a cursor
    int bitCount; // the hot spot's y for a cursor
    quint32 size;
    quint32 offset;
};

DirEntry dirEntry(const QByteArray& bytes, int index)
{
    const qint64 at = 6 + 16 * index;
    return {field<quint8>(bytes, at),      field<quint8>(bytes, at + 1),
            field<quint8>(bytes, at + 2),  field<quint8>(bytes, at + 3),
            field<quint16>(bytes, at + 4), field<quint16>(bytes, at + 6),
            field<quint32>(bytes, at + 8), field<quint32>(bytes, at + 12)};
}

int rowBytes(int width, int bits)
{
    return (width * bits + 31) / 32 * 4;
}

// One picture's bitmap, read straight from the bytes.
class Bitmap
{
public:
    Bitmap(const QByteArray& bytes, const DirEntry& entry) : m_bytes(bytes), m_start(entry.offset)
    {
        headerSize = field<quint32>(bytes, m_start);
        width = field<qint32>(bytes, m_start + 4);
        doubledHeight = field<qint32>(bytes, m_start + 8);
        planes = field<quint16>(bytes, m_start + 12);
        bits = field<quint16>(bytes, m_start + 14);
        compression = field<quint32>(bytes, m_start + 16);
        imageSize = field<quint32>(bytes, m_start + 20);
        coloursUsed = field<quint32>(bytes, m_start + 32);
        height = doubledHeight / 2;
        tableSize = bits > 8 ? 0 : coloursUsed != 0 ? int(coloursUsed) : 1 << bits;
        m_pixels = m_start + headerSize + 4 * tableSize;
        m_mask = m_pixels + qint64(rowBytes(width, bits)) * height;
    }

    qint64 expectedSize() const
    {
        return headerSize + 4 * tableSize +
               qint64(rowBytes(width, bits) + rowBytes(width, 1)) * height;
    }

    QRgb tableColour(int index) const
    {
        const qint64 at = m_start + headerSize + 4 * index;
        return qRgb(field<quint8>(m_bytes, at + 2), field<quint8>(m_bytes, at + 1),
                    field<quint8>(m_bytes, at));
    }

    // Rows are stored bottom-up; x and y here count from the upper left.
    int index(int x, int y) const
    {
        const qint64 row = m_pixels + qint64(rowBytes(width, bits)) * (height - 1 - y);
        const int perByte = 8 / bits;
        const int byte = field<quint8>(m_bytes, row + x / perByte);
        return (byte >> (8 - bits * (x % perByte + 1))) & ((1 << bits) - 1);
    }

    QRgb colour(int x, int y) const
    {
        if (bits <= 8) {
            return tableColour(index(x, y));
        }
        const qint64 at =
            m_pixels + qint64(rowBytes(width, bits)) * (height - 1 - y) + qint64(x) * (bits / 8);
        const int alpha = bits == 32 ? field<quint8>(m_bytes, at + 3) : 255;
        return qRgba(field<quint8>(m_bytes, at + 2), field<quint8>(m_bytes, at + 1),
                     field<quint8>(m_bytes, at), alpha);
    }

    bool masked(int x, int y) const
    {
        const qint64 row = m_mask + qint64(rowBytes(width, 1)) * (height - 1 - y);
        return (field<quint8>(m_bytes, row + x / 8) >> (7 - x % 8) & 1) != 0;
    }

    // The picture as it shows: the mask's transparency applied to the colours.
    QImage image() const
    {
        QImage result(width, height, QImage::Format_ARGB32);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                result.setPixel(x, y, masked(x, y) ? 0U : colour(x, y));
            }
        }
        return result;
    }

    quint32 headerSize;
    qint32 width;
    qint32 doubledHeight;
    int planes;
    int bits;
    quint32 compression;
    quint32 imageSize;
    quint32 coloursUsed;
    int height;
    int tableSize;

private:
    const QByteArray& m_bytes;
    qint64 m_start;
    qint64 m_pixels = 0;
    qint64 m_mask = 0;
};

bool isDark(QRgb c)
{
    return qAlpha(c) == 255 && QColor(c).lightness() < 80;
}

bool isBlueish(QRgb c)
{
    return qBlue(c) > qRed(c) + 60 && qBlue(c) > qGreen(c) + 30;
}

// The topmost dark pixel of a column between two rows, or -1.
int firstDarkRow(const QImage& image, int x, int fromRow, int toRow)
{
    for (int y = fromRow; y < toRow; ++y) {
        if (isDark(image.pixel(x, y))) {
            return y;
        }
    }
    return -1;
}

void addIconPictureRows()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("bits");
    QTest::newRow("32 x 32 at 24 bits") << 0 << 32 << 24;
    QTest::newRow("48 x 48 at 32 bits") << 1 << 48 << 32;
}

} // namespace

class TestArtwork : public QObject
{
    Q_OBJECT

    QByteArray m_icon;
    QByteArray m_cursor;

private Q_SLOTS:
    void initTestCase()
    {
        m_icon = fileBytes(iconPath);
        m_cursor = fileBytes(cursorPath);
        QVERIFY2(!m_icon.isEmpty(), qPrintable(iconPath));
        QVERIFY2(!m_cursor.isEmpty(), qPrintable(cursorPath));
    }

    void iconDirectory()
    {
        QCOMPARE(field<quint16>(m_icon, 0), quint16(0));
        QCOMPARE(field<quint16>(m_icon, 2), quint16(1)); // an icon
        QCOMPARE(field<quint16>(m_icon, 4), quint16(2)); // two pictures
        // The pictures follow the directory one after the other and end with the file.
        const DirEntry first = dirEntry(m_icon, 0);
        const DirEntry second = dirEntry(m_icon, 1);
        QCOMPARE(first.offset, quint32(6 + 2 * 16));
        QCOMPARE(second.offset, first.offset + first.size);
        QCOMPARE(qint64(second.offset) + second.size, m_icon.size());
    }

    void iconPicture_data() { addIconPictureRows(); }
    void iconPicture()
    {
        QFETCH(int, index);
        QFETCH(int, side);
        QFETCH(int, bits);
        const DirEntry entry = dirEntry(m_icon, index);
        QCOMPARE(entry.width, side);
        QCOMPARE(entry.height, side);
        QCOMPARE(entry.colourCount, 0);
        QCOMPARE(entry.reserved, 0);
        QCOMPARE(entry.planes, 1);
        QCOMPARE(entry.bitCount, bits);
        QVERIFY2(m_icon.mid(entry.offset, 4) != QByteArray("\x89PNG", 4), "a PNG picture");

        const Bitmap bitmap(m_icon, entry);
        QCOMPARE(bitmap.headerSize, quint32(40));
        QCOMPARE(bitmap.width, side);
        QCOMPARE(bitmap.doubledHeight, 2 * side); // colour rows and mask rows
        QCOMPARE(bitmap.planes, 1);
        QCOMPARE(bitmap.bits, bits);
        QCOMPARE(bitmap.compression, quint32(0));
        QCOMPARE(bitmap.coloursUsed, quint32(0));
        QCOMPARE(bitmap.tableSize, 0);
        QCOMPARE(qint64(entry.size), bitmap.expectedSize());
        QVERIFY(bitmap.imageSize == 0 || bitmap.imageSize == entry.size - 40);
    }

    void largeIconHasRealAlpha()
    {
        const Bitmap bitmap(m_icon, dirEntry(m_icon, 1));
        const int last = bitmap.width - 1;
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)}) {
            QCOMPARE(qAlpha(bitmap.colour(corner.x(), corner.y())), 0);
            QVERIFY(bitmap.masked(corner.x(), corner.y()));
        }
        QCOMPARE(qAlpha(bitmap.colour(24, 24)), 255);
        QVERIFY(!bitmap.masked(24, 24));
        // The edge of the disc is smoothed: partly transparent pixels along it, and the mask
        // takes away nothing that alpha shows.
        int partial = 0;
        for (int y = 0; y < bitmap.height; ++y) {
            for (int x = 0; x < bitmap.width; ++x) {
                const int alpha = qAlpha(bitmap.colour(x, y));
                partial += alpha > 0 && alpha < 255 ? 1 : 0;
                QCOMPARE(bitmap.masked(x, y), alpha == 0);
            }
        }
        QVERIFY2(partial >= 40, qPrintable(QString::number(partial)));
    }

    void smallIconMaskIsRound()
    {
        const Bitmap bitmap(m_icon, dirEntry(m_icon, 0));
        const int last = bitmap.width - 1;
        for (const QPoint corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last),
                                    QPoint(last, last), QPoint(2, 2), QPoint(last - 2, 2)}) {
            QVERIFY(bitmap.masked(corner.x(), corner.y()));
            QCOMPARE(bitmap.colour(corner.x(), corner.y()) & 0xffffffU, 0U); // black under it
        }
        QVERIFY(!bitmap.masked(16, 16));
        QVERIFY(!bitmap.masked(16, 1));
        QVERIFY(!bitmap.masked(1, 16));
        int transparent = 0;
        for (int y = 0; y < bitmap.height; ++y) {
            for (int x = 0; x < bitmap.width; ++x) {
                transparent += bitmap.masked(x, y) ? 1 : 0;
                QCOMPARE(bitmap.masked(x, y), bitmap.masked(last - x, y));
                QCOMPARE(bitmap.masked(x, y), bitmap.masked(x, last - y));
            }
        }
        // Outside a disc that fills the square: a little over a fifth of it.
        QVERIFY2(transparent > 180 && transparent < 260, qPrintable(QString::number(transparent)));
    }

    // The picture is the program's face: a yellow disc lit from the upper left with a gold
    // rim, two dark eyes side by side in the upper half and a smile below them.
    void iconShowsTheSmilingFace_data() { addIconPictureRows(); }
    void iconShowsTheSmilingFace()
    {
        QFETCH(int, index);
        QFETCH(int, side);
        const QImage face = Bitmap(m_icon, dirEntry(m_icon, index)).image();
        const int mid = side / 2;
        const QColor upperLeft = face.pixelColor(side / 4, side / 4);
        const QColor lowerRight = face.pixelColor(side * 7 / 10, side * 7 / 10);
        QVERIFY(upperLeft.red() >= 0xf8 && upperLeft.green() >= 0xe0 && upperLeft.blue() < 0x90);
        QVERIFY(lowerRight.red() >= 0xe0 && lowerRight.green() >= 0xa0 && lowerRight.blue() < 0x60);
        QVERIFY(upperLeft.lightness() > lowerRight.lightness());

        // The rim on the far side is dark gold, about C9992C.
        const int rimX = mid + side * 33 / 100;
        const QColor rim = face.pixelColor(rimX, rimX);
        QVERIFY2(std::abs(rim.red() - 0xC9) < 0x20 && std::abs(rim.green() - 0x99) < 0x20 &&
                     std::abs(rim.blue() - 0x2C) < 0x20,
                 qPrintable(rim.name()));

        // Eyes: dark in the upper half on both sides, with yellow between them.
        bool leftEye = false;
        bool rightEye = false;
        for (int y = side / 5; y < mid; ++y) {
            QVERIFY(!isDark(face.pixel(mid, y)));
            for (int x = side / 5; x < side - side / 5; ++x) {
                leftEye = leftEye || (x < mid && isDark(face.pixel(x, y)));
                rightEye = rightEye || (x > mid && isDark(face.pixel(x, y)));
                QCOMPARE(isDark(face.pixel(x, y)), isDark(face.pixel(side - 1 - x, y)));
            }
        }
        QVERIFY(leftEye && rightEye);

        // The smile: lowest in the middle, its ends turned up.
        const int middle = firstDarkRow(face, mid, mid, side);
        const int leftEnd = firstDarkRow(face, mid - side / 4, mid - side / 8, side);
        const int rightEnd = firstDarkRow(face, side - 1 - (mid - side / 4), mid - side / 8, side);
        QVERIFY(middle > mid);
        QVERIFY(leftEnd > 0 && leftEnd < middle);
        QCOMPARE(rightEnd, leftEnd);
    }

    void cursorLayout()
    {
        QCOMPARE(field<quint16>(m_cursor, 0), quint16(0));
        QCOMPARE(field<quint16>(m_cursor, 2), quint16(2)); // a cursor
        QCOMPARE(field<quint16>(m_cursor, 4), quint16(1)); // one picture
        const DirEntry entry = dirEntry(m_cursor, 0);
        QCOMPARE(entry.width, 32);
        QCOMPARE(entry.height, 32);
        QCOMPARE(entry.colourCount, 16);
        QCOMPARE(entry.reserved, 0);
        QCOMPARE(entry.offset, quint32(6 + 16));
        QCOMPARE(qint64(entry.offset) + entry.size, m_cursor.size());

        const Bitmap bitmap(m_cursor, entry);
        QCOMPARE(bitmap.headerSize, quint32(40));
        QCOMPARE(bitmap.width, 32);
        QCOMPARE(bitmap.doubledHeight, 64);
        QCOMPARE(bitmap.planes, 1);
        QCOMPARE(bitmap.bits, 4);
        QCOMPARE(bitmap.compression, quint32(0));
        QVERIFY(bitmap.tableSize <= 16);
        QCOMPARE(qint64(entry.size), bitmap.expectedSize());
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                QVERIFY(bitmap.index(x, y) < bitmap.tableSize);
            }
        }
    }

    void cursorHotSpotIsTheFingertip()
    {
        const DirEntry entry = dirEntry(m_cursor, 0);
        QCOMPARE(QPoint(entry.planes, entry.bitCount), QPoint(12, 1));
        const Bitmap bitmap(m_cursor, entry);
        QVERIFY2(!bitmap.masked(12, 1), "the hot spot is not on the hand");
        // Nothing of the hand lies above the tip, and the tip is the middle of the top row.
        int left = 32;
        int right = -1;
        for (int x = 0; x < 32; ++x) {
            QVERIFY(bitmap.masked(x, 0));
            if (!bitmap.masked(x, 1)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        QCOMPARE(left + right, 2 * 12);
        // The finger goes straight down from the tip, white inside a black outline.
        for (int y = 2; y < 8; ++y) {
            QCOMPARE(bitmap.colour(12, y) & 0xffffffU, 0xffffffU);
        }
        QCOMPARE(bitmap.colour(12, 1) & 0xffffffU, 0U);
    }

    void cursorColours()
    {
        const Bitmap bitmap(m_cursor, dirEntry(m_cursor, 0));
        const QImage hand = bitmap.image();
        bool black = false;
        bool white = false;
        int blue = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QRgb c = hand.pixel(x, y);
                if (qAlpha(c) == 0) {
                    continue;
                }
                black = black || (c & 0xffffffU) == 0;
                white = white || (c & 0xffffffU) == 0xffffffU;
                // The cuff is at the wrist, below the hand.
                blue += isBlueish(c) && y > 16 ? 1 : 0;
            }
        }
        QVERIFY(black);
        QVERIFY(white);
        QVERIFY2(blue >= 20, "no blue cuff");
        for (const QPoint corner : {QPoint(0, 0), QPoint(31, 0), QPoint(0, 31), QPoint(31, 31)}) {
            QVERIFY(bitmap.masked(corner.x(), corner.y()));
            QCOMPARE(bitmap.colour(corner.x(), corner.y()) & 0xffffffU, 0U);
        }
    }

    // The committed files are made by the generator; they must not drift apart from it.
    void generatorMakesTheIcon()
    {
        QString error;
        const QByteArray made = IconArt::windowIconFile(&error);
        QVERIFY2(!made.isEmpty(), qPrintable(error));
        QVERIFY2(made == m_icon, "snoetjesmal.ico is out of date: build the target 'icons' and "
                                 "commit the file");
    }

    void generatorMakesTheCursor()
    {
        QString error;
        const QByteArray made = IconArt::handCursorFile(sourceDir + QStringLiteral("/art"), &error);
        QVERIFY2(!made.isEmpty(), qPrintable(error));
        QVERIFY2(made == m_cursor, "hand.cur is out of date: build the target 'icons' and "
                                   "commit the file");
    }

    void faceSizes_data()
    {
        QTest::addColumn<int>("side");
        QTest::newRow("16") << 16;
        QTest::newRow("32") << 32;
        QTest::newRow("48") << 48;
        QTest::newRow("64") << 64;
    }
    void faceSizes()
    {
        QFETCH(int, side);
        const QImage face = IconArt::face(side);
        QCOMPARE(face.size(), QSize(side, side));
        QCOMPARE(qAlpha(face.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(face.pixel(side / 2, side / 2)), 255);
    }

    void writerRefusesWhatDoesNotFit_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<QPoint>("hotSpot");

        QImage seventeen(17, 1, QImage::Format_ARGB32);
        for (int x = 0; x < 17; ++x) {
            seventeen.setPixel(x, 0, qRgb(x * 15, 0, 0)); // black and 16 more colours
        }
        QImage halfClear(2, 2, QImage::Format_ARGB32);
        halfClear.fill(qRgb(255, 255, 255));
        halfClear.setPixel(1, 1, qRgba(10, 10, 10, 128));
        QImage plain(4, 4, QImage::Format_ARGB32);
        plain.fill(qRgb(255, 255, 255));

        QTest::newRow("too many colours") << seventeen << QPoint(0, 0);
        QTest::newRow("partly transparent") << halfClear << QPoint(0, 0);
        QTest::newRow("hot spot outside") << plain << QPoint(4, 0);
        QTest::newRow("too large") << QImage(257, 4, QImage::Format_ARGB32) << QPoint(0, 0);
        QTest::newRow("no picture") << QImage() << QPoint(0, 0);
    }
    void writerRefusesWhatDoesNotFit()
    {
        QFETCH(QImage, image);
        QFETCH(QPoint, hotSpot);
        QString error;
        QVERIFY(IcoFile::encodeCursor(image, hotSpot, &error).isEmpty());
        QVERIFY(!error.isEmpty());
    }

    void writerIconDepths_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("8") << 8 << false;
        QTest::newRow("16") << 16 << false;
        QTest::newRow("24") << 24 << true;
        QTest::newRow("32") << 32 << true;
    }
    void writerIconDepths()
    {
        QFETCH(int, bits);
        QFETCH(bool, accepted);
        QImage image(3, 3, QImage::Format_ARGB32);
        image.fill(qRgba(200, 100, 50, 100));
        const IcoFile::IconImage picture{image, bits};
        const QByteArray bytes = IcoFile::encodeIcon({&picture, 1});
        QCOMPARE(!bytes.isEmpty(), accepted);
        if (accepted) {
            // Three pixels a row, padded to four bytes; the mask row to four bytes too.
            QCOMPARE(bytes.size(), 6 + 16 + 40 + 3 * IcoFile::rowBytes(3, bits) + 3 * 4);
            const Bitmap bitmap(bytes, dirEntry(bytes, 0));
            // At 24 bits a pixel that is less than half opaque is left to the mask; at 32
            // bits it keeps its alpha.
            QCOMPARE(bitmap.masked(1, 1), bits == 24);
            QCOMPARE(bitmap.colour(1, 1), bits == 24 ? qRgb(0, 0, 0) : qRgba(200, 100, 50, 100));
        }
    }
};

QTEST_GUILESS_MAIN(TestArtwork)
#include "tst_artwork.moc"
