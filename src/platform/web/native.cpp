// The choices that follow from the system, in a browser.

#include "native.h"

namespace Native {

SaveTarget::NameRules nameRules()
{
    // The file system in memory underneath; what leaves the page is a download, whose name
    // is held to the strictest rules on its own (see SaveFlow::download).
    return SaveTarget::NameRules::Posix;
}

int parallelWrites()
{
    // The page runs on one thread.
    return 1;
}

bool drawsOffscreen()
{
    return false;
}

QStringList dialogFontFamilies()
{
    // A page has only the fonts Qt brings; its sans-serif face stands in.
    return {};
}

} // namespace Native
