// The program's icon and the hand cursor: the Windows files under src/ui/art/ (read back
// with Qt's own ICO reader, and a few header bytes where Qt does not tell), the PNG pictures
// the program and the desktop's icon theme (data/icons/) read, that all of them are what
// tools/artgen draws, and that the art tools fail loudly when they cannot write.

#include "icofile.h"
#include "iconart.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cstring>

namespace {

const QString sourceDir = QStringLiteral(SNOETJESMAL_SOURCE_DIR);
const QString artDir = sourceDir + QStringLiteral("/src/ui/art/");
const QString iconPath = artDir + QStringLiteral("snoetjesmal.ico");
const QString cursorPath = artDir + QStringLiteral("hand.cur");
const QString themeDir = sourceDir + QStringLiteral("/data/icons/");

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

template <typename T> int field(const QByteArray& bytes, qint64 offset)
{
    T value{};
    if (offset >= 0 && offset + qint64(sizeof(T)) <= bytes.size()) {
        std::memcpy(&value, bytes.constData() + offset, sizeof(T));
    }
    return static_cast<int>(qFromLittleEndian(value));
}

// Field of the directory entry of picture `index`: 0 width, 1 height, 2 colour count, 4 planes
// or a cursor's hot spot x, 6 bits a pixel or the hot spot y, 12 where the picture starts.
int entryByte(const QByteArray& bytes, int index, int at)
{
    return field<quint8>(bytes, 6 + 16 * index + at);
}
int entryWord(const QByteArray& bytes, int index, int at)
{
    return field<quint16>(bytes, 6 + 16 * index + at);
}
int pictureStart(const QByteArray& bytes, int index)
{
    return field<quint32>(bytes, 6 + 16 * index + 12);
}

// The mask bit of pixel (x, y), counted from the upper left, of a picture that is side pixels
// square at the given depth and has no colour table. Qt applies no mask to a picture of 24
// bits a pixel, so these few bytes are read here.
bool masked(const QByteArray& bytes, int index, int side, int bits, int x, int y)
{
    const int mask = pictureStart(bytes, index) + 40 + IcoFile::rowBytes(side, bits) * side;
    const int row = mask + IcoFile::rowBytes(side, 1) * (side - 1 - y);
    return (field<quint8>(bytes, row + x / 8) >> (7 - x % 8) & 1) != 0;
}

QList<QImage> readWithQt(const QString& path)
{
    QImageReader reader(path, "ico");
    QList<QImage> pictures;
    for (int i = 0; i < reader.imageCount(); ++i) {
        reader.jumpToImage(i);
        pictures.append(reader.read().convertToFormat(QImage::Format_ARGB32));
    }
    return pictures;
}

QImage png(const QString& name)
{
    return QImage(artDir + name, "PNG").convertToFormat(QImage::Format_ARGB32);
}

bool isDark(QRgb c)
{
    return qAlpha(c) == 255 && QColor(c).lightness() < 80;
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

QImage themePng(int side)
{
    return QImage(themeDir + QStringLiteral("snoetjesmal-%1.png").arg(side), "PNG")
        .convertToFormat(QImage::Format_ARGB32);
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

    // The .ico holds the face at every size Windows asks for, in this order, at 32 bits with
    // alpha: bitmaps with a mask for the fully transparent pixels, and the largest as PNG.
    void iconPictures_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("side");
        const QList<int> sides{16, 20, 24, 32, 40, 48, 64, 256};
        for (int index = 0; index < sides.size(); ++index) {
            QTest::addRow("%d", sides.at(index)) << index << sides.at(index);
        }
    }
    void iconPictures()
    {
        QFETCH(int, index);
        QFETCH(int, side);
        const QList<QImage> pictures = readWithQt(iconPath);
        QCOMPARE(pictures.size(), 8);
        // Qt's reader passes the colours of partly transparent pixels through premultiplied
        // alpha, which rounds them; their alpha and every opaque pixel come back exactly.
        const QImage drawn = IconArt::face(side);
        QCOMPARE(pictures.at(index).size(), drawn.size());
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const QRgb read = pictures.at(index).pixel(x, y);
                const QRgb expected = drawn.pixel(x, y);
                QCOMPARE(qAlpha(read), qAlpha(expected));
                if (qAlpha(expected) == 255) {
                    QCOMPARE(read, expected);
                }
            }
        }
        QCOMPARE(entryWord(m_icon, index, 6), 32);
        const bool png = m_icon.mid(pictureStart(m_icon, index), 4) == QByteArray("\x89PNG", 4);
        QCOMPARE(png, side == 256);
        if (!png) {
            QVERIFY(masked(m_icon, index, side, 32, 0, 0));
            QVERIFY(!masked(m_icon, index, side, 32, side / 2, side / 2));
        }
    }

    // The picture is the program's face: a yellow disc lit from the upper left with a gold
    // rim, two dark eyes side by side in the upper half and a smile below them.
    void iconShowsTheSmilingFace_data()
    {
        QTest::addColumn<int>("side");
        QTest::newRow("32") << 32;
        QTest::newRow("48") << 48;
    }
    void iconShowsTheSmilingFace()
    {
        QFETCH(int, side);
        const QImage face = png(QStringLiteral("snoetjesmal-%1.png").arg(side));
        const int mid = side / 2;
        const QColor upperLeft = face.pixelColor(side / 4, side / 4);
        const QColor lowerRight = face.pixelColor(side * 7 / 10, side * 7 / 10);
        QVERIFY(upperLeft.red() >= 0xf8 && upperLeft.green() >= 0xe0 && upperLeft.blue() < 0x90);
        QVERIFY(lowerRight.red() >= 0xe0 && lowerRight.green() >= 0xa0 && lowerRight.blue() < 0x60);
        QVERIFY(upperLeft.lightness() > lowerRight.lightness());

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

    // The .cur: one 32 x 32 picture of 16 colours with its hot spot at the finger tip
    // (12, 1), showing what hand.png shows: a white hand in a black outline.
    void cursor()
    {
        QCOMPARE(field<quint16>(m_cursor, 2), 2); // a cursor
        QCOMPARE(field<quint16>(m_cursor, 4), 1); // one picture
        QCOMPARE(entryByte(m_cursor, 0, 0), 32);
        QCOMPARE(entryByte(m_cursor, 0, 1), 32);
        QCOMPARE(entryByte(m_cursor, 0, 2), 16);
        const QPoint hotSpot(entryWord(m_cursor, 0, 4), entryWord(m_cursor, 0, 6));
        QCOMPARE(hotSpot, QPoint(12, 1));
        QCOMPARE(field<quint16>(m_cursor, pictureStart(m_cursor, 0) + 14), 4); // bits a pixel

        const QList<QImage> pictures = readWithQt(cursorPath);
        QCOMPARE(pictures.size(), 1);
        const QImage hand = png(QStringLiteral("hand.png"));
        QCOMPARE(pictures.front(), hand);

        // Nothing of the hand lies above the tip, and the tip is the middle of the top row.
        QVERIFY(qAlpha(hand.pixel(hotSpot)) == 255);
        int left = 32;
        int right = -1;
        for (int x = 0; x < 32; ++x) {
            QCOMPARE(qAlpha(hand.pixel(x, 0)), 0);
            if (qAlpha(hand.pixel(x, 1)) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        QCOMPARE(left + right, 2 * hotSpot.x());
        // The finger goes straight down from the tip, white inside a black outline.
        QCOMPARE(hand.pixel(hotSpot), qRgb(0, 0, 0));
        for (int y = 2; y < 8; ++y) {
            QCOMPARE(hand.pixel(hotSpot.x(), y), qRgb(255, 255, 255));
        }
    }

    // The committed files are made by the generator; they must not drift apart from it.
    void generatorMakesTheCommittedFiles()
    {
        QString error;
        QVERIFY2(IconArt::windowIconFile(&error) == m_icon,
                 "snoetjesmal.ico is out of date: build the target 'icons' and commit the files");
        QVERIFY2(IconArt::handCursorFile(sourceDir + QStringLiteral("/art"), &error) == m_cursor,
                 "hand.cur is out of date: build the target 'icons' and commit the files");
        for (const int side : {IconArt::smallIconSide, IconArt::largeIconSide}) {
            QVERIFY2(IconArt::face(side) == png(QStringLiteral("snoetjesmal-%1.png").arg(side)),
                     "an icon PNG is out of date: build the target 'icons' and commit the files");
        }
        for (const int side : IconArt::themeIconSides) {
            QVERIFY2(IconArt::face(side) == themePng(side),
                     "an icon of data/icons is out of date: build the target 'icons'");
        }
        QVERIFY2(IconArt::faceSvg() == fileBytes(themeDir + QStringLiteral("snoetjesmal.svg")),
                 "snoetjesmal.svg is out of date: build the target 'icons' and commit the files");
        IconArt::CursorDrawing hand;
        QVERIFY(IconArt::readCursorDrawing(IconArt::handDrawingPath(sourceDir + u"/art"_qs), &hand,
                                           &error));
        QVERIFY2(hand.image == png(QStringLiteral("hand.png")),
                 "hand.png is out of date: build the target 'icons' and commit the files");
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

    // A pixel less than half opaque: at 24 bits the mask takes it; at 32 it keeps its alpha.
    void writerIconDepths_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<bool>("accepted");
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
            QCOMPARE(masked(bytes, 0, 3, bits, 1, 1), bits == 24);
            const int pixel = pictureStart(bytes, 0) + 40 + IcoFile::rowBytes(3, bits) + bits / 8;
            const QByteArray expected =
                bits == 24 ? QByteArray(3, '\0') : QByteArray("\x32\x64\xc8\x64", 4);
            QCOMPARE(bytes.mid(pixel, bits / 8), expected);
        }
    }

    // The art tools say so with their exit status when they cannot write a file (here: into
    // a folder that is not there; the writer's own tests cover the other failures).
    void toolsReportFailedWrites_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::newRow("faces") << QStringLiteral(SNOETJESMAL_ARTGEN);
        QTest::newRow("icons") << QStringLiteral(SNOETJESMAL_ICONART);
    }
    void toolsReportFailedWrites()
    {
        QFETCH(QString, tool);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(tool, {sourceDir + QStringLiteral("/art"), folder.filePath(u"missing"_qs)});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
    }
};

QTEST_GUILESS_MAIN(TestArtwork)
#include "tst_artwork.moc"
