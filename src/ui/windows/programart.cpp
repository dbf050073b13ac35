#include "programart.h"

#include <QImageReader>
#include <QPixmap>

namespace {

// A PNG resource, read as PNG without asking the image plugins what the file might be.
QPixmap pngResource(const QString& path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace

QIcon programIcon()
{
    QIcon icon;
    for (const QString& path :
         {QStringLiteral(":/art/snoetjesmal-32.png"), QStringLiteral(":/art/snoetjesmal-48.png")}) {
        const QPixmap picture = pngResource(path);
        if (!picture.isNull()) {
            icon.addPixmap(picture);
        }
    }
    return icon;
}

QCursor handCursor()
{
    const QPixmap hand = pngResource(QStringLiteral(":/art/hand.png"));
    if (hand.isNull()) {
        return QCursor(Qt::PointingHandCursor);
    }
    return QCursor(hand, handHotSpot.x(), handHotSpot.y());
}
