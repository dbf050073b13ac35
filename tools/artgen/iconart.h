#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>

#include <array>

// The program's window icon and hand cursor. The icon is the smiling yellow face, drawn here
// at each of its sizes with the colours of the blank face (art/blank.xpm); the cursor is
// drawn by hand as art/hand.xpm, whose values line carries the hot spot after the usual
// four numbers ("32 32 7 1 12 1" is a hot spot at x 12, y 1).
namespace IconArt {

inline constexpr int smallIconSide = 32; // stored at 24 bits a pixel with a mask
inline constexpr int largeIconSide = 48; // stored at 32 bits a pixel with alpha

// The smiling face at side x side pixels, ARGB32, transparent around the disc and smoothed
// along every edge. Sides other than the icon's two get the large layout scaled.
QImage face(int side);

// The sizes of the program's icon file (.ico) for Windows: every size Explorer, the taskbar
// and the Start menu ask for at 100 to 200 %, all at 32 bits a pixel, the largest as PNG.
inline constexpr std::array<int, 8> windowsIconSides{16, 20, 24, 32, 40, 48, 64, 256};

// The sizes the desktop's icon theme (hicolor) holds beside the scalable drawing.
inline constexpr std::array<int, 7> themeIconSides{16, 24, 32, 48, 64, 128, 256};

// The bytes of the program's icon file, or an empty array with the reason in *error.
QByteArray windowIconFile(QString* error = nullptr);

// The smiling face as an SVG 1.1 drawing of 48 x 48 units, with the large layout and the
// same colours: the scalable icon of the desktop's icon theme.
QByteArray faceSvg();

// A drawing of a cursor: the picture and the pixel that points.
struct CursorDrawing
{
    QImage image;
    QPoint hotSpot;
};

// art/hand.xpm under artDir.
QString handDrawingPath(const QString& artDir);

// Reads an XPM drawing whose values line names a hot spot. Returns false with the reason in
// *error when the file cannot be read, names no hot spot or points at a transparent pixel.
bool readCursorDrawing(const QString& path, CursorDrawing* drawing, QString* error = nullptr);

// The bytes of the hand cursor file made from art/hand.xpm under artDir, or an empty array
// with the reason in *error.
QByteArray handCursorFile(const QString& artDir, QString* error = nullptr);

} // namespace IconArt
