// Whether output goes to a terminal, on Linux and other Posix systems.

#include "terminal.h"

#include <unistd.h>

bool isTerminal(std::FILE* stream)
{
    return ::isatty(::fileno(stream)) != 0;
}
