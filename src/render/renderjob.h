#pragma once

#include "renderoptions.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QTextStream>

// Carrying out what the command line asks for, with the program's own pictures and
// composition. Messages go to err in Dutch; what was asked for (the list, the random
// choice, help and version) to out.

// The whole run of snoetjesmal-render for a command line whose first argument is the
// program. Returns the exit status (see ExitStatus).
int runCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err);

// Carries out parsed options. Returns the exit status.
int runRender(const RenderOptions& options, QTextStream& out, QTextStream& err);

// One face as the options make it: composed, made transparent when asked, then enlarged by
// options.scale or fitted into options.fit. eyes and mouth are taken from the arguments, so
// that a random choice can be passed in.
QImage renderFace(const RenderOptions& options, int eyes, int mouth);

// The two catalogues, one line a style: the part, the value, the box name, what it shows.
QString styleList();
