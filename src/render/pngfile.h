#pragma once

#include "facefile.h"

#include <QImage>
#include <QString>

// Writes the image to the path as a PNG file, keeping its alpha channel, all or nothing as
// writeFaceFile does for BMP files: the file is written under a temporary name next to the
// target and takes its place only when complete. On failure an existing file keeps its old
// bytes and no temporary file is left.
FaceFileResult writePngFile(const QString& path, const QImage& image);
