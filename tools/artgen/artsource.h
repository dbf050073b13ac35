#pragma once

#include "facepictures.h"

#include <QImage>
#include <QString>

// The face pictures are drawn as XPM text under art/: the blank face as a whole picture,
// and every eye and mouth strip as an overlay in which "None" (transparent) lets the blank
// face show through. A strip is its overlay laid over the rows of the blank face it was cut
// from, so outside its feature a strip repeats the blank face exactly.
namespace ArtSource {

// art/blank.xpm, art/eyes/<box>.xpm or art/mouths/<box>.xpm. The two blank strips have no
// overlay of their own: they are rows of the blank face.
QString sourcePath(const QString& artDir, const FacePictures::Info& info);

// Lays an overlay over the rows of the blank face starting at faceRow; transparent pixels
// of the overlay keep the blank face, all others replace it. The result is RGB32.
QImage composeStrip(const QImage& blankFace, const QImage& overlay, int faceRow);

// The picture the source describes, or a null image with the reason in *error.
QImage picture(const QString& artDir, const FacePictures::Info& info, QString* error);

} // namespace ArtSource
