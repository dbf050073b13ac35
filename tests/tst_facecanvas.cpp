// Composition of the preview: each band is blanked and then drawn with its style, row 11
// belongs to whichever band was drawn last, and the angrier mouth is stretched to 8 rows.
// The expected faces are built here from the pictures with the pixel rows of the style
// tables, independently of the program's twips arithmetic.

#include "catalogue.h"
#include "drawpicture.h"
#include "facecanvas.h"
#include "facepictures.h"

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
    const QImage& blank = FacePictures::picture("picOogBlanco");
    copyRows(face, blank, 0, allRows(blank));
    if (value < 1 || value > 20) {
        return;
    }
    const QImage& picture = FacePictures::picture(eyeBoxes[value]);
    copyRows(face, picture, eyeTopRow(value), allRows(picture));
}

void expectMouth(QImage& face, int value)
{
    const QImage& blank = FacePictures::picture("picMondBlanco");
    copyRows(face, blank, 11, allRows(blank));
    if (value < 1 || value > 15) {
        return;
    }
    const QImage& picture = FacePictures::picture(mouthBoxes[value]);
    if (value == 15) {
        copyRows(face, picture, 11, {0, 0, 1, 2, 3, 4, 5, 6});
    } else {
        copyRows(face, picture, picture.height() == 8 ? 11 : 12, allRows(picture));
    }
}

QImage blankFace()
{
    return FacePictures::blankFace().convertToFormat(QImage::Format_RGB32);
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
    void catalogues()
    {
        QCOMPARE(Catalogue::eyes().size(), 20U);
        QCOMPARE(Catalogue::mouths().size(), 15U);
        for (int v = 1; v <= 20; ++v) {
            QCOMPARE(Catalogue::findEyes(v)->value, v);
            QCOMPARE(QString::fromLatin1(Catalogue::findEyes(v)->box.data(),
                                         qsizetype(Catalogue::findEyes(v)->box.size())),
                     QString::fromLatin1(eyeBoxes[v]));
        }
        for (int v = 1; v <= 15; ++v) {
            QCOMPARE(Catalogue::findMouth(v)->value, v);
            QCOMPARE(QString::fromLatin1(Catalogue::findMouth(v)->box.data(),
                                         qsizetype(Catalogue::findMouth(v)->box.size())),
                     QString::fromLatin1(mouthBoxes[v]));
        }
        for (int v : {0, -1, 21, 32767, -32768}) {
            QVERIFY(Catalogue::findEyes(v) == nullptr);
        }
        for (int v : {0, -1, 16, 32767}) {
            QVERIFY(Catalogue::findMouth(v) == nullptr);
        }
    }

    void twipsToPixels_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("14") << 14 << 0;
        QTest::newRow("15") << 15 << 1;
        QTest::newRow("20: happy eyes") << 20 << 1;
        QTest::newRow("75: standard eyes") << 75 << 5;
        QTest::newRow("170: mouth band") << 170 << 11;
        QTest::newRow("180: 7-row mouths") << 180 << 12;
        QTest::newRow("285: preview edge") << 285 << 19;
        QTest::newRow("290: mouth band bottom") << 290 << 19;
        QTest::newRow("-1") << -1 << -1;
        QTest::newRow("-15") << -15 << -1;
        QTest::newRow("-16") << -16 << -2;
    }
    void twipsToPixels()
    {
        QFETCH(int, twips);
        QFETCH(int, pixels);
        QCOMPARE(Twips::toPixels(twips), pixels);
    }

    void rectangles_data()
    {
        QTest::addColumn<bool>("eyes");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("firstRow");
        QTest::addColumn<int>("lastRow");
        // The pixel rows each style covers.
        const int eyeRows[][3] = {{1, 5, 10}, {2, 1, 6},   {3, 0, 9},  {4, 0, 10},  {5, 0, 9},
                                  {6, 0, 9},  {7, 0, 9},   {8, 0, 9},  {9, 0, 8},   {10, 0, 11},
                                  {11, 0, 9}, {12, 0, 9},  {13, 0, 5}, {14, 0, 9},  {15, 0, 9},
                                  {16, 0, 8}, {17, 0, 10}, {18, 0, 9}, {19, 0, 10}, {20, 0, 11}};
        for (const auto& [value, first, last] : eyeRows) {
            QTest::addRow("eyes %d", value) << true << value << first << last;
        }
        for (int value = 1; value <= 15; ++value) {
            const bool eightRows = value == 5 || value >= 8;
            QTest::addRow("mouth %d", value) << false << value << (eightRows ? 11 : 12) << 18;
        }
    }
    void rectangles()
    {
        QFETCH(bool, eyes);
        QFETCH(int, value);
        QFETCH(int, firstRow);
        QFETCH(int, lastRow);
        const auto* entry = eyes ? Catalogue::findEyes(value) : Catalogue::findMouth(value);
        QVERIFY(entry != nullptr);
        const QRect r = Twips::toPixels(entry->rect);
        QCOMPARE(r, QRect(0, firstRow, 19, lastRow - firstRow + 1));
    }

    void startsBlank()
    {
        const FaceCanvas canvas;
        QCOMPARE(canvas.image(), blankFace());
    }

    // Every eye style with every mouth style, in both orders, and values without a style.
    void composition_data()
    {
        QTest::addColumn<int>("eyes");
        QTest::addColumn<int>("mouth");
        QTest::addColumn<bool>("eyesFirst");
        const QList<int> eyeValues{-32768, -1, 0,  1,  2,  3,  4,  5,  6,  7,  8,  9,    10,
                                   11,     12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 32767};
        const QList<int> mouthValues{-1, 0,  1,  2,  3,  4,  5,  6,  7,    8,
                                     9,  10, 11, 12, 13, 14, 15, 16, 32767};
        for (int e : eyeValues) {
            for (int m : mouthValues) {
                QTest::addRow("eyes %d then mouth %d", e, m) << e << m << true;
                QTest::addRow("mouth %d then eyes %d", m, e) << e << m << false;
            }
        }
    }
    void composition()
    {
        QFETCH(int, eyes);
        QFETCH(int, mouth);
        QFETCH(bool, eyesFirst);
        FaceCanvas canvas;
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

    void bandsStayApart()
    {
        FaceCanvas canvas;
        canvas.recomposeMouth(4);
        const QImage before = canvas.image();
        for (int e = 0; e <= 20; ++e) {
            canvas.recomposeEyes(e);
            QCOMPARE(canvas.image().copy(0, 12, 19, 7), before.copy(0, 12, 19, 7));
        }
        const QImage eyes = canvas.image();
        for (int m = 0; m <= 15; ++m) {
            canvas.recomposeMouth(m);
            QCOMPARE(canvas.image().copy(0, 0, 19, 11), eyes.copy(0, 0, 19, 11));
        }
    }

    void rowElevenFollowsTheLastBand()
    {
        const QImage& winkMouth = FacePictures::picture("picMondKnipoog");
        const QImage& eyeBlank = FacePictures::picture("picOogBlanco");
        FaceCanvas canvas;
        canvas.recomposeMouth(5);
        canvas.recomposeEyes(3);
        QCOMPARE(canvas.image().copy(0, 11, 19, 1), eyeBlank.copy(0, 11, 19, 1));
        canvas.recomposeMouth(5);
        QCOMPARE(canvas.image().copy(0, 11, 19, 1), winkMouth.copy(0, 0, 19, 1));
        // Tired and sleepy eyes reach row 11 themselves.
        canvas.recomposeEyes(10);
        QCOMPARE(canvas.image().copy(0, 11, 19, 1),
                 FacePictures::picture("PicOogMoe").copy(0, 11, 19, 1));
    }

    void angrierMouthIsStretched()
    {
        FaceCanvas canvas;
        canvas.recomposeMouth(15);
        const QImage& picture = FacePictures::picture("picMondBozer");
        const QImage face = canvas.image();
        // Every target row is one of the picture's rows, in order, each used at least once.
        int source = 0;
        for (int y = 11; y <= 18; ++y) {
            while (source < 7 && face.copy(0, y, 19, 1) != picture.copy(0, source, 19, 1)) {
                ++source;
            }
            QVERIFY2(source < 7, qPrintable(QStringLiteral("row %1 is not a picture row").arg(y)));
        }
        QCOMPARE(face.copy(0, 11, 19, 1), picture.copy(0, 0, 19, 1));
        QCOMPARE(face.copy(0, 18, 19, 1), picture.copy(0, 6, 19, 1));
    }

    void redrawingTheSameStyleKeepsTheBand_data()
    {
        QTest::addColumn<int>("eyes");
        QTest::addColumn<int>("mouth");
        QTest::newRow("standard") << 1 << 1;
        QTest::newRow("tired, wink") << 10 << 5;
        QTest::newRow("sleepy, angrier") << 20 << 15;
    }
    void redrawingTheSameStyleKeepsTheBand()
    {
        QFETCH(int, eyes);
        QFETCH(int, mouth);
        FaceCanvas canvas;
        canvas.recomposeEyes(eyes);
        canvas.recomposeMouth(mouth);
        const QImage once = canvas.image();
        canvas.recomposeMouth(mouth);
        QCOMPARE(canvas.image(), once);
        canvas.recomposeEyes(eyes);
        canvas.recomposeEyes(eyes);
        // Only row 11 may change: it now belongs to the eyes.
        QCOMPARE(canvas.image().copy(0, 0, 19, 11), once.copy(0, 0, 19, 11));
        QCOMPARE(canvas.image().copy(0, 12, 19, 7), once.copy(0, 12, 19, 7));
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
