// Ctrl+C in the main window leaves the face on the Windows clipboard in the forms other
// Windows programs paste: a device-independent bitmap, and PNG with its transparency. Read
// back through the Windows clipboard itself, not through Qt.
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

// A pixel of a bottom-up 32 or 24 bit device-independent bitmap.
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
    return qRgb(p[2], p[1], p[0]);
}

} // namespace

class tst_clipboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { registerClipboardFormats(); }

    void copyLeavesBitmapAndPng()
    {
        RecordedBoxes boxes;
        frmMain w(boxes);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);

        // The blank face, as the program carries it; the middle of the disc is opaque.
        const QImage blank(QStringLiteral(":/faces/BlankFace.bmp"), "BMP");
        QVERIFY(!blank.isNull());

        QByteArray dib;
        QTRY_VERIFY((dib = clipboardBytes(CF_DIB)).size() > int(sizeof(BITMAPINFOHEADER)));
        BITMAPINFOHEADER header;
        memcpy(&header, dib.constData(), sizeof header);
        QCOMPARE(header.biWidth, 19);
        QCOMPARE(qAbs(header.biHeight), 19);
        for (const QPoint p : {QPoint(9, 9), QPoint(6, 5), QPoint(12, 14)}) {
            QCOMPARE(dibPixel(dib, p.x(), p.y()), blank.pixel(p) | 0xff000000);
        }

        const UINT pngFormat = RegisterClipboardFormatW(L"PNG");
        const QImage png = QImage::fromData(clipboardBytes(pngFormat), "PNG");
        QCOMPARE(png.size(), QSize(19, 19));
        QVERIFY(png.hasAlphaChannel());
        QCOMPARE(qAlpha(png.pixel(0, 0)), 0);
        QCOMPARE(png.pixel(9, 9), blank.pixel(9, 9) | 0xff000000);
    }
};

QTEST_MAIN(tst_clipboard)
#include "tst_clipboard.moc"
