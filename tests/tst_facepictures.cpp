// The face pictures: their file format, the blank face, that every strip fits seamlessly
// onto the blank face, and that no face the program composes breaks the outline.

#include "artsource.h"
#include "facecanvas.h"
#include "faceerror.h"
#include "facepictures.h"

#include <QFile>
#include <QSet>
#include <QTest>
#include <QtEndian>

#include <cstring>

namespace {

QByteArray resourceBytes(std::string_view box)
{
    QFile file(FacePictures::resourcePath(box));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

template <typename T> T field(const QByteArray& bytes, int offset)
{
    T value{};
    std::memcpy(&value, bytes.constData() + offset, sizeof(T));
    return qFromLittleEndian(value);
}

QString boxName(const FacePictures::Info& info)
{
    return FacePictures::toQString(info.box);
}

bool isWhite(QRgb c)
{
    return (c & 0xffffffU) == 0xffffffU;
}

// The rim: pixels of the face that touch the white around it, diagonally included.
bool onRim(const QImage& blank, int x, int y)
{
    if (isWhite(blank.pixel(x, y))) {
        return false;
    }
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p(x + dx, y + dy);
            if (blank.rect().contains(p) && isWhite(blank.pixel(p))) {
                return true;
            }
        }
    }
    return false;
}

// The outline of the blank face: in every row and every column, the outermost pixel of the
// disc on either side and the pixel just inside it.
QSet<QPoint> outlineRing(const QImage& blank)
{
    QSet<QPoint> ring;
    const auto addEnds = [&ring, &blank](QPoint start, QPoint step) {
        QList<QPoint> disc;
        for (QPoint p = start; blank.rect().contains(p); p += step) {
            if (!isWhite(blank.pixel(p))) {
                disc.append(p);
            }
        }
        for (int i = 0; i < std::min<qsizetype>(2, disc.size()); ++i) {
            ring.insert(disc.at(i));
            ring.insert(disc.at(disc.size() - 1 - i));
        }
    };
    for (int i = 0; i < blank.height(); ++i) {
        addEnds(QPoint(0, i), QPoint(1, 0));
        addEnds(QPoint(i, 0), QPoint(0, 1));
    }
    return ring;
}

void addPictureRows()
{
    QTest::addColumn<int>("index");
    int index = 0;
    for (const FacePictures::Info& info : FacePictures::all()) {
        QTest::newRow(info.box.data()) << index++;
    }
}

const FacePictures::Info& infoAt(int index)
{
    return FacePictures::all()[static_cast<std::size_t>(index)];
}

} // namespace

class TestFacePictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void fileFormat_data() { addPictureRows(); }
    void fileFormat()
    {
        QFETCH(int, index);
        const auto& info = infoAt(index);
        const QByteArray bytes = resourceBytes(info.box);
        QVERIFY2(!bytes.isEmpty(), "picture missing from the resources");
        const int rowBytes = 60; // 19 pixels of 3 bytes, padded to a multiple of 4
        QCOMPARE(bytes.size(), 54 + rowBytes * info.height);
        QCOMPARE(bytes.left(2), QByteArray("BM"));
        QCOMPARE(field<qint32>(bytes, 18), qint32(19));
        QCOMPARE(field<qint32>(bytes, 22), qint32(info.height)); // positive: bottom-up
        QCOMPARE(field<quint16>(bytes, 28), quint16(24));
        QCOMPARE(field<quint32>(bytes, 46), quint32(0)); // no colour table
        for (int row = 0; row < info.height; ++row) {
            const char* padding = bytes.constData() + 54 + row * rowBytes + 57;
            QCOMPARE(QByteArray(padding, 3), QByteArray(3, '\0'));
        }
        const QImage& image = FacePictures::picture(info.box);
        QCOMPARE(image.size(), QSize(19, info.height));
    }

    void blankStrips()
    {
        const QImage& blank = FacePictures::blankFace();
        QCOMPARE(FacePictures::picture("picOogBlanco"), blank.copy(0, 0, 19, 12));
        QCOMPARE(FacePictures::picture("picMondBlanco"), blank.copy(0, 11, 19, 8));
    }

    // Outside its feature a strip is the blank face: always outside the disc and, but for
    // the tired eyes with their reduced palette, along the rim.
    void seamless_data() { addPictureRows(); }
    void seamless()
    {
        QFETCH(int, index);
        const auto& info = infoAt(index);
        const QImage& blank = FacePictures::blankFace();
        const QImage& strip = FacePictures::picture(info.box);
        if (info.box == "picMondBozer") {
            QSKIP("drawn stretched; stretchedMouthKeepsTheRim checks it where it lands");
        }
        const bool keepsRim = info.box != "PicOogMoe";
        for (int y = 0; y < info.height; ++y) {
            for (int x = 0; x < 19; ++x) {
                const int faceY = info.faceRow + y;
                const bool outside = isWhite(blank.pixel(x, faceY));
                if (outside || (keepsRim && onRim(blank, x, faceY))) {
                    QVERIFY2(strip.pixel(x, y) == blank.pixel(x, faceY),
                             qPrintable(QStringLiteral("%1 differs from the blank face at %2,%3")
                                            .arg(boxName(info))
                                            .arg(x)
                                            .arg(y)));
                }
            }
        }
    }

    // Whatever the styles and whichever band was drawn last, the outline of the face stays
    // as the blank face has it. Only glasses may run over it to the edge of the face, and
    // only beside the eyes.
    void outlineStaysWhole_data()
    {
        QTest::addColumn<int>("eyes");
        QTest::addColumn<int>("mouth");
        QTest::addColumn<bool>("eyesFirst");
        QTest::addColumn<bool>("glasses");
        for (int e = 0; e <= 20; ++e) {
            const bool glasses = e == 6 || e == 16; // sunglasses, and the nerd's glasses
            for (int m = 0; m <= 15; ++m) {
                QTest::addRow("eyes %d then mouth %d", e, m) << e << m << true << glasses;
                QTest::addRow("mouth %d then eyes %d", m, e) << e << m << false << glasses;
            }
        }
    }
    void outlineStaysWhole()
    {
        QFETCH(int, eyes);
        QFETCH(int, mouth);
        QFETCH(bool, eyesFirst);
        QFETCH(bool, glasses);
        FaceCanvas canvas;
        if (eyesFirst) {
            canvas.recomposeEyes(eyes);
            canvas.recomposeMouth(mouth);
        } else {
            canvas.recomposeMouth(mouth);
            canvas.recomposeEyes(eyes);
        }
        const QImage& blank = FacePictures::blankFace();
        const QImage& face = canvas.image();
        for (const QPoint p : outlineRing(blank)) {
            if (glasses && p.y() >= 4 && p.y() <= 11) {
                continue;
            }
            QVERIFY2(
                face.pixel(p) == blank.pixel(p),
                qPrintable(QStringLiteral("the outline is broken at %1,%2").arg(p.x()).arg(p.y())));
        }
    }

    // The angrier mouth is a 7-row picture that the program draws over the 8 rows 11-18, so
    // one of its rows shows twice. Around its feature the face must come out as the blank
    // face: it can differ only where the two rows of the blank face behind the repeated
    // row differ, and the program repeats the row behind which they differ least.
    void stretchedMouthKeepsTheRim()
    {
        const QImage& blank = FacePictures::blankFace();
        FaceCanvas canvas;
        canvas.recomposeMouth(15);
        const QImage& face = canvas.image();

        QSet<QPoint> rim = outlineRing(blank);
        for (int y = 0; y < blank.height(); ++y) {
            for (int x = 0; x < blank.width(); ++x) {
                if (isWhite(blank.pixel(x, y))) {
                    rim.insert(QPoint(x, y));
                }
            }
        }
        // How many pixels of the rim a row and the row below it do not share.
        const auto rimDifference = [&rim, &blank](int row) {
            qsizetype count = 0;
            for (int x = 0; x < blank.width(); ++x) {
                const bool touches =
                    rim.contains(QPoint(x, row)) || rim.contains(QPoint(x, row + 1));
                count += touches && blank.pixel(x, row) != blank.pixel(x, row + 1) ? 1 : 0;
            }
            return count;
        };

        QList<int> repeated;
        qsizetype least = blank.width();
        for (int y = 11; y < 18; ++y) {
            if (face.copy(0, y, 19, 1) == face.copy(0, y + 1, 19, 1)) {
                repeated.append(y);
            }
            least = std::min(least, rimDifference(y));
        }
        QCOMPARE(repeated.size(), 1);
        const int first = repeated.front();
        QCOMPARE(rimDifference(first), least);

        for (const QPoint p : rim) {
            if (p.y() < 11) {
                continue;
            }
            const bool shared = p.y() == first || p.y() == first + 1;
            const int other = p.y() == first ? first + 1 : first;
            QVERIFY2(face.pixel(p) == blank.pixel(p) ||
                         (shared && face.pixel(p) == blank.pixel(p.x(), other)),
                     qPrintable(QStringLiteral("the rim differs at %1,%2").arg(p.x()).arg(p.y())));
        }
    }

    void everyStripShowsSomething_data() { addPictureRows(); }
    void everyStripShowsSomething()
    {
        QFETCH(int, index);
        const auto& info = infoAt(index);
        if (info.kind == FacePictures::Kind::Blank || info.box.ends_with("Blanco")) {
            QSKIP("a blank picture shows no feature");
        }
        const QImage blankRows = FacePictures::blankFace().copy(0, info.faceRow, 19, info.height);
        QVERIFY2(FacePictures::picture(info.box) != blankRows, "the strip shows no feature");
    }

    // The BMPs are made from the XPM drawings under art/; they must not drift apart.
    void drawingsMatchPictures_data() { addPictureRows(); }
    void drawingsMatchPictures()
    {
        QFETCH(int, index);
        const auto& info = infoAt(index);
        QString error;
        const QImage drawn =
            ArtSource::picture(QStringLiteral(SNOETJESMAL_SOURCE_DIR "/art"), info, &error);
        QVERIFY2(!drawn.isNull(), qPrintable(error));
        QVERIFY2(drawn == FacePictures::picture(info.box),
                 "the BMP is out of date: build the target 'faces' and commit the BMPs");
    }

    // A name that is not one of the pictures says which name and what is wrong with it.
    void unknownPictureThrows()
    {
        try {
            FacePictures::picture("picOogBestaatNiet");
            QFAIL("no FaceError");
        } catch (const FaceError& error) {
            QCOMPARE(error.problem(), FaceError::Problem::Unknown);
            QCOMPARE(error.picture(), std::string("picOogBestaatNiet"));
        }
    }
};

QTEST_GUILESS_MAIN(TestFacePictures)
#include "tst_facepictures.moc"
