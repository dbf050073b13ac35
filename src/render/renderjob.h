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
// program. Returns the exit status (see ExitStatus). With showProgress a pack counts the
// faces it has written on err, in place.
int runCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err,
                   bool showProgress = false);

// Carries out parsed options. Returns the exit status.
int runRender(const RenderOptions& options, QTextStream& out, QTextStream& err,
              bool showProgress = false);

// A picture as it is written: the image, and the size an SVG drawing of it is shown at.
struct RenderedPicture
{
    QImage image;
    QSize shownSize;
};

// One face as the options make it: composed in their drawing order and made transparent
// when asked; then, for BMP and PNG, enlarged by options.scale or fitted into options.fit,
// while an SVG drawing keeps the face's own pixels and is shown at that size. eyes and mouth
// are taken from the arguments, so that a random choice can be passed in.
RenderedPicture renderFace(const RenderOptions& options, int eyes, int mouth);

// A failure, in Dutch, on err: "snoetjesmal-render: " and the message.
void reportError(QTextStream& err, const QString& message);

// The two catalogues, one line a style: the part, the value and the name ("ogen  5  tong-uit").
QString styleList();
