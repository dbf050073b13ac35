// The clipboard formats on Windows, taught to Qt through its Windows platform.

#include "clipboardformats.h"

#include "imageencoding.h"

#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QVariant>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/private/qwindowsmime_p.h>
#include <qpa/qplatformintegration.h>

#include <cstring>

namespace {

const QString pngType = QStringLiteral("image/png");

// Hands bytes to the clipboard in global memory.
bool putInGlobalMemory(const QByteArray& bytes, STGMEDIUM* medium)
{
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, SIZE_T(bytes.size()));
    if (memory == nullptr) {
        return false;
    }
    void* locked = GlobalLock(memory);
    if (locked == nullptr) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(locked, bytes.constData(), size_t(bytes.size()));
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    return true;
}

// The image as a device-independent bitmap without alpha, transparent pixels shown on white:
// a BMP file without its 14-byte file header.
QByteArray opaqueDib(const QImage& image)
{
    QImage onWhite(image.size(), QImage::Format_RGB32);
    onWhite.fill(Qt::white);
    {
        QPainter painter(&onWhite);
        painter.drawImage(0, 0, image);
    }
    constexpr qsizetype fileHeaderSize = 14; // BITMAPFILEHEADER
    const QByteArray bmp = encodeImage(onWhite, ImageFormat::Bmp);
    return bmp.size() > fileHeaderSize ? bmp.mid(fileHeaderSize) : QByteArray();
}

// The image as CF_DIB, on white. Programs that paste a plain DIB (Paint, Word, older chat
// programs) ignore its alpha, and Qt's own DIB keeps the colour of a transparent pixel, which
// is black: the face would be pasted on a black square. Qt's converter still lists CF_DIB
// and offers CF_DIBV5 with the alpha channel; this one is registered after it, so it is asked
// first for the data of CF_DIB.
class OpaqueDibFormat final : public QNativeInterface::Private::QWindowsMime
{
public:
    bool canConvertFromMime(const FORMATETC& format, const QMimeData* data) const override
    {
        return format.cfFormat == CF_DIB && (format.tymed & TYMED_HGLOBAL) != 0 && data->hasImage();
    }

    bool convertFromMime(const FORMATETC& format, const QMimeData* data,
                         STGMEDIUM* medium) const override
    {
        if (!canConvertFromMime(format, data)) {
            return false;
        }
        const QByteArray dib = opaqueDib(qvariant_cast<QImage>(data->imageData()));
        return !dib.isEmpty() && putInGlobalMemory(dib, medium);
    }

    QList<FORMATETC> formatsForMime(const QString&, const QMimeData*) const override { return {}; }

    bool canConvertToMime(const QString&, IDataObject*) const override { return false; }

    QVariant convertToMime(const QString&, IDataObject*, QMetaType) const override { return {}; }

    QString mimeForFormat(const FORMATETC&) const override { return {}; }
};

// "image/png" as the Windows clipboard format "PNG", in global memory.
class PngFormat final : public QNativeInterface::Private::QWindowsMime
{
public:
    bool canConvertFromMime(const FORMATETC& format, const QMimeData* data) const override
    {
        return format.cfFormat == m_format && (format.tymed & TYMED_HGLOBAL) != 0 &&
               data->hasFormat(pngType);
    }

    bool convertFromMime(const FORMATETC& format, const QMimeData* data,
                         STGMEDIUM* medium) const override
    {
        if (!canConvertFromMime(format, data)) {
            return false;
        }
        return putInGlobalMemory(data->data(pngType), medium);
    }

    QList<FORMATETC> formatsForMime(const QString& mimeType, const QMimeData*) const override
    {
        if (mimeType != pngType) {
            return {};
        }
        return {formatEtc()};
    }

    bool canConvertToMime(const QString& mimeType, IDataObject* source) const override
    {
        FORMATETC format = formatEtc();
        return mimeType == pngType && source->QueryGetData(&format) == S_OK;
    }

    QVariant convertToMime(const QString& mimeType, IDataObject* source, QMetaType) const override
    {
        FORMATETC format = formatEtc();
        STGMEDIUM medium{};
        if (mimeType != pngType || source->GetData(&format, &medium) != S_OK) {
            return {};
        }
        QByteArray png;
        if (const void* bytes = GlobalLock(medium.hGlobal)) {
            png =
                QByteArray(static_cast<const char*>(bytes), qsizetype(GlobalSize(medium.hGlobal)));
            GlobalUnlock(medium.hGlobal);
        }
        ReleaseStgMedium(&medium);
        return png;
    }

    QString mimeForFormat(const FORMATETC& format) const override
    {
        return format.cfFormat == m_format ? pngType : QString();
    }

private:
    FORMATETC formatEtc() const
    {
        return {CLIPFORMAT(m_format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    }

    UINT m_format = RegisterClipboardFormatW(L"PNG");
};

} // namespace

void registerClipboardFormats()
{
    using QNativeInterface::Private::QWindowsApplication;
    // Lives as long as the program: the platform keeps a pointer to it.
    static PngFormat png;
    static OpaqueDibFormat dib;
    if (auto* windows =
            dynamic_cast<QWindowsApplication*>(QGuiApplicationPrivate::platformIntegration())) {
        windows->registerMime(&png);
        windows->registerMime(&dib);
    }
}
