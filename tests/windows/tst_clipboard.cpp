// Ctrl+C in the main window leaves the face on the Windows clipboard in the forms other
// Windows programs paste: a device-independent bitmap on white, one with alpha, and PNG with
// its transparency. Read back through the Windows clipboard itself, not through Qt.
#include "clipboardformats.h"
#include "frmMain.h"
#include "recordedboxes.h"

#include <QImage>
#include <QTest>

#include <windows.h>

namespace {

// The bytes of one clipboard format, or nothing when the clipboard does not hold it.
QByteArray clipboardBytes(UINT format)
{
    QByteArray bytes;
    if (!OpenClipboard(nullptr)) {
        return bytes;
    }
    if (const HANDLE data = GetClipboardData(format)) {
        if (const void* locked = GlobalLock(data)) {
            bytes = QByteArray(static_cast<const char*>(locked), GlobalSize(data));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return bytes;
}

// A pixel of a bottom-up 32 or 24 bit device-independent bitmap, with its alpha where it has
// 32 bits.
QRgb dibPixel(const QByteArray& dib, int x, int y)
{
    BITMAPINFOHEADER header;
    memcpy(&header, dib.constData(), sizeof header);
    const int bytesPerPixel = header.biBitCount / 8;
    const int stride = (header.biWidth * bytesPerPixel + 3) & ~3;
    const int masks = header.biCompression == BI_BITFIELDS ? 12 : 0;
    const int row = header.biHeight > 0 ? header.biHeight - 1 - y : y;
    const auto* p = reinterpret_cast<const uchar*>(dib.constData()) + header.biSize + masks +
                    row * stride + x * bytesPerPixel;
    return qRgba(p[2], p[1], p[0], bytesPerPixel == 4 ? p[3] : 255);
}

} // namespace

class tst_clipboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { registerClipboardFormats(); }

    void copyLeavesBitmapsAndPng()
    {
        RecordedBoxes boxes;
        frmMain w(boxes);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);

        // The blank face, as the program carries it: on white, the middle of the disc opaque.
        const QImage blank(QStringLiteral(":/faces/BlankFace.bmp"), "BMP");
        QVERIFY(!blank.isNull());

        // With its transparency: PNG, and the bitmap with alpha.
        const UINT pngFormat = RegisterClipboardFormatW(L"PNG");
        QImage png;
        QTRY_VERIFY(!(png = QImage::fromData(clipboardBytes(pngFormat), "PNG")).isNull());
        QCOMPARE(png.size(), QSize(19, 19));
        QVERIFY(png.hasAlphaChannel());
        QCOMPARE(qAlpha(png.pixel(0, 0)), 0);
        QCOMPARE(png.pixel(9, 9), blank.pixel(9, 9) | 0xff000000);

        // The bitmap with alpha keeps the transparency; the plain one, which programs that
        // ignore alpha paste, is the face on white: the blank face as the program carries it.
        const QByteArray v5 = clipboardBytes(CF_DIBV5);
        QVERIFY(v5.size() > int(sizeof(BITMAPV5HEADER)));
        const QByteArray dib = clipboardBytes(CF_DIB);
        QVERIFY(dib.size() > int(sizeof(BITMAPINFOHEADER)));
        BITMAPINFOHEADER header;
        memcpy(&header, dib.constData(), sizeof header);
        QCOMPARE(header.biWidth, 19);
        QCOMPARE(qAbs(header.biHeight), 19);
        for (int y = 0; y < 19; ++y) {
            for (int x = 0; x < 19; ++x) {
                const QRgb pixel = png.pixel(x, y);
                QCOMPARE(qAlpha(dibPixel(v5, x, y)), qAlpha(pixel));
                if (qAlpha(pixel) != 0) {
                    QCOMPARE(dibPixel(v5, x, y), pixel);
                }
                QCOMPARE(dibPixel(dib, x, y), blank.pixel(x, y) | 0xff000000);
            }
        }
    }
};

QTEST_MAIN(tst_clipboard)
#include "tst_clipboard.moc"
