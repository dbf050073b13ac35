#include "svgencoding.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace {

struct Run
{
    int x = 0;
    int width = 0;
    QRgb colour = 0;
    bool taken = false; // already part of a taller rectangle that starts higher up
};

struct Rect
{
    int x;
    int y;
    int width;
    int height;
};

std::vector<std::vector<Run>> runsOf(const QImage& pixels)
{
    std::vector<std::vector<Run>> rows(static_cast<std::size_t>(pixels.height()));
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        auto& runs = rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < pixels.width();) {
            int end = x + 1;
            while (end < pixels.width() && line[end] == line[x]) {
                ++end;
            }
            runs.push_back({x, end - x, line[x]});
            x = end;
        }
    }
    return rows;
}

// The colour that covers most pixels; of equally common ones, the first in reading order.
QRgb mostFrequent(const std::vector<std::vector<Run>>& rows)
{
    QHash<QRgb, qint64> counts;
    std::vector<QRgb> order;
    for (const auto& runs : rows) {
        for (const Run& run : runs) {
            auto it = counts.find(run.colour);
            if (it == counts.end()) {
                it = counts.insert(run.colour, 0);
                order.push_back(run.colour);
            }
            *it += run.width;
        }
    }
    QRgb best = order.front();
    for (const QRgb colour : order) {
        if (counts.value(colour) > counts.value(best)) {
            best = colour;
        }
    }
    return best;
}

// The run of a row that starts at x, or nullptr.
Run* runAt(std::vector<Run>& runs, int x)
{
    const auto it = std::lower_bound(runs.begin(), runs.end(), x,
                                     [](const Run& r, int at) { return r.x < at; });
    return it != runs.end() && it->x == x ? &*it : nullptr;
}

QByteArray colourText(QRgb colour)
{
    return '#' + QByteArray::number(colour & 0xffffffU, 16).rightJustified(6, '0');
}

// An opacity from 0 to 1 with three decimals, enough to give back every 8-bit alpha.
QByteArray opacityText(int alpha)
{
    QByteArray text = QByteArray::number(alpha / 255.0, 'f', 3);
    while (text.endsWith('0')) {
        text.chop(1);
    }
    return text;
}

QByteArray number(int value)
{
    return QByteArray::number(value);
}

} // namespace

QByteArray encodeSvg(const QImage& image, QSize shownSize)
{
    if (image.isNull() || shownSize.isEmpty()) {
        return {};
    }
    const bool hasAlpha = image.hasAlphaChannel();
    const QImage pixels =
        image.convertToFormat(hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (pixels.isNull()) {
        return {};
    }
    std::vector<std::vector<Run>> rows = runsOf(pixels);
    const QRgb background = hasAlpha ? 0U : mostFrequent(rows);
    const auto drawn = [hasAlpha, background](QRgb colour) {
        return hasAlpha ? qAlpha(colour) != 0 : colour != background;
    };

    // The rectangles of each colour, colours in the order they first appear.
    std::vector<QRgb> colours;
    QHash<QRgb, std::vector<Rect>> rects;
    for (std::size_t y = 0; y < rows.size(); ++y) {
        for (Run& run : rows[y]) {
            if (run.taken || !drawn(run.colour)) {
                continue;
            }
            int height = 1;
            for (std::size_t below = y + 1; below < rows.size(); ++below) {
                Run* same = runAt(rows[below], run.x);
                if (same == nullptr || same->taken || same->width != run.width ||
                    same->colour != run.colour) {
                    break;
                }
                same->taken = true;
                ++height;
            }
            auto it = rects.find(run.colour);
            if (it == rects.end()) {
                it = rects.insert(run.colour, {});
                colours.push_back(run.colour);
            }
            it->push_back({run.x, static_cast<int>(y), run.width, height});
        }
    }

    QByteArray svg;
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           number(shownSize.width()) + "\" height=\"" + number(shownSize.height()) +
           "\" viewBox=\"0 0 " + number(pixels.width()) + ' ' + number(pixels.height()) +
           "\" shape-rendering=\"crispEdges\">\n";
    if (!hasAlpha) {
        svg += "<rect width=\"" + number(pixels.width()) + "\" height=\"" +
               number(pixels.height()) + "\" fill=\"" + colourText(background) + "\"/>\n";
    }
    for (const QRgb colour : colours) {
        svg += "<path fill=\"" + colourText(colour) + '"';
        if (qAlpha(colour) != 255) {
            svg += " fill-opacity=\"" + opacityText(qAlpha(colour)) + '"';
        }
        svg += " d=\"";
        for (const Rect& r : *rects.constFind(colour)) {
            svg += 'M' + number(r.x) + ' ' + number(r.y) + 'h' + number(r.width) + 'v' +
                   number(r.height) + 'H' + number(r.x) + 'z';
        }
        svg += "\"/>\n";
    }
    svg += "</svg>\n";
    return svg;
}
