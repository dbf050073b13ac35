// The face made ready for other programs: composition from a pair of values, the
// transparent background, whole-pixel enlargement, fitting into a square, and reading style
// names.

#include "faceexport.h"
#include "facepictures.h"
#include "stylenames.h"

#include "handdrawnface.h"

#include <QTest>

#include <optional>

using FaceExport::Region;

namespace {

constexpr int side = FacePictures::faceSize;

bool isWhite(QRgb colour)
{
    return (colour & 0xffffffU) == 0xffffffU;
}

bool touchesOutside(int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if ((dx != 0 || dy != 0) && FaceExport::regionAt(x + dx, y + dy) == Region::Outside) {
                return true;
            }
        }
    }
    return false;
}

// A pixel of a transparent image laid over a background, rounded as an 8-bit display does.
QRgb over(QRgb pixel, QRgb background)
{
    const int a = qAlpha(pixel);
    const auto mix = [a](int top, int bottom) {
        return (top * a + bottom * (255 - a) + 127) / 255;
    };
    return qRgb(mix(qRed(pixel), qRed(background)), mix(qGreen(pixel), qGreen(background)),
                mix(qBlue(pixel), qBlue(background)));
}

int channelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

} // namespace

class TestFaceExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The face for a pair of styles in either drawing order: after Random (mouth last) or
    // after moving the eye bar (eyes last).
    void composeFaceInOrder_data()
    {
        QTest::addColumn<bool>("eyesLast");
        QTest::newRow("mouth last") << false;
        QTest::newRow("eyes last") << true;
    }
    void composeFaceInOrder()
    {
        QFETCH(bool, eyesLast);
        const QImage expected = handDrawnFace(eyesLast);
        QVERIFY(!expected.isNull());
        QCOMPARE(FaceExport::composeFace(handDrawnEyes, handDrawnMouth,
                                         eyesLast ? FaceExport::DrawingOrder::EyesLast
                                                  : FaceExport::DrawingOrder::MouthLast),
                 expected);
    }

    void regionsOfTheBlankFace()
    {
        const QImage blank = FacePictures::blankFace();
        int outside = 0;
        int rim = 0;
        int inside = 0;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const QRgb colour = blank.pixel(x, y);
                switch (FaceExport::regionAt(x, y)) {
                case Region::Outside:
                    ++outside;
                    QVERIFY2(isWhite(colour), qPrintable(u"(%1,%2)"_qs.arg(x).arg(y)));
                    break;
                case Region::Rim:
                    ++rim;
                    QVERIFY(!isWhite(colour));
                    QVERIFY(touchesOutside(x, y) || x == 0 || y == 0 || x == side - 1 ||
                            y == side - 1);
                    break;
                case Region::Inside:
                    ++inside;
                    // The rim closes the face: nothing inside borders on the outside, not
                    // even across a corner, so no pixel mixed with white stays opaque.
                    QVERIFY2(!touchesOutside(x, y), qPrintable(u"(%1,%2)"_qs.arg(x).arg(y)));
                    QVERIFY(x > 0 && y > 0 && x < side - 1 && y < side - 1);
                    break;
                }
            }
        }
        QVERIFY(outside > 0);
        QVERIFY(rim > 0);
        QVERIFY(inside > rim);
        // The corners are outside, the middle inside, the middles of the edges rim.
        QCOMPARE(FaceExport::regionAt(0, 0), Region::Outside);
        QCOMPARE(FaceExport::regionAt(18, 18), Region::Outside);
        QCOMPARE(FaceExport::regionAt(9, 9), Region::Inside);
        QCOMPARE(FaceExport::regionAt(9, 0), Region::Rim);
        QCOMPARE(FaceExport::regionAt(0, 9), Region::Rim);
        QCOMPARE(FaceExport::regionAt(9, 18), Region::Rim);
        QCOMPARE(FaceExport::regionAt(18, 9), Region::Rim);
    }

    // The light blends of the outline into the white are all rim, also where they touch the
    // outside only across a corner.
    void everyLightBlendIsRim()
    {
        const QImage blank = FacePictures::blankFace();
        int blends = 0;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const QRgb c = blank.pixel(x, y);
                if (!isWhite(c) && std::min({qRed(c), qGreen(c), qBlue(c)}) >= 0xb0) {
                    ++blends;
                    QVERIFY2(FaceExport::regionAt(x, y) == Region::Rim,
                             qPrintable(u"(%1,%2)"_qs.arg(x).arg(y)));
                }
            }
        }
        QVERIFY(blends >= 20);
    }

    void unmixFromWhite_data()
    {
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<QRgb>("expected");
        QTest::newRow("white") << qRgb(255, 255, 255) << qRgba(0, 0, 0, 0);
        QTest::newRow("black") << qRgb(0, 0, 0) << qRgba(0, 0, 0, 255);
        QTest::newRow("saturated stays") << qRgb(200, 0, 50) << qRgba(200, 0, 50, 255);
        QTest::newRow("grey") << qRgb(128, 128, 128) << qRgba(0, 0, 0, 127);
        // 34 of 255 opaque: (0xf6 - 0xdd) * 255 / 34 = 187.5, (0xef - 0xdd) * 255 / 34 = 135.
        QTest::newRow("light beige") << qRgb(0xf6, 0xef, 0xdd) << qRgba(188, 135, 0, 34);
        QTest::newRow("light blue") << qRgb(0xc6, 0xdd, 0xf2) << qRgba(0, 103, 197, 57);
    }
    void unmixFromWhite()
    {
        QFETCH(QRgb, colour);
        QFETCH(QRgb, expected);
        const QRgb result = FaceExport::unmixFromWhite(colour);
        QCOMPARE(qAlpha(result), qAlpha(expected));
        if (qAlpha(expected) > 0) {
            QCOMPARE(result, expected);
            QVERIFY(channelDistance(over(result, qRgb(255, 255, 255)), colour) <= 1);
        }
    }

    // Only the white around the face goes: a face that is white all over keeps the white
    // inside its rim (the whites of eyes), and loses it outside and on the rim.
    void transparencyOfWhite()
    {
        QImage white(side, side, QImage::Format_RGB32);
        white.fill(Qt::white);
        const QImage result = FaceExport::withTransparency(white);
        QVERIFY(result.hasAlphaChannel());
        QCOMPARE(qAlpha(result.pixel(0, 0)), 0);           // a corner
        QCOMPARE(qAlpha(result.pixel(9, 0)), 0);           // the rim at the top
        QCOMPARE(result.pixel(9, 9), qRgb(255, 255, 255)); // the middle
        QCOMPARE(result.pixel(5, 12), qRgb(255, 255, 255));
    }

    // Over white, the transparent face looks as the face did; inside the rim nothing changes.
    void transparency_data()
    {
        QTest::addColumn<int>("eyes");
        QTest::addColumn<int>("mouth");
        QTest::newRow("blank") << 0 << 0;
        QTest::newRow("tired eyes, winking mouth") << 10 << 5;
        QTest::newRow("cool, angrier") << 6 << 15;
    }
    void transparency()
    {
        QFETCH(int, eyes);
        QFETCH(int, mouth);
        const QImage face = FaceExport::composeFace(eyes, mouth);
        const QImage result = FaceExport::withTransparency(face);
        QCOMPARE(result.size(), face.size());
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const QString where = u"(%1,%2)"_qs.arg(x).arg(y);
                const QRgb before = face.pixel(x, y);
                const QRgb after = result.pixel(x, y);
                if (FaceExport::regionAt(x, y) == Region::Inside) {
                    QVERIFY2(after == (before | 0xff000000U), qPrintable(where));
                }
                QVERIFY2(channelDistance(over(after, qRgb(255, 255, 255)), before) <= 1,
                         qPrintable(where));
            }
        }
        QCOMPARE(qAlpha(result.pixel(0, 0)), 0);
    }

    // Over a dark background no pixel of the rim comes out lighter than the face's own
    // outline: the white it was smoothed into is gone.
    void noLightSeamOnDark()
    {
        const QImage result = FaceExport::withTransparency(FacePictures::blankFace());
        const QRgb dark = qRgb(0x30, 0x30, 0x30);
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                if (FaceExport::regionAt(x, y) != Region::Rim) {
                    continue;
                }
                const QRgb shown = over(result.pixel(x, y), dark);
                QVERIFY2(qGray(shown) < qGray(qRgb(0xe2, 0xbf, 0x62)),
                         qPrintable(u"(%1,%2)"_qs.arg(x).arg(y)));
            }
        }
    }

    void enlarged_data()
    {
        QTest::addColumn<int>("factor");
        QTest::addColumn<bool>("transparent");
        QTest::newRow("2") << 2 << false;
        QTest::newRow("7 transparent") << 7 << true;
    }
    void enlarged()
    {
        QFETCH(int, factor);
        QFETCH(bool, transparent);
        QImage face = FaceExport::composeFace(14, 11);
        if (transparent) {
            face = FaceExport::withTransparency(face);
        }
        const QImage big = FaceExport::enlarged(face, factor);
        QCOMPARE(big.size(), face.size() * factor);
        QCOMPARE(big.format(), face.format());
        for (int y = 0; y < big.height(); ++y) {
            for (int x = 0; x < big.width(); ++x) {
                if (big.pixel(x, y) != face.pixel(x / factor, y / factor)) {
                    QFAIL(qPrintable(u"(%1,%2) is not from (%3,%4)"_qs.arg(x)
                                         .arg(y)
                                         .arg(x / factor)
                                         .arg(y / factor)));
                }
            }
        }
    }

    void enlargedRejectsZero()
    {
        QVERIFY(FaceExport::enlarged(FacePictures::blankFace(), 0).isNull());
    }

    void fitted_data()
    {
        QTest::addColumn<int>("square");
        QTest::addColumn<int>("factor");
        QTest::addColumn<int>("offset");
        QTest::newRow("chat 128") << 128 << 6 << 7;
        QTest::newRow("Twitch 28") << 28 << 1 << 4;
        QTest::newRow("exact 19") << 19 << 1 << 0;
        QTest::newRow("1216") << 1216 << 64 << 0;
    }
    void fitted()
    {
        QFETCH(int, square);
        QFETCH(int, factor);
        QFETCH(int, offset);
        QCOMPARE(FaceExport::fitFactor(QSize(side, side), square), factor);

        const QImage face = FaceExport::withTransparency(FaceExport::composeFace(3, 4));
        const QImage result = FaceExport::fitted(face, square, FaceExport::backgroundFor(face));
        QCOMPARE(result.size(), QSize(square, square));
        const QRect faceRect(offset, offset, side * factor, side * factor);
        for (int y = 0; y < square; ++y) {
            for (int x = 0; x < square; ++x) {
                const QRgb pixel = result.pixel(x, y);
                const QRgb expected = faceRect.contains(x, y)
                                          ? face.pixel((x - offset) / factor, (y - offset) / factor)
                                          : 0U;
                if (pixel != expected) {
                    QFAIL(qPrintable(u"(%1,%2): %3 instead of %4"_qs.arg(x)
                                         .arg(y)
                                         .arg(pixel, 8, 16)
                                         .arg(expected, 8, 16)));
                }
            }
        }
    }

    void fittedTooSmall()
    {
        QCOMPARE(FaceExport::fitFactor(QSize(side, side), 18), 0);
        QVERIFY(FaceExport::fitted(FacePictures::blankFace(), 18, Qt::white).isNull());
    }

    void resolve_data()
    {
        QTest::addColumn<int>("part");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // -1: not a style
        const int eyes = static_cast<int>(StyleNames::Part::Eyes);
        const int mouth = static_cast<int>(StyleNames::Part::Mouth);
        QTest::newRow("blij, box picOogBLij") << eyes << u"blij"_qs << 2;
        QTest::newRow("moe, box PicOogMoe") << eyes << u"MOE"_qs << 10;
        QTest::newRow("twijvelend, the mouth's former name") << mouth << u"Twijvelend"_qs << 12;
        QTest::newRow("geen eyes") << eyes << u"geen"_qs << 0;
        QTest::newRow("leading zero") << mouth << u"07"_qs << 7;
        QTest::newRow("21 eyes") << eyes << u"21"_qs << -1;
        QTest::newRow("16 mouth") << mouth << u"16"_qs << -1;
        QTest::newRow("negative") << eyes << u"-1"_qs << -1;
        QTest::newRow("plus sign") << eyes << u"+3"_qs << -1;
        QTest::newRow("space before") << eyes << u" 3"_qs << -1;
        QTest::newRow("fraction") << eyes << u"2.0"_qs << -1;
        QTest::newRow("huge") << eyes << u"4294967297"_qs << -1;
        QTest::newRow("empty") << eyes << QString() << -1;
        QTest::newRow("mouth-only name for eyes") << eyes << u"bozer"_qs << -1;
        QTest::newRow("a space for the hyphen") << eyes << u"tong uit"_qs << -1;
        QTest::newRow("whole box name") << eyes << u"picOogMoe"_qs << -1;
        QTest::newRow("prefix of a name") << eyes << u"stand"_qs << -1;
    }
    void resolve()
    {
        QFETCH(int, part);
        QFETCH(QString, text);
        QFETCH(int, expected);
        const std::optional<int> result =
            StyleNames::resolve(static_cast<StyleNames::Part>(part), text);
        QCOMPARE(result, expected < 0 ? std::nullopt : std::optional<int>(expected));
    }
};

QTEST_GUILESS_MAIN(TestFaceExport)
#include "tst_faceexport.moc"
