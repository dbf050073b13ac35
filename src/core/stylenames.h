#pragma once

#include "catalogue.h"

#include <QString>
#include <QStringView>

#include <optional>

// Styles by name. Every style has one name (its catalogue entry's), which the window shows,
// the renderer takes and prints, and the pack names its files with: lower-case letters and
// hyphens, so that it needs no quotes in a shell and makes a file name on every system
// ("standaard", "tong-uit", "rollende-ogen"). Value 0, no style, is "geen".
namespace StyleNames {

enum class Part
{
    Eyes,
    Mouth,
};

inline constexpr QStringView noStyleName = u"geen";

// The highest value of a part's scroll bar.
int maximum(Part part);

// The name of a value of a part: "geen" for 0, an empty string for a value without a style.
QString nameOf(Part part, int value);

// A value from text: a number within the part's range (0 to maximum), or a style name in
// any mix of upper and lower case. The names styles had before, their picture box names
// without "picOog" or "picMond" ("tong", "monddicht", "twijvelend"), are taken as well, so
// that older scripts still run. Nothing for anything else.
std::optional<int> resolve(Part part, QStringView text);

} // namespace StyleNames
