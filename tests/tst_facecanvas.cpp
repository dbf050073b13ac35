// Composition of the preview: each band is blanked and then drawn with its style, row 11
// belongs to whichever band was drawn last, and the angrier mouth is stretched to 8 rows.
// The expected faces are built here from the pictures, read straight from the program's
// resources by Qt, with the pixel rows of the style tables written out by hand, independently
// of the program's picture table and twips arithmetic.

#include "drawpicture.h"
#include "facecanvas.h"
#include "twips.h"

#include <QTest>

#include <map>
#include <vector>

namespace {

// Top pixel row of every eye style; the others start at the top of the face.
int eyeTopRow(int value)
{
    static const std::map<int, int> rows{{1, 5}, {2, 1}};
    const auto it = rows.find(value);
    return it == rows.end() ? 0 : it->second;
}

// Mouth styles of 8 rows start at row 11, those of 7 rows at row 12; style 15 is a 7-row
// picture stretched over rows 11-18.
const char* const eyeBoxes[] = {nullptr,
                                "picOogStandaard",
                                "picOogBLij",
                                "picOogKnipoog",
                                "picOogVerrast",
                                "picOogTong",
                                "picOogCool",
                                "picOogVerward",
                                "picOogBoos",
                                "picOogVerlegen",
                                "PicOogMoe",
                                "picOogTwijfelend",
                                "picOogVerdrietig",
                                "picOogHuilen",
                                "picOogVerbaasd",
                                "picOogZiek",
                                "picOogNerd",
                                "picOogSarcastisch",
                                "picOogMonddicht",
                                "picOogRollendeogen",
                                "picOogSlaperig"};
const char* const mouthBoxes[] = {nullptr,
                                  "picMondStandaard",
                                  "picMondRollendeogen",
                                  "picMondSlaperig",
                                  "picMondBlij",
                                  "picMondKnipoog",
                                  "picMondTong",
                                  "picMondCool",
                                  "picMondBoos",
                                  "picMondVerward",
                                  "picMondVerdrietig",
                                  "picMondVerrast",
                                  "picMondTwijvelend",
                                  "picMondNerd",
                                  "picMondRits",
                                  "picMondBozer"};

// A picture as the program carries it, decoded here by Qt without the program's help.
QImage resourcePicture(const char* box)
{
    return QImage(QStringLiteral(":/faces/%1.bmp").arg(QLatin1String(box)))
        .convertToFormat(QImage::Format_RGB32);
}

void copyRows(QImage& face, const QImage& picture, int top, const std::vector<int>& sourceRows)
{
    for (int i = 0; i < static_cast<int>(sourceRows.size()); ++i) {
        for (int x = 0; x < 19; ++x) {
            face.setPixel(x, top + i, picture.pixel(x, sourceRows[static_cast<size_t>(i)]));
        }
    }
}

std::vector<int> allRows(const QImage& picture)
{
    std::vector<int> rows;
    for (int y = 0; y < picture.height(); ++y) {
        rows.push_back(y);
    }
    return rows;
}

void expectEyes(QImage& face, int value)
{
    const QImage blank = resourcePicture("picOogBlanco");
    copyRows(face, blank, 0, allRows(blank));
    if (value < 1 || value > 20) {
        return;
    }
    const QImage picture = resourcePicture(eyeBoxes[value]);
    copyRows(face, picture, eyeTopRow(value), allRows(picture));
}

void expectMouth(QImage& face, int value)
{
    const QImage blank = resourcePicture("picMondBlanco");
    copyRows(face, blank, 11, allRows(blank));
    if (value < 1 || value > 15) {
        return;
    }
    const QImage picture = resourcePicture(mouthBoxes[value]);
    if (value == 15) {
        // The angrier mouth: 7 rows stretched over 8, its first row twice.
        copyRows(face, picture, 11, {0, 0, 1, 2, 3, 4, 5, 6});
    } else {
        copyRows(face, picture, picture.height() == 8 ? 11 : 12, allRows(picture));
    }
}

QImage blankFace()
{
    return resourcePicture("BlankFace");
}

QString firstDifference(const QImage& actual, const QImage& expected)
{
    for (int y = 0; y < 19; ++y) {
        for (int x = 0; x < 19; ++x) {
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                return QStringLiteral("first difference at x %1, row %2").arg(x).arg(y);
            }
        }
    }
    return {};
}

} // namespace

class TestFaceCanvas : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void twipsToPixels_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("15") << 15 << 1;
        QTest::newRow("20: happy eyes") << 20 << 1;
        QTest::newRow("75: standard eyes") << 75 << 5;
        QTest::newRow("170: mouth band") << 170 << 11;
        QTest::newRow("180: 7-row mouths") << 180 << 12;
        QTest::newRow("285: preview edge") << 285 << 19;
        QTest::newRow("-1") << -1 << -1;
        QTest::newRow("-16") << -16 << -2;
    }
    void twipsToPixels()
    {
        QFETCH(int, twips);
        QFETCH(int, pixels);
        QCOMPARE(Twips::toPixels(twips), pixels);
    }

    // Every eye style under one mouth and every mouth style under one pair of eyes, in both
    // orders (row 11 belongs to the band drawn last), values without a style, and redraws
    // over another style of the same band, which must leave nothing of it.
    void composition_data()
    {
        QTest::addColumn<int>("eyes");
        QTest::addColumn<int>("mouth");
        QTest::addColumn<bool>("eyesFirst");
        QTest::addColumn<int>("eyesBefore"); // drawn first, then replaced; 0: nothing
        QTest::addColumn<int>("mouthBefore");
        const auto add = [](int e, int m, int eyesBefore, int mouthBefore) {
            QTest::addRow("eyes %d then mouth %d, over %d and %d", e, m, eyesBefore, mouthBefore)
                << e << m << true << eyesBefore << mouthBefore;
            QTest::addRow("mouth %d then eyes %d, over %d and %d", m, e, eyesBefore, mouthBefore)
                << e << m << false << eyesBefore << mouthBefore;
        };
        for (int e : {-32768, -1, 0,  1,  2,  3,  4,  5,  6,  7,  8,  9,    10,
                      11,     12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 32767}) {
            add(e, 15, 0, 0); // the one mouth whose row 11 is not the blank row
        }
        for (int m : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 32767}) {
            add(10, m, 0, 0);
        }
        // Short pictures over tall ones, and blank over drawn.
        add(1, 1, 10, 15);
        add(2, 4, 20, 5);
        add(0, 0, 3, 15);
    }
    void composition()
    {
        QFETCH(int, eyes);
        QFETCH(int, mouth);
        QFETCH(bool, eyesFirst);
        QFETCH(int, eyesBefore);
        QFETCH(int, mouthBefore);
        FaceCanvas canvas;
        QCOMPARE(canvas.image(), blankFace());
        if (eyesBefore != 0) {
            canvas.recomposeEyes(eyesBefore);
        }
        if (mouthBefore != 0) {
            canvas.recomposeMouth(mouthBefore);
        }
        QImage expected = blankFace();
        if (eyesFirst) {
            canvas.recomposeEyes(eyes);
            canvas.recomposeMouth(mouth);
            expectEyes(expected, eyes);
            expectMouth(expected, mouth);
        } else {
            canvas.recomposeMouth(mouth);
            canvas.recomposeEyes(eyes);
            expectMouth(expected, mouth);
            expectEyes(expected, eyes);
        }
        QVERIFY2(canvas.image() == expected, qPrintable(firstDifference(canvas.image(), expected)));
    }

    void drawPictureClipsAndScales()
    {
        QImage target(4, 4, QImage::Format_RGB32);
        target.fill(Qt::black);
        QImage picture(2, 2, QImage::Format_RGB32);
        picture.setPixel(0, 0, 0xffff0000);
        picture.setPixel(1, 0, 0xff00ff00);
        picture.setPixel(0, 1, 0xff0000ff);
        picture.setPixel(1, 1, 0xffffffff);
        drawPicture(target, QRect(0, 0, 4, 4), picture); // doubled in both directions
        QCOMPARE(target.pixel(1, 1), 0xffff0000U);
        QCOMPARE(target.pixel(2, 1), 0xff00ff00U);
        QCOMPARE(target.pixel(1, 2), 0xff0000ffU);
        QCOMPARE(target.pixel(3, 3), 0xffffffffU);
        target.fill(Qt::black);
        drawPicture(target, QRect(3, 3, 2, 2), picture); // mostly outside the target
        QCOMPARE(target.pixel(3, 3), 0xffff0000U);
        QCOMPARE(target.pixel(2, 2), 0xff000000U);
        drawPicture(target, QRect(10, 10, 2, 2), picture); // wholly outside: nothing happens
        drawPicture(target, QRect(-1, -1, 2, 2), picture);
        QCOMPARE(target.pixel(0, 0), 0xffffffffU);
    }
};

QTEST_GUILESS_MAIN(TestFaceCanvas)
#include "tst_facecanvas.moc"
