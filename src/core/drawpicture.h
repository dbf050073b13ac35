#pragma once

#include <QImage>
#include <QRect>

// Copies a whole picture opaquely into a rectangle of an image, replacing every pixel of
// the rectangle. When the sizes differ the picture is scaled by nearest neighbour: each
// target pixel shows the source pixel under its upper left corner, so a 7-row picture drawn
// into 8 rows repeats its first row and mixes no colours. The angrier mouth relies on this:
// its first row is drawn behind the two rows of the face that look most alike.
// Both images must be in QImage::Format_RGB32; the part of the rectangle outside the
// target image is left out.
void drawPicture(QImage& target, const QRect& rect, const QImage& picture);
