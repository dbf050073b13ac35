// The clipboard formats on Linux and other Posix systems: the MIME types are the system's own
// names, so Qt offers them as they are.

#include "clipboardformats.h"

void registerClipboardFormats() {}
