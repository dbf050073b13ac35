#pragma once

#include <QImage>

// The preview's persistent 19 x 19 image. It starts as the blank face; each recomposition
// blanks its own band and draws the chosen style over it, leaving the other band as it was.
// The two bands share row 11, which therefore shows whichever band was drawn last.
class FaceCanvas
{
public:
    FaceCanvas();

    const QImage& image() const { return m_image; }

    // Redraw the eye band (rows 0-11) for an eye style. 0, or a value without a style,
    // leaves the band blank. Throws FaceError when a picture is missing; what was drawn
    // before that step stays.
    void recomposeEyes(int value);

    // Redraw the mouth band (rows 11-18) for a mouth style, as recomposeEyes does.
    void recomposeMouth(int value);

private:
    QImage m_image;
};
