#pragma once

#include "twips.h"

#include <span>
#include <string_view>

// The two style catalogues: which picture each value of the eye and mouth scroll bars
// draws, and where on the 19 x 19 preview. Rectangles are in twips, as the layout is.
namespace Catalogue {

struct Entry
{
    int value;
    std::string_view box;  // the picture box whose picture is drawn
    std::string_view name; // the style's one name (see stylenames.h)
    Twips::Rect rect;      // where it is drawn, always the full width of 285 twips
};

struct Band
{
    std::string_view blankBox; // the picture that blanks the band before a style is drawn
    Twips::Rect rect;
};

inline constexpr int eyeMaximum = 20;
inline constexpr int mouthMaximum = 15;

inline constexpr Band eyeBand{"picOogBlanco", {0, 0, 285, 180}};
inline constexpr Band mouthBand{"picMondBlanco", {0, 170, 285, 120}};

// Values 1 to 20 and 1 to 15, in value order. 0 has no entry: it leaves the band blank.
std::span<const Entry> eyes();
std::span<const Entry> mouths();

// The entry of a value, or nullptr when the value has none (0, negative, past the end).
const Entry* findEyes(int value);
const Entry* findMouth(int value);

} // namespace Catalogue
