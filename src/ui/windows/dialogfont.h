#pragma once

#include <QFont>

// The font of the windows: MS Sans Serif at 8.25 points where the system has it, otherwise
// the application's font (the system's sans-serif) at the same size.
QFont dialogFont(bool bold = false);
