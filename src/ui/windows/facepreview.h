#pragma once

#include "facecanvas.h"

#include <QWidget>

// The preview of the composed face (picSmiley): 19 x 19 pixels that keep what was drawn on
// them between events. It is shown pixel for pixel, and on screens that scale each face pixel
// is an equal square of whole device pixels, the largest that fits the preview's place, with
// the face centred in it: at 200 % two by two, at 125 %, 150 % and 175 % one device pixel
// each (never a mixture of sizes, never smoothed).
class FacePreview : public QWidget
{
    Q_OBJECT

public:
    explicit FacePreview(QWidget* parent = nullptr);

    // The drawn image, which every recomposition changes.
    const QImage& Image() const { return m_canvas.image(); }

    // The picture the box holds: the blank face at start, and what was drawn once a face
    // has been saved. Drawing never depends on it.
    const QImage& Picture() const { return m_picture; }
    void setPicture(const QImage& picture);

    void recomposeEyes(int value);
    void recomposeMouth(int value);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FaceCanvas m_canvas;
    QImage m_picture;
};
