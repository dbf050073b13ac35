#include "facecanvas.h"

#include "catalogue.h"
#include "drawpicture.h"
#include "facepictures.h"

namespace {

void recompose(QImage& image, const Catalogue::Band& band, const Catalogue::Entry* entry)
{
    drawPicture(image, Twips::toPixels(band.rect), FacePictures::picture(band.blankBox));
    if (entry != nullptr) {
        drawPicture(image, Twips::toPixels(entry->rect), FacePictures::picture(entry->box));
    }
}

} // namespace

FaceCanvas::FaceCanvas() : m_image(FacePictures::blankFace().copy()) {}

void FaceCanvas::recomposeEyes(int value)
{
    recompose(m_image, Catalogue::eyeBand, Catalogue::findEyes(value));
}

void FaceCanvas::recomposeMouth(int value)
{
    recompose(m_image, Catalogue::mouthBand, Catalogue::findMouth(value));
}
