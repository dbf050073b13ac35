#pragma once

#include <QImage>
#include <QRect>

// Copies a whole picture opaquely into a rectangle of an image, replacing every pixel of
// the rectangle. When the sizes differ the picture is scaled by nearest neighbour, so a
// 7-row picture drawn into 8 rows repeats one of its rows and mixes no colours.
// Both images must be in QImage::Format_RGB32; the part of the rectangle outside the
// target image is left out.
void drawPicture(QImage& target, const QRect& rect, const QImage& picture);
