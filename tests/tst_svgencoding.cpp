// The SVG drawing of a face, read back by a renderer that did not write it (rsvg-convert):
// at the face's own size and enlarged, every pixel must be the face's.

#include "faceexport.h"
#include "imageencoding.h"

#include <QProcess>
#include <QTest>

namespace {

const QString rsvg = QStringLiteral(SNOETJESMAL_RSVG_CONVERT);

// The SVG drawn by rsvg-convert at its own width and height, as ARGB32.
QImage rendered(const QByteArray& svg)
{
    QProcess process;
    process.start(rsvg, {u"--format=png"_qs});
    process.write(svg);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return {};
    }
    return QImage::fromData(process.readAllStandardOutput(), "PNG")
        .convertToFormat(QImage::Format_ARGB32);
}

// A pixel shown over a background, rounded as an 8-bit display does.
QRgb over(QRgb pixel, QRgb background)
{
    const int a = qAlpha(pixel);
    const auto mix = [a](int top, int bottom) {
        return (top * a + bottom * (255 - a) + 127) / 255;
    };
    return qRgb(mix(qRed(pixel), qRed(background)), mix(qGreen(pixel), qGreen(background)),
                mix(qBlue(pixel), qBlue(background)));
}

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 1 && std::abs(qGreen(a) - qGreen(b)) <= 1 &&
           std::abs(qBlue(a) - qBlue(b)) <= 1 && std::abs(qAlpha(a) - qAlpha(b)) <= 1;
}

} // namespace

class TestSvgEncoding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every eye style and every mouth style (eyes e with mouth e mod 16), drawn in both
    // orders, opaque and transparent, at 1x and 8x.
    void drawnByAnotherRenderer_data()
    {
        QTest::addColumn<int>("eyes");
        QTest::addColumn<int>("mouth");
        QTest::addColumn<bool>("transparent");
        QTest::addColumn<int>("scale");
        for (int eyes = 0; eyes <= 20; ++eyes) {
            for (const bool transparent : {false, true}) {
                for (const int scale : {1, 8}) {
                    QTest::addRow("eyes %d mouth %d%s x%d", eyes, eyes % 16,
                                  transparent ? " transparent" : "", scale)
                        << eyes << eyes % 16 << transparent << scale;
                }
            }
        }
    }
    void drawnByAnotherRenderer()
    {
        QFETCH(int, eyes);
        QFETCH(int, mouth);
        QFETCH(bool, transparent);
        QFETCH(int, scale);
        QImage face = FaceExport::composeFace(eyes, mouth,
                                              eyes % 2 == 0 ? FaceExport::DrawingOrder::EyesLast
                                                            : FaceExport::DrawingOrder::MouthLast);
        if (transparent) {
            face = FaceExport::withTransparency(face);
        }
        const QByteArray svg = encodeImage(face, ImageFormat::Svg, face.size() * scale);
        QVERIFY2(svg.size() < 4096, qPrintable(QString::number(svg.size())));

        const QImage drawn = rendered(svg);
        QCOMPARE(drawn.size(), face.size() * scale);
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x) {
                const QRgb expected = face.pixel(x / scale, y / scale);
                const QRgb got = drawn.pixel(x, y);
                // An 8-bit renderer keeps a partly transparent colour premultiplied, so it
                // comes back rounded; seen over black and over white it must still match.
                const bool same =
                    qAlpha(expected) == 255 ? got == expected
                    : qAlpha(expected) == 0
                        ? qAlpha(got) == 0
                        : near(over(got, qRgb(0, 0, 0)), over(expected, qRgb(0, 0, 0))) &&
                              near(over(got, qRgb(255, 255, 255)),
                                   over(expected, qRgb(255, 255, 255)));
                if (!same) {
                    QFAIL(qPrintable(u"(%1,%2): %3 instead of %4"_qs.arg(x)
                                         .arg(y)
                                         .arg(got, 8, 16)
                                         .arg(expected, 8, 16)));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestSvgEncoding)
#include "tst_svgencoding.moc"
