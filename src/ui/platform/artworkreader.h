#pragma once

#include <QByteArray>
#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>

// The window icon and the hand cursor the program carries as resources, and the reading of
// the Windows icon (.ico) and cursor (.cur) files they are kept in. The files are read here
// rather than by Qt's image plugin: the plugin neither gives a cursor's hot spot nor applies
// the transparency mask of a 24-bit icon picture, which would leave black corners around
// the face.

// The window icon: the smiling face at 32 x 32 and 48 x 48 pixels.
inline const QString windowIconResource = QStringLiteral(":/art/snoetjesmal.ico");
// The pointing hand shown over links, with its hot spot at the tip of the finger.
inline const QString handCursorResource = QStringLiteral(":/art/hand.cur");

// The window icon with both its pictures. Null when the resource is missing or unreadable.
QIcon programIcon();

// The hand cursor with the hot spot its file names. Qt's own pointing hand when the resource
// is missing or unreadable, so that a link always shows a hand.
QCursor handCursor();

namespace IconFileReader {

struct Picture
{
    QImage image;        // ARGB32; transparent where the file's mask or alpha says so
    QPoint hotSpot;      // the pixel that points, for a cursor; (0, 0) for an icon
    int bitsPerPixel{0}; // the depth the picture was stored at
};

// Every picture of an icon or cursor file, in the order of the file's directory. Reads
// uncompressed bitmaps of 1, 4, 8, 24 and 32 bits a pixel and PNG pictures. Returns an empty
// list with the reason in *error for a file that is damaged or of another kind.
QList<Picture> read(const QByteArray& bytes, QString* error = nullptr);

// The pictures of an icon or cursor file carried as a resource or lying on disk.
QList<Picture> readFile(const QString& path, QString* error = nullptr);

} // namespace IconFileReader
