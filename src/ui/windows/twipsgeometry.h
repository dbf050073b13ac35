#pragma once

#include "twips.h"

#include <QWidget>

// Places a control at a rectangle given in twips, relative to its container.
inline void setTwipsGeometry(QWidget* widget, const Twips::Rect& rect)
{
    widget->setGeometry(Twips::toPixels(rect));
}

// Gives a window a fixed client area given in twips.
inline void setTwipsClientSize(QWidget* window, int width, int height)
{
    window->setFixedSize(Twips::toPixels(width, height));
}
