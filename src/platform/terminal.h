#pragma once

#include <cstdio>

// True when the stream goes to a terminal that a person watches, rather than to a file or
// a pipe: only then is progress worth showing.
bool isTerminal(std::FILE* stream);
