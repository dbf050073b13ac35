#pragma once

#include <QCursor>
#include <QIcon>
#include <QPoint>

// The window icon and the hand cursor, carried as PNG resources that tools/artgen draws
// (the Windows executable carries the same face, at every size Windows asks for, as
// snoetjesmal.ico). PNG is read by QtGui itself, so no image plugin is needed.

// The pixel of the hand that points: the tip of the finger.
inline constexpr QPoint handHotSpot{12, 1};

// The window icon, the smiling face at 32 x 32 and 48 x 48 pixels.
QIcon programIcon();

// The pointing hand shown over links; Qt's own pointing hand should the picture be missing.
QCursor handCursor();
