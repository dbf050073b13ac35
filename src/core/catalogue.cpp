#include "catalogue.h"

#include <array>

namespace Catalogue {

namespace {

constexpr std::array<Entry, eyeMaximum> eyeTable{{
    {1, "picOogStandaard", "standaard", {0, 75, 285, 90}},
    {2, "picOogBLij", "blij", {0, 20, 285, 90}},
    {3, "picOogKnipoog", "knipoog", {0, 0, 285, 150}},
    {4, "picOogVerrast", "verrast", {0, 0, 285, 165}},
    {5, "picOogTong", "tong-uit", {0, 0, 285, 150}},
    {6, "picOogCool", "cool", {0, 0, 285, 150}},
    {7, "picOogVerward", "verward", {0, 0, 285, 150}},
    {8, "picOogBoos", "boos", {0, 0, 285, 150}},
    {9, "picOogVerlegen", "verlegen", {0, 0, 285, 135}},
    {10, "PicOogMoe", "moe", {0, 0, 285, 180}},
    {11, "picOogTwijfelend", "twijfelend", {0, 0, 285, 150}},
    {12, "picOogVerdrietig", "verdrietig", {0, 0, 285, 150}},
    {13, "picOogHuilen", "huilen", {0, 0, 285, 90}},
    {14, "picOogVerbaasd", "verbaasd", {0, 0, 285, 150}},
    {15, "picOogZiek", "ziek", {0, 0, 285, 150}},
    {16, "picOogNerd", "nerd", {0, 0, 285, 135}},
    {17, "picOogSarcastisch", "sarcastisch", {0, 0, 285, 165}},
    {18, "picOogMonddicht", "mond-dicht", {0, 0, 285, 150}},
    {19, "picOogRollendeogen", "rollende-ogen", {0, 0, 285, 165}},
    {20, "picOogSlaperig", "slaperig", {0, 0, 285, 180}},
}};

// Mouth 15 is a 7-row picture drawn into the 8-row rectangle: it is stretched by one row.
constexpr std::array<Entry, mouthMaximum> mouthTable{{
    {1, "picMondStandaard", "standaard", {0, 180, 285, 105}},
    {2, "picMondRollendeogen", "rollende-ogen", {0, 180, 285, 105}},
    {3, "picMondSlaperig", "slaperig", {0, 180, 285, 105}},
    {4, "picMondBlij", "blij", {0, 180, 285, 105}},
    {5, "picMondKnipoog", "knipoog", {0, 170, 285, 120}},
    {6, "picMondTong", "tong-uit", {0, 180, 285, 105}},
    {7, "picMondCool", "cool", {0, 180, 285, 105}},
    {8, "picMondBoos", "boos", {0, 170, 285, 120}},
    {9, "picMondVerward", "verward", {0, 170, 285, 120}},
    {10, "picMondVerdrietig", "verdrietig", {0, 170, 285, 120}},
    {11, "picMondVerrast", "verrast", {0, 170, 285, 120}},
    {12, "picMondTwijvelend", "twijfelend", {0, 170, 285, 120}},
    {13, "picMondNerd", "nerd", {0, 170, 285, 120}},
    {14, "picMondRits", "rits", {0, 170, 285, 120}},
    {15, "picMondBozer", "bozer", {0, 170, 285, 120}},
}};

template <std::size_t N> const Entry* findIn(const std::array<Entry, N>& table, int value)
{
    if (value < 1 || value > static_cast<int>(N)) {
        return nullptr;
    }
    return &table[static_cast<std::size_t>(value - 1)];
}

} // namespace

std::span<const Entry> eyes()
{
    return eyeTable;
}

std::span<const Entry> mouths()
{
    return mouthTable;
}

const Entry* findEyes(int value)
{
    return findIn(eyeTable, value);
}

const Entry* findMouth(int value)
{
    return findIn(mouthTable, value);
}

} // namespace Catalogue
