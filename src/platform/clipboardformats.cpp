#include "clipboardformats.h"

#include <QtGlobal>

#ifdef Q_OS_WIN

#include <QGuiApplication>
#include <QMimeData>
#include <QVariant>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/private/qwindowsmime_p.h>
#include <qpa/qplatformintegration.h>

#include <cstring>

namespace {

const QString pngType = QStringLiteral("image/png");

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
        const QByteArray png = data->data(pngType);
        const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, SIZE_T(png.size()));
        if (memory == nullptr) {
            return false;
        }
        if (void* bytes = GlobalLock(memory)) {
            std::memcpy(bytes, png.constData(), size_t(png.size()));
            GlobalUnlock(memory);
        } else {
            GlobalFree(memory);
            return false;
        }
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return true;
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
    if (auto* windows =
            dynamic_cast<QWindowsApplication*>(QGuiApplicationPrivate::platformIntegration())) {
        windows->registerMime(&png);
    }
}

#else

void registerClipboardFormats() {}

#endif
