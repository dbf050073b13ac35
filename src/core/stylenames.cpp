#include "stylenames.h"

#include <array>

namespace StyleNames {

namespace {

// Box names start with one of these, in the case the window gives them ("PicOogMoe").
constexpr std::array<QStringView, 2> prefixes{u"picOog", u"picMond"};

const Catalogue::Entry* find(Part part, int value)
{
    return part == Part::Eyes ? Catalogue::findEyes(value) : Catalogue::findMouth(value);
}

std::span<const Catalogue::Entry> entries(Part part)
{
    return part == Part::Eyes ? Catalogue::eyes() : Catalogue::mouths();
}

QString toQString(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The name a style had before it had one of its own: its box name without the prefix.
QString formerName(const Catalogue::Entry& entry)
{
    const QString box = toQString(entry.box);
    for (const QStringView prefix : prefixes) {
        if (box.startsWith(prefix, Qt::CaseInsensitive)) {
            return box.sliced(prefix.size());
        }
    }
    return box;
}

std::optional<int> number(QStringView text, int highest)
{
    // Digits only: no sign, no spaces, no other numerals, and few enough not to overflow.
    if (text.isEmpty() || text.size() > 4) {
        return std::nullopt;
    }
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value > highest) {
        return std::nullopt;
    }
    return value;
}

} // namespace

int maximum(Part part)
{
    return part == Part::Eyes ? Catalogue::eyeMaximum : Catalogue::mouthMaximum;
}

QString nameOf(Part part, int value)
{
    if (value == 0) {
        return noStyleName.toString();
    }
    const Catalogue::Entry* entry = find(part, value);
    return entry ? toQString(entry->name) : QString();
}

std::optional<int> resolve(Part part, QStringView text)
{
    if (const std::optional<int> value = number(text, maximum(part))) {
        return value;
    }
    if (text.compare(noStyleName, Qt::CaseInsensitive) == 0) {
        return 0;
    }
    for (const Catalogue::Entry& entry : entries(part)) {
        if (text.compare(toQString(entry.name), Qt::CaseInsensitive) == 0 ||
            text.compare(formerName(entry), Qt::CaseInsensitive) == 0) {
            return entry.value;
        }
    }
    return std::nullopt;
}

} // namespace StyleNames
