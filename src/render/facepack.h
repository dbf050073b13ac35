#pragma once

#include "renderoptions.h"

#include <QString>
#include <QTextStream>

#include <functional>

// Every face there is (each eye style, 0 included, with each mouth style) as a file of its
// own in a new folder, named from the style names ("knipoog-blij.png", "geen-geen.svg"),
// in the format, size and transparency the options ask for, with index.csv listing the name,
// eye style, mouth style and file of each. The folder appears whole or not at all, also when
// the program is asked to stop part-way; one that is already there is left alone, unless
// options.force asks to replace an earlier pack and the folder holds that and nothing else.
namespace FacePack {

inline const QString indexName = QStringLiteral("index.csv");

// The file name of one face of a pack.
QString fileName(int eyes, int mouth, ImageFormat format);

// Told after each face that was written, with the number written so far and the total.
using Progress = std::function<void(int written, int total)>;

// Writes the pack into options.output. Failures are reported on err in Dutch; returns the
// exit status (see ExitStatus).
int write(const RenderOptions& options, QTextStream& err, const Progress& progress);

} // namespace FacePack
