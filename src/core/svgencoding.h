#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// A picture as an SVG 1.1 drawing that shows every pixel exactly, sharp at any size: its view
// box is the image's pixels, shown at shownSize, with crisp edges (nothing smoothed between
// pixels). Each horizontal run of pixels of one colour is one rectangle, and a run repeated
// unchanged in the rows below it is one taller rectangle. The rectangles of a colour are the
// parts of one path ("M8 0h3v1H8z" is three pixels at x 8 of row 0), colours in the order
// they first appear: a face takes a few kilobytes. An image without alpha is first filled with its
// most frequent colour, and only the other colours are drawn over it. In an image with alpha
// fully transparent pixels are left out and partly transparent ones carry their opacity.
// The same image and size always give the same bytes. Empty for a null image or size.
QByteArray encodeSvg(const QImage& image, QSize shownSize);
