#include "iconart.h"

#include "icofile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace IconArt {

namespace {

// Colours as fractions, premultiplied by their coverage while a pixel is being summed.
struct Colour
{
    double r = 0;
    double g = 0;
    double b = 0;
    double a = 0;
};

constexpr Colour opaque(QRgb rgb)
{
    return {qRed(rgb) / 255.0, qGreen(rgb) / 255.0, qBlue(rgb) / 255.0, 1.0};
}

Colour mix(const Colour& from, const Colour& to, double t)
{
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t,
            from.b + (to.b - from.b) * t, from.a + (to.a - from.a) * t};
}

double smoothStep(double edge0, double edge1, double x)
{
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// The yellow of the blank face, light to golden. On the 19-pixel face the light falls from a
// point five and a half pixels in from the upper left corner, and the colours lie in rings
// two pixels wide around it. Here each colour is at its purest in the middle of its ring
// (one, three, five ... pixels out) and blends into the next between them.
constexpr std::array<QRgb, 7> yellows{0xFEEF63, 0xFEED5F, 0xFEE74F, 0xFCDF46,
                                      0xF9D43A, 0xF4C52C, 0xEFB51D};
constexpr double blankRadius = 9.5;
constexpr double lightOffset = (5.5 - blankRadius) / blankRadius; // of the radius, x and y
constexpr double bandWidth = 2.0 / blankRadius;                   // of the radius

// The rim is light gold where the light falls and dark gold on the far side.
constexpr QRgb rimLight = 0xE2BF62;
constexpr QRgb rimDark = 0xC9992C;

// The eyes and the smile: a warm black that sits well on the yellow.
constexpr QRgb ink = 0x2E2010;

// Where the parts of the face lie, in pixels from the upper left corner of the picture.
struct Layout
{
    double radius; // outer radius of the disc, around the picture's centre
    double rim;    // width of the gold rim
    double eyeX;   // centre of the left eye; the right eye is its mirror image
    double eyeY;
    double eyeRadiusX;
    double eyeRadiusY;
    double smileY;         // centre of the circle the smile is an arc of
    double smileRadius;    // radius of that circle, to the middle of the stroke
    double smileHalfWidth; // half the width of the stroke; its ends are round
    double smileEndAngle;  // where the smile ends, in radians below the horizontal
};

// Drawn to the pixel grid of each size, so that eyes and smile sit on whole pixels.
constexpr Layout smallLayout{16.0, 1.4, 11.5, 11.0, 1.8, 3.1, 14.5, 8.6, 1.15, 0.45};
constexpr Layout largeLayout{24.0, 2.0, 17.5, 16.5, 2.7, 4.7, 21.5, 13.0, 1.7, 0.45};

Layout layoutFor(int side)
{
    if (side == smallIconSide) {
        return smallLayout;
    }
    const double scale = side / static_cast<double>(largeIconSide);
    const Layout& l = largeLayout;
    return {l.radius * scale,         l.rim * scale,        l.eyeX * scale,   l.eyeY * scale,
            l.eyeRadiusX * scale,     l.eyeRadiusY * scale, l.smileY * scale, l.smileRadius * scale,
            l.smileHalfWidth * scale, l.smileEndAngle};
}

Colour yellowAt(double ux, double uy)
{
    const double d = std::hypot(ux - lightOffset, uy - lightOffset);
    const double band = std::clamp(d / bandWidth - 0.5, 0.0, yellows.size() - 1.0);
    const auto low = static_cast<std::size_t>(band);
    const std::size_t high = std::min(low + 1, yellows.size() - 1);
    return mix(opaque(yellows[low]), opaque(yellows[high]), band - static_cast<double>(low));
}

Colour rimAt(double ux, double uy)
{
    const double towardsShade = (ux + uy) / std::numbers::sqrt2;
    return mix(opaque(rimLight), opaque(rimDark), smoothStep(-0.55, 0.05, towardsShade));
}

bool inEye(const Layout& l, double side, double x, double y)
{
    const double eyeX = x < side / 2 ? l.eyeX : side - l.eyeX;
    const double dx = (x - eyeX) / l.eyeRadiusX;
    const double dy = (y - l.eyeY) / l.eyeRadiusY;
    return dx * dx + dy * dy <= 1.0;
}

bool inSmile(const Layout& l, double side, double x, double y)
{
    const double cx = side / 2;
    const double dx = x - cx;
    const double dy = y - l.smileY;
    const double angle = std::atan2(dy, std::abs(dx)); // below the horizontal is positive
    double distance = 0;
    if (angle >= l.smileEndAngle) {
        distance = std::abs(std::hypot(dx, dy) - l.smileRadius);
    } else {
        const double endX = l.smileRadius * std::cos(l.smileEndAngle);
        const double endY = l.smileRadius * std::sin(l.smileEndAngle);
        distance = std::hypot(std::abs(dx) - endX, dy - endY);
    }
    return distance <= l.smileHalfWidth;
}

// The colour of the face at one point of the picture.
Colour faceAt(const Layout& l, double side, double x, double y)
{
    const double centre = side / 2;
    const double distance = std::hypot(x - centre, y - centre);
    if (distance > l.radius) {
        return {};
    }
    const double ux = (x - centre) / l.radius;
    const double uy = (y - centre) / l.radius;
    if (distance > l.radius - l.rim) {
        return rimAt(ux, uy);
    }
    if (inEye(l, side, x, y) || inSmile(l, side, x, y)) {
        return opaque(ink);
    }
    return yellowAt(ux, uy);
}

int toByte(double fraction)
{
    return std::clamp(static_cast<int>(std::floor(fraction * 255.0 + 0.5)), 0, 255);
}

} // namespace

QImage face(int side)
{
    // Every pixel is the average of a grid of samples, so edges are smoothed by how much of
    // the pixel they cover. Plain arithmetic rather than a paint engine, whose blending may
    // take other code paths on other processors, lets a test compare the committed file byte
    // for byte.
    constexpr int samples = 16;
    const Layout layout = layoutFor(side);
    QImage image(side, side, QImage::Format_ARGB32);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            Colour sum;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const Colour c =
                        faceAt(layout, side, x + (sx + 0.5) / samples, y + (sy + 0.5) / samples);
                    sum.r += c.r * c.a;
                    sum.g += c.g * c.a;
                    sum.b += c.b * c.a;
                    sum.a += c.a;
                }
            }
            QRgb pixel = 0;
            if (sum.a > 0) {
                pixel = qRgba(toByte(sum.r / sum.a), toByte(sum.g / sum.a), toByte(sum.b / sum.a),
                              toByte(sum.a / (samples * samples)));
            }
            image.setPixel(x, y, qAlpha(pixel) == 0 ? 0U : pixel);
        }
    }
    return image;
}

QByteArray windowIconFile(QString* error)
{
    std::vector<IcoFile::IconImage> images;
    for (const int side : windowsIconSides) {
        images.push_back({face(side), 32, side == 256});
    }
    return IcoFile::encodeIcon(images, error);
}

QByteArray faceSvg()
{
    const Layout& l = largeLayout;
    const double side = largeIconSide;
    const double centre = side / 2;
    const auto n = [](double value) {
        return QByteArray::number(value, 'f', 2);
    };
    const auto colour = [](QRgb rgb) {
        return '#' + QByteArray::number(rgb & 0xffffffU, 16).rightJustified(6, '0');
    };

    // The yellow as in yellowAt: rings of bandWidth around the light, each colour at its
    // purest in the middle of its ring.
    const double light = centre + lightOffset * l.radius;
    const double ringWidth = bandWidth * l.radius;
    const double outer = (static_cast<double>(yellows.size()) - 0.5) * ringWidth;
    QByteArray stops;
    for (std::size_t i = 0; i < yellows.size(); ++i) {
        stops += "<stop offset=\"" + n((static_cast<double>(i) + 0.5) * ringWidth / outer) +
                 "\" stop-color=\"" + colour(yellows[i]) + "\"/>";
    }
    // The rim as in rimAt: light gold until a little before the middle diagonal, then dark.
    const double rimFrom = centre - 0.55 * l.radius / std::numbers::sqrt2;
    const double rimTo = centre + 0.05 * l.radius / std::numbers::sqrt2;
    // The smile: an arc below its circle's centre, between its two end angles.
    const double endX = l.smileRadius * std::cos(l.smileEndAngle);
    const double endY = l.smileY + l.smileRadius * std::sin(l.smileEndAngle);

    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"48\" "
                     "height=\"48\" viewBox=\"0 0 48 48\">\n";
    svg += "<defs><radialGradient id=\"yellow\" gradientUnits=\"userSpaceOnUse\" cx=\"" + n(light) +
           "\" cy=\"" + n(light) + "\" r=\"" + n(outer) + "\">" + stops +
           "</radialGradient>\n<linearGradient id=\"rim\" gradientUnits=\"userSpaceOnUse\" "
           "x1=\"" +
           n(rimFrom) + "\" y1=\"" + n(rimFrom) + "\" x2=\"" + n(rimTo) + "\" y2=\"" + n(rimTo) +
           "\"><stop offset=\"0\" stop-color=\"" + colour(rimLight) +
           "\"/><stop offset=\"1\" stop-color=\"" + colour(rimDark) +
           "\"/></linearGradient></defs>\n";
    svg += "<circle cx=\"" + n(centre) + "\" cy=\"" + n(centre) + "\" r=\"" + n(l.radius) +
           "\" fill=\"url(#rim)\"/>\n";
    svg += "<circle cx=\"" + n(centre) + "\" cy=\"" + n(centre) + "\" r=\"" + n(l.radius - l.rim) +
           "\" fill=\"url(#yellow)\"/>\n";
    for (const double x : {l.eyeX, side - l.eyeX}) {
        svg += "<ellipse cx=\"" + n(x) + "\" cy=\"" + n(l.eyeY) + "\" rx=\"" + n(l.eyeRadiusX) +
               "\" ry=\"" + n(l.eyeRadiusY) + "\" fill=\"" + colour(ink) + "\"/>\n";
    }
    svg += "<path d=\"M" + n(centre - endX) + ' ' + n(endY) + 'A' + n(l.smileRadius) + ' ' +
           n(l.smileRadius) + " 0 0 0 " + n(centre + endX) + ' ' + n(endY) +
           "\" fill=\"none\" stroke=\"" + colour(ink) + "\" stroke-width=\"" +
           n(2 * l.smileHalfWidth) + "\" stroke-linecap=\"round\"/>\n";
    svg += "</svg>\n";
    return svg;
}

QString handDrawingPath(const QString& artDir)
{
    return QDir(artDir).filePath(QStringLiteral("hand.xpm"));
}

bool readCursorDrawing(const QString& path, CursorDrawing* drawing, QString* error)
{
    const auto fail = [error, &path](const QString& reason) {
        if (error != nullptr) {
            *error = QStringLiteral("%1: %2").arg(path, reason);
        }
        return false;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(file.errorString());
    }
    const QString text = QString::fromUtf8(file.readAll());
    // The values line is the first string of the array: width, height, colours, characters
    // a pixel, then the hot spot.
    static const QRegularExpression valuesLine(
        QStringLiteral(R"(\{\s*"\s*\d+\s+\d+\s+\d+\s+\d+\s+(\d+)\s+(\d+)\s*")"));
    const QRegularExpressionMatch match = valuesLine.match(text);
    if (!match.hasMatch()) {
        return fail(QStringLiteral("the values line names no hot spot"));
    }
    const QImage image(path, "XPM");
    if (image.isNull()) {
        return fail(QStringLiteral("not a readable XPM drawing"));
    }
    const QPoint hotSpot(match.captured(1).toInt(), match.captured(2).toInt());
    if (!image.rect().contains(hotSpot) || qAlpha(image.pixel(hotSpot)) == 0) {
        return fail(QStringLiteral("the hot spot %1,%2 is not on the drawing")
                        .arg(hotSpot.x())
                        .arg(hotSpot.y()));
    }
    *drawing = CursorDrawing{image.convertToFormat(QImage::Format_ARGB32), hotSpot};
    return true;
}

QByteArray handCursorFile(const QString& artDir, QString* error)
{
    CursorDrawing hand;
    if (!readCursorDrawing(handDrawingPath(artDir), &hand, error)) {
        return {};
    }
    return IcoFile::encodeCursor(hand.image, hand.hotSpot, error);
}

} // namespace IconArt
