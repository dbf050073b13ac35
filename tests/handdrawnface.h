#pragma once

// One face written out by hand from the drawings under art/, the oracle for composition:
// the tired eyes (10) with the angrier mouth (15), a 7-row picture cut from rows 12-18 of the
// face and stretched over rows 11-18 by repeating its top row. Row 11 belongs to the band
// drawn last: that repeated row, the lip with row 12's shading beside it, when the mouth is;
// the blank face when the eyes are. '.' is the blank face, read by Qt from art/blank.xpm.

#include <QImage>
#include <QString>

#include <map>

inline constexpr int handDrawnEyes = 10;
inline constexpr int handDrawnMouth = 15;

inline QImage handDrawnFace(bool eyesLast)
{
    static const std::map<char, QRgb> colours{
        {'M', 0xffc9992c}, {'P', 0xff6a2217}, {'V', 0xffa8812e}, {'W', 0xfffefefe},
        {'p', 0xff5e2d1d}, {'z', 0xff3e4f7a}, {'r', 0xff9f3f1f}, {'S', 0xffc6ddf2},
        {'4', 0xfffcdf46}, {'6', 0xfff4c52c}};
    // Rows 2 to 15; the others are the blank face's.
    const char* const rows[] = {"........zzz........", // 2: the little z
                                ".........z.........",
                                "........z..........",
                                "........zzz........",
                                "...................",
                                "....MMMM...MMMM....", // 7: the heavy lids
                                "....pppp...pppp....",
                                "....WPPW...WPPW....", // 9: the eyes
                                "....VV.......VV....", // 10: the shadows under them
                                eyesLast ? "..................." : ".....4rrrrrrr6.....", // 11
                                "......rrrrrrr......", // 12: the top lip again
                                ".....rWWSWSWWr.....", // 13: the teeth
                                ".....rWWSWSWWr.....",
                                "......rrrrrrr......"}; // 15: the bottom lip
    QImage face = QImage(QStringLiteral(SNOETJESMAL_SOURCE_DIR "/art/blank.xpm"))
                      .convertToFormat(QImage::Format_RGB32);
    for (int y = 2; y <= 15 && !face.isNull(); ++y) {
        for (int x = 0; x < 19; ++x) {
            if (const char c = rows[y - 2][x]; c != '.') {
                face.setPixel(x, y, colours.at(c));
            }
        }
    }
    return face;
}
