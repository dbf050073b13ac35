#include "faceexport.h"

#include "facecanvas.h"
#include "facepictures.h"

#include <algorithm>
#include <array>
#include <vector>

namespace FaceExport {

namespace {

constexpr int faceSide = FacePictures::faceSize;
constexpr QRgb white = 0xffffffU;

using RegionMap = std::array<Region, static_cast<std::size_t>(faceSide* faceSide)>;

constexpr std::size_t indexOf(int x, int y)
{
    return static_cast<std::size_t>(y * faceSide + x);
}

bool isWhite(QRgb colour)
{
    return (colour & 0xffffffU) == white;
}

// The regions of the blank face. The outside is the white that can be reached from the edge
// of the picture through white, stepping to the four direct neighbours (so white cannot
// leak through a diagonal gap in the disc's outline). The rim is every other pixel that
// touches the outside, diagonals included, or lies on the edge of the picture, beyond which
// the face was drawn on white as well.
RegionMap regionsOf(const QImage& blank)
{
    RegionMap map;
    map.fill(Region::Inside);

    std::vector<QPoint> pending;
    for (int i = 0; i < faceSide; ++i) {
        for (const QPoint p :
             {QPoint(i, 0), QPoint(i, faceSide - 1), QPoint(0, i), QPoint(faceSide - 1, i)}) {
            pending.push_back(p);
        }
    }
    while (!pending.empty()) {
        const QPoint p = pending.back();
        pending.pop_back();
        if (p.x() < 0 || p.y() < 0 || p.x() >= faceSide || p.y() >= faceSide) {
            continue;
        }
        Region& region = map[indexOf(p.x(), p.y())];
        if (region == Region::Outside || !isWhite(blank.pixel(p))) {
            continue;
        }
        region = Region::Outside;
        pending.insert(pending.end(),
                       {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }

    const auto outsideAt = [&map](int x, int y) {
        return x < 0 || y < 0 || x >= faceSide || y >= faceSide ||
               map[indexOf(x, y)] == Region::Outside;
    };
    for (int y = 0; y < faceSide; ++y) {
        for (int x = 0; x < faceSide; ++x) {
            if (map[indexOf(x, y)] == Region::Outside) {
                continue;
            }
            bool touches = false;
            for (int dy = -1; dy <= 1 && !touches; ++dy) {
                for (int dx = -1; dx <= 1 && !touches; ++dx) {
                    touches = (dx != 0 || dy != 0) && outsideAt(x + dx, y + dy);
                }
            }
            if (touches) {
                map[indexOf(x, y)] = Region::Rim;
            }
        }
    }
    return map;
}

const RegionMap& regions()
{
    static const RegionMap map = regionsOf(FacePictures::blankFace());
    return map;
}

} // namespace

QImage composeFace(int eyes, int mouth, DrawingOrder order)
{
    // Each band is blanked whole before its style is drawn, so what the canvas shows depends
    // only on which band came last, not on what was drawn before.
    FaceCanvas canvas;
    if (order == DrawingOrder::EyesLast) {
        canvas.recomposeMouth(mouth);
        canvas.recomposeEyes(eyes);
    } else {
        canvas.recomposeEyes(eyes);
        canvas.recomposeMouth(mouth);
    }
    return canvas.image();
}

Region regionAt(int x, int y)
{
    if (x < 0 || y < 0 || x >= faceSide || y >= faceSide) {
        return Region::Outside;
    }
    return regions()[indexOf(x, y)];
}

QRgb unmixFromWhite(QRgb colour)
{
    // Over white, a colour c with opacity a shows as a*c + (1 - a)*255. The least opacity
    // that can give the pixel is the one at which its darkest channel comes from a colour
    // value of 0; the other channels follow from it.
    const int r = qRed(colour);
    const int g = qGreen(colour);
    const int b = qBlue(colour);
    const int darkest = std::min({r, g, b});
    const int alpha = 255 - darkest;
    if (alpha == 0) {
        return qRgba(0, 0, 0, 0);
    }
    const auto unmix = [darkest, alpha](int c) {
        return ((c - darkest) * 255 + alpha / 2) / alpha;
    };
    return qRgba(unmix(r), unmix(g), unmix(b), alpha);
}

QImage withTransparency(const QImage& face)
{
    QImage result = face.convertToFormat(QImage::Format_ARGB32);
    const int width = std::min(result.width(), faceSide);
    const int height = std::min(result.height(), faceSide);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (regionAt(x, y) == Region::Inside) {
                line[x] |= 0xff000000U;
            } else {
                line[x] = unmixFromWhite(line[x]);
            }
        }
    }
    return result;
}

QImage enlarged(const QImage& image, int factor)
{
    if (image.isNull() || factor < 1) {
        return {};
    }
    // Work in a 32-bit format so that every pixel is one QRgb; convert back at the end.
    const QImage::Format format = image.format();
    const QImage source = image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_ARGB32)
                                                  : image.convertToFormat(QImage::Format_RGB32);
    QImage result(source.size() * factor, source.format());
    if (result.isNull()) {
        return {};
    }
    for (int y = 0; y < result.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y / factor));
        auto* to = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            to[x] = from[x / factor];
        }
    }
    return result.format() == format ? result : result.convertToFormat(format);
}

int fitFactor(QSize size, int side)
{
    if (size.isEmpty() || side < 1) {
        return 0;
    }
    return std::min(side / size.width(), side / size.height());
}

QImage fitted(const QImage& image, int side, const QColor& background)
{
    const int factor = fitFactor(image.size(), side);
    if (factor < 1) {
        return {};
    }
    const QImage big = enlarged(image, factor);
    if (big.isNull()) {
        return {};
    }
    QImage square(side, side,
                  background.alpha() < 255 || image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                      : QImage::Format_RGB32);
    if (square.isNull()) {
        return {};
    }
    square.fill(background);
    // Copied pixel by pixel rather than painted: a painter would pass the half-transparent
    // rim through premultiplied alpha and could round its colours.
    const QImage block = big.convertToFormat(square.format());
    const int left = (side - block.width()) / 2;
    const int top = (side - block.height()) / 2;
    for (int y = 0; y < block.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(block.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(square.scanLine(top + y)) + left;
        std::copy(from, from + block.width(), to);
    }
    return square;
}

QColor backgroundFor(const QImage& image)
{
    return image.hasAlphaChannel() ? QColor(Qt::transparent) : QColor(Qt::white);
}

} // namespace FaceExport
