// The choices that follow from the system, on Windows.

#include "native.h"

namespace Native {

SaveTarget::NameRules nameRules()
{
    return SaveTarget::NameRules::Windows;
}

int parallelWrites()
{
    // One after another on the caller's thread: a thread that ends after Qt has used its
    // regular-expression engine on it can crash in PCRE2's clean-up of its per-thread stack
    // (seen under Wine, with the threads of a QThreadPool as with plain ones).
    return 1;
}

bool drawsOffscreen()
{
    // The system's own platform always works, and brings the system's fonts.
    return false;
}

QStringList dialogFontFamilies()
{
    // Windows' "MS Sans Serif" is a bitmap font, which Qt does not draw; its TrueType
    // successor looks the same, and Tahoma stands in where even that is missing.
    return {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma")};
}

} // namespace Native
