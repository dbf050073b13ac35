#include "artsource.h"

#include <QDir>

namespace ArtSource {

QString sourcePath(const QString& artDir, const FacePictures::Info& info)
{
    const QDir dir(artDir);
    switch (info.kind) {
    case FacePictures::Kind::Blank:
        return dir.filePath(QStringLiteral("blank.xpm"));
    case FacePictures::Kind::Eyes:
        return dir.filePath(QStringLiteral("eyes/%1.xpm").arg(FacePictures::toQString(info.box)));
    case FacePictures::Kind::Mouth:
        return dir.filePath(QStringLiteral("mouths/%1.xpm").arg(FacePictures::toQString(info.box)));
    }
    return {};
}

QImage composeStrip(const QImage& blankFace, const QImage& overlay, int faceRow)
{
    QImage strip = blankFace.copy(0, faceRow, blankFace.width(), overlay.height())
                       .convertToFormat(QImage::Format_RGB32);
    const QImage top = overlay.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < strip.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(top.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < strip.width(); ++x) {
            if (qAlpha(src[x]) != 0) {
                dst[x] = src[x] | 0xff000000U;
            }
        }
    }
    return strip;
}

QImage picture(const QString& artDir, const FacePictures::Info& info, QString* error)
{
    const auto fail = [error](const QString& reason) {
        if (error != nullptr) {
            *error = reason;
        }
        return QImage();
    };
    const FacePictures::Info& blankInfo = FacePictures::all().front();
    const QString blankPath = sourcePath(artDir, blankInfo);
    const QImage blank(blankPath);
    if (blank.size() != QSize(FacePictures::faceSize, FacePictures::faceSize)) {
        return fail(QStringLiteral("%1: not a 19 x 19 picture").arg(blankPath));
    }
    if (info.kind == FacePictures::Kind::Blank) {
        return blank.convertToFormat(QImage::Format_RGB32);
    }
    if (info.box == "picOogBlanco" || info.box == "picMondBlanco") {
        return blank.copy(0, info.faceRow, FacePictures::faceSize, info.height)
            .convertToFormat(QImage::Format_RGB32);
    }
    const QString path = sourcePath(artDir, info);
    const QImage overlay(path);
    if (overlay.size() != QSize(FacePictures::faceSize, info.height)) {
        return fail(QStringLiteral("%1: not a 19 x %2 picture").arg(path).arg(info.height));
    }
    return composeStrip(blank, overlay, info.faceRow);
}

} // namespace ArtSource
