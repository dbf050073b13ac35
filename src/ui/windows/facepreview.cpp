#include "facepreview.h"

#include "faceexport.h"
#include "facepictures.h"

#include <QPainter>
#include <QtMath>

#include <algorithm>

namespace {

// How far a device edge may stray from a whole pixel by rounding alone.
constexpr qreal edgeTolerance = 1e-6;

// The whole device pixels that lie inside a rectangle on the device: at a scale of 125 %
// a preview at (58, 74) starts half-way into device pixel 72.
QRect wholePixelsInside(const QRectF& onDevice)
{
    const int left = qCeil(onDevice.left() - edgeTolerance);
    const int top = qCeil(onDevice.top() - edgeTolerance);
    const int right = qFloor(onDevice.right() + edgeTolerance);
    const int bottom = qFloor(onDevice.bottom() + edgeTolerance);
    return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

// Where a run of length pixels starts when it is centred on the run from start of size
// extent, on a whole pixel between first and end.
int centred(qreal start, qreal extent, int length, int first, int end)
{
    const int ideal = qRound(start + (extent - length) / 2);
    return std::max(first, std::min(ideal, end - length));
}

} // namespace

FacePreview::FacePreview(QWidget* parent) : QWidget(parent), m_picture(m_canvas.image())
{
    // Not opaque: where the face leaves some of its place free, the background shows.
    setFixedSize(sizeHint());
}

QSize FacePreview::sizeHint() const
{
    return {FacePictures::faceSize, FacePictures::faceSize};
}

void FacePreview::setPicture(const QImage& picture)
{
    m_picture = picture;
}

void FacePreview::recomposeEyes(int value)
{
    // Whatever happens in the recomposition, what was drawn is shown.
    const auto refresh = qScopeGuard([this] { update(); });
    m_canvas.recomposeEyes(value);
}

void FacePreview::recomposeMouth(int value)
{
    const auto refresh = qScopeGuard([this] { update(); });
    m_canvas.recomposeMouth(value);
}

void FacePreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QImage& face = m_canvas.image();
    // Drawn in the device's own pixels: on a screen at 125, 150 or 175 % the place of the
    // preview is no whole number of them, and a face stretched over it would have pixels of
    // one device pixel beside pixels of two. Each face pixel becomes a square of the largest
    // whole size that fits the place, and the face is centred in it.
    const QTransform toDevice = painter.deviceTransform();
    const QRectF place = toDevice.mapRect(QRectF(rect()));
    const QRect whole = wholePixelsInside(place);
    const int factor =
        std::max(1, FaceExport::fitFactor(face.size(), std::min(whole.width(), whole.height())));
    const QImage shown = factor == 1 ? face : FaceExport::enlarged(face, factor);
    const QPoint topLeft(
        centred(place.left(), place.width(), shown.width(), whole.left(), whole.right() + 1),
        centred(place.top(), place.height(), shown.height(), whole.top(), whole.bottom() + 1));
    painter.setWorldTransform(toDevice.inverted());
    painter.drawImage(topLeft, shown);
}
