// The choices that follow from the system, on Linux and other Posix systems.

#include "native.h"

namespace Native {

SaveTarget::NameRules nameRules()
{
    return SaveTarget::NameRules::Posix;
}

int parallelWrites()
{
    return 8;
}

bool drawsOffscreen()
{
    // Only images are drawn: no window system is needed, whatever the session has.
    return true;
}

QStringList dialogFontFamilies()
{
    return {QStringLiteral("MS Sans Serif")};
}

} // namespace Native
