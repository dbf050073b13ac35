#include "facepreview.h"

#include "facepictures.h"

#include <QPainter>

FacePreview::FacePreview(QWidget* parent) : QWidget(parent), m_picture(m_canvas.image())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
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
    // Nearest neighbour: on a scaling screen every face pixel becomes a block of pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), m_canvas.image());
}
