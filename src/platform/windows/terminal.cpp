// Whether output goes to a terminal, on Windows: a console.

#include "terminal.h"

#include <io.h>

bool isTerminal(std::FILE* stream)
{
    return _isatty(_fileno(stream)) != 0;
}
