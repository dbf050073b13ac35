#include "drawpicture.h"

#include <cstring>

void drawPicture(QImage& target, const QRect& rect, const QImage& picture)
{
    Q_ASSERT(target.format() == QImage::Format_RGB32);
    Q_ASSERT(picture.format() == QImage::Format_RGB32);
    if (rect.isEmpty() || picture.isNull()) {
        return;
    }
    const QRect visible = rect & target.rect();
    // Rows of the same width are copied whole, whichever source row they come from.
    const bool sameWidth = rect.width() == picture.width();
    for (int y = visible.top(); y <= visible.bottom(); ++y) {
        // The source row under the top edge of this target row.
        const int sy = static_cast<int>(static_cast<long long>(y - rect.top()) * picture.height() /
                                        rect.height());
        const auto* src = reinterpret_cast<const QRgb*>(picture.constScanLine(sy));
        auto* dst = reinterpret_cast<QRgb*>(target.scanLine(y));
        if (sameWidth) {
            std::memcpy(dst + visible.left(), src + (visible.left() - rect.left()),
                        static_cast<std::size_t>(visible.width()) * sizeof(QRgb));
            continue;
        }
        for (int x = visible.left(); x <= visible.right(); ++x) {
            const int sx = static_cast<int>(static_cast<long long>(x - rect.left()) *
                                            picture.width() / rect.width());
            dst[x] = src[sx];
        }
    }
}
