#pragma once

#include "catalogue.h"

#include <QString>
#include <QStringView>

#include <optional>

// Styles by name, for people who type them: the name of a style is its picture box name
// without "picOog" or "picMond", in lower case ("standaard", "blij", "moe", and for the mouth
// "twijvelend" as its box spells it). Value 0, no style, is called "geen".
namespace StyleNames {

enum class Part
{
    Eyes,
    Mouth,
};

inline constexpr QStringView noStyleName = u"geen";

// The highest value of a part's scroll bar.
int maximum(Part part);

// The name of a catalogue entry.
QString nameOf(const Catalogue::Entry& entry);

// The name of a value of a part: "geen" for 0, an empty string for a value without a style.
QString nameOf(Part part, int value);

// A value from text: a number within the part's range (0 to maximum), or a style name in
// any mix of upper and lower case. Nothing for anything else.
std::optional<int> resolve(Part part, QStringView text);

} // namespace StyleNames
