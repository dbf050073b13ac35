#pragma once

#include <QColor>
#include <QImage>

// The face made ready for other programs: composed from a choice of styles, with its white
// surroundings taken away, and enlarged by whole pixels for the sizes chat programs use.
namespace FaceExport {

// Which band the preview drew last. The two bands share row 11, which shows the band drawn
// last: the mouth after the Random button or after moving the mouth bar, the eyes after
// moving the eye bar. Only the mouths drawn from row 11 (5 and 8 to 15) and the eyes that
// reach it (10 and 20) can draw that row otherwise than the blank band does, so only they
// can tell the two orders apart.
enum class DrawingOrder
{
    MouthLast,
    EyesLast,
};

// The face the program shows for an eye and a mouth value, drawn on the preview's own canvas
// in that order. Values without a style leave their band blank. Throws FaceError when a
// picture is missing.
QImage composeFace(int eyes, int mouth, DrawingOrder order = DrawingOrder::MouthLast);

// Where a pixel of the 19 x 19 face lies, decided once from the blank face: the white
// around the disc that is connected to the edge of the picture (Outside), the pixels of the
// disc that border on that white or on the edge of the picture and were smoothed into it
// (Rim), and everything else (Inside).
enum class Region
{
    Outside,
    Rim,
    Inside,
};
Region regionAt(int x, int y);

// A colour drawn over white, taken apart into a colour and an opacity that give the same
// colour over white with the least opacity: white becomes fully transparent, a colour
// without any white in it stays opaque.
QRgb unmixFromWhite(QRgb colour);

// The 19 x 19 face with a transparent background, as Format_ARGB32: the white outside the
// disc fully transparent, the smoothed rim un-mixed from white (so no light seam shows on a
// dark background), the inside of the face exactly as it was and opaque.
QImage withTransparency(const QImage& face);

// Every pixel repeated as a factor x factor block (nearest neighbour, no colour mixed).
// The format is kept; factor must be at least 1.
QImage enlarged(const QImage& image, int factor);

// The largest whole factor that fits an image of this size into a square of side, or 0 when
// not even the picture itself fits.
int fitFactor(QSize size, int side);

// The image enlarged by fitFactor and centred on a side x side square of background; where
// the two margins cannot be equal, the extra pixel goes to the right and the bottom.
// A null image when the picture does not fit.
QImage fitted(const QImage& image, int side, const QColor& background);

// The background fitted() uses by default: transparent for an image with alpha, else white
// like the face's own background.
QColor backgroundFor(const QImage& image);

} // namespace FaceExport
