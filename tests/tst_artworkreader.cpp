// Reading the window icon and the hand cursor: the icon and cursor file reader on small
// files put together here byte by byte and on damaged ones, and the two resources the
// program carries.

#include "artworkreader.h"

#include <QPixmap>
#include <QTest>
#include <QtEndian>

#include <array>

namespace {

// Builds icon and cursor files field by field.
class FileBuilder
{
public:
    FileBuilder& u8(int value)
    {
        bytes.append(static_cast<char>(value));
        return *this;
    }
    FileBuilder& u16(int value)
    {
        std::array<char, 2> raw{};
        qToLittleEndian(static_cast<quint16>(value), raw.data());
        bytes.append(raw.data(), raw.size());
        return *this;
    }
    FileBuilder& u32(qint64 value)
    {
        std::array<char, 4> raw{};
        qToLittleEndian(static_cast<quint32>(value), raw.data());
        bytes.append(raw.data(), raw.size());
        return *this;
    }
    FileBuilder& directory(int type, int count) { return u16(0).u16(type).u16(count); }
    FileBuilder& entry(int side, int colours, int field1, int field2, int size, int offset)
    {
        return u8(side).u8(side).u8(colours).u8(0).u16(field1).u16(field2).u32(size).u32(offset);
    }
    FileBuilder& infoHeader(int width, int height, int bits, int coloursUsed = 0)
    {
        return u32(40)
            .u32(width)
            .u32(2 * height)
            .u16(1)
            .u16(bits)
            .u32(0)
            .u32(0)
            .u32(0)
            .u32(0)
            .u32(coloursUsed)
            .u32(0);
    }

    QByteArray bytes;
};

// A cursor of 3 x 2 pixels at 4 bits a pixel, hot spot (2, 1), with a colour table of
// black, red, green and blue. Upper row: red, green, transparent; lower row: blue, black,
// red. The odd width leaves half a byte over in each row.
QByteArray smallCursor()
{
    FileBuilder file;
    const int size = 40 + 4 * 4 + 2 * 4 + 2 * 4;
    file.directory(2, 1).entry(3, 4, 2, 1, size, 22).infoHeader(3, 2, 4, 4);
    file.u8(0).u8(0).u8(0).u8(0);       // black
    file.u8(0).u8(0).u8(255).u8(0);     // red (stored blue, green, red)
    file.u8(0).u8(255).u8(0).u8(0);     // green
    file.u8(255).u8(0).u8(0).u8(0);     // blue
    file.u8(0x30).u8(0x10).u8(0).u8(0); // lower row first: blue, black, red
    file.u8(0x12).u8(0x00).u8(0).u8(0); // upper row: red, green, black under the mask
    file.u8(0x00).u8(0).u8(0).u8(0);    // lower mask row: all shown
    file.u8(0x20).u8(0).u8(0).u8(0);    // upper mask row: the third pixel transparent
    return file.bytes;
}

// An icon of 2 x 2 pixels at 24 bits a pixel whose mask leaves the lower left transparent.
QByteArray smallIcon()
{
    FileBuilder file;
    const int size = 40 + 2 * 8 + 2 * 4;
    file.directory(1, 1).entry(2, 0, 1, 24, size, 22).infoHeader(2, 2, 24);
    file.u8(0).u8(0).u8(0).u8(10).u8(20).u8(30).u8(0).u8(0); // lower row: black, 1E140A
    file.u8(1).u8(2).u8(3).u8(4).u8(5).u8(6).u8(0).u8(0);    // upper row: 030201, 060504
    file.u8(0x80).u8(0).u8(0).u8(0);                         // lower mask row
    file.u8(0x00).u8(0).u8(0).u8(0);                         // upper mask row
    return file.bytes;
}

} // namespace

class TestArtworkReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsAFourBitCursor()
    {
        QString error;
        const auto pictures = IconFileReader::read(smallCursor(), &error);
        QVERIFY2(pictures.size() == 1, qPrintable(error));
        const IconFileReader::Picture& picture = pictures.front();
        QCOMPARE(picture.bitsPerPixel, 4);
        QCOMPARE(picture.hotSpot, QPoint(2, 1));
        const QImage& image = picture.image;
        QCOMPARE(image.size(), QSize(3, 2));
        QCOMPARE(image.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(1, 0), qRgb(0, 255, 0));
        QCOMPARE(qAlpha(image.pixel(2, 0)), 0);
        QCOMPARE(image.pixel(0, 1), qRgb(0, 0, 255));
        QCOMPARE(image.pixel(1, 1), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(2, 1), qRgb(255, 0, 0));
    }

    void readsATwentyFourBitIconWithItsMask()
    {
        QString error;
        const auto pictures = IconFileReader::read(smallIcon(), &error);
        QVERIFY2(pictures.size() == 1, qPrintable(error));
        const IconFileReader::Picture& picture = pictures.front();
        QCOMPARE(picture.bitsPerPixel, 24);
        QCOMPARE(picture.hotSpot, QPoint(0, 0));
        const QImage& image = picture.image;
        QCOMPARE(image.pixel(0, 0), qRgb(3, 2, 1));
        QCOMPARE(image.pixel(1, 0), qRgb(6, 5, 4));
        QCOMPARE(qAlpha(image.pixel(0, 1)), 0);
        QCOMPARE(image.pixel(1, 1), qRgb(30, 20, 10));
    }

    void refusesDamagedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray cursor = smallCursor();
        const auto changed = [&cursor](int at, char value) {
            QByteArray bytes = cursor;
            bytes[at] = value;
            return bytes;
        };
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("directory cut short") << cursor.left(5);
        QTest::newRow("entry cut short") << cursor.left(20);
        QTest::newRow("bitmap cut short") << cursor.left(cursor.size() - 1);
        QTest::newRow("no pictures") << changed(4, 0);
        QTest::newRow("unknown type") << changed(2, 3);
        QTest::newRow("reserved field set") << changed(0, 1);
        QTest::newRow("picture beyond the end") << changed(18, 100);
        QTest::newRow("sixteen bits a pixel") << changed(22 + 14, 16);
        QTest::newRow("compressed") << changed(22 + 16, 2);
        QTest::newRow("odd doubled height") << changed(22 + 8, 3);
        QTest::newRow("zero width") << changed(22 + 4, 0);
        QTest::newRow("colour table too long") << changed(22 + 32, 17);
        QTest::newRow("colour missing from the table") << changed(22 + 40 + 16, char(0x70));
        QTest::newRow("hot spot outside") << changed(10, 3);
    }
    void refusesDamagedFiles()
    {
        QFETCH(QByteArray, bytes);
        QString error;
        QVERIFY(IconFileReader::read(bytes, &error).isEmpty());
        QVERIFY(!error.isEmpty());
    }

    void missingResourceFile()
    {
        QString error;
        QVERIFY(
            IconFileReader::readFile(QStringLiteral(":/art/bestaat-niet.cur"), &error).isEmpty());
        QVERIFY(error.contains(QStringLiteral("bestaat-niet")));
    }

    void windowIconHasBothSizes()
    {
        const QIcon icon = programIcon();
        QVERIFY(!icon.isNull());
        const QList<QSize> sizes = icon.availableSizes();
        QVERIFY(sizes.contains(QSize(32, 32)));
        QVERIFY(sizes.contains(QSize(48, 48)));
        QCOMPARE(sizes.size(), 2);
        // Both pictures are round: transparent in the corners, the face in the middle. The
        // small one relies on its mask for that.
        for (const int side : {32, 48}) {
            const QImage image = icon.pixmap(QSize(side, side)).toImage();
            QCOMPARE(image.size(), QSize(side, side));
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(image.pixel(side - 1, side - 1)), 0);
            QCOMPARE(qAlpha(image.pixel(side / 2, side / 2)), 255);
            QVERIFY(qRed(image.pixel(side / 2, side / 3)) > 0xe0);
        }
    }

    void handCursorHasItsHotSpot()
    {
        const QCursor cursor = handCursor();
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        QCOMPARE(cursor.hotSpot(), QPoint(12, 1));
        const QImage image = cursor.pixmap().toImage();
        QCOMPARE(image.size(), QSize(32, 32));
        QCOMPARE(qAlpha(image.pixel(12, 1)), 255);
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    }

    void resourcesAreReadable_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("pictures");
        QTest::newRow("icon") << windowIconResource << 2;
        QTest::newRow("cursor") << handCursorResource << 1;
    }
    void resourcesAreReadable()
    {
        QFETCH(QString, path);
        QFETCH(int, pictures);
        QString error;
        QCOMPARE(IconFileReader::readFile(path, &error).size(), pictures);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
};

QTEST_MAIN(TestArtworkReader)
#include "tst_artworkreader.moc"
