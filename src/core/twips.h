#pragma once

#include <QRect>
#include <QSize>

// Positions and sizes of windows, controls and drawing rectangles are written in twips
// (1/1440 inch), 15 to a pixel at 96 dpi. Every conversion to pixels goes through this
// one helper so that all edges are rounded the same way: down to the pixel they start in.
namespace Twips {

inline constexpr int perPixel = 15;

// Floor division, so that an edge at 170 twips lands on pixel 11 and 290 on pixel 19.
constexpr int toPixels(int twips)
{
    const int q = twips / perPixel;
    return (twips % perPixel != 0 && twips < 0) ? q - 1 : q;
}

struct Rect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// Both edges are converted on their own, so the pixel size follows from them.
constexpr QRect toPixels(const Rect& r)
{
    const int x = toPixels(r.left);
    const int y = toPixels(r.top);
    return QRect(x, y, toPixels(r.left + r.width) - x, toPixels(r.top + r.height) - y);
}

constexpr QSize toPixels(int width, int height)
{
    return QSize(toPixels(width), toPixels(height));
}

} // namespace Twips
