#pragma once

#include "imageencoding.h"
#include "writeproblem.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>

// Writing every file the program and the renderer make, all or nothing: the bytes go to a
// temporary file with a short name of its own in the target's folder, are pushed onto the
// disk, and only then does that file take the target's name. On failure an existing file
// keeps its old bytes and no temporary file is left.

// Whether the write may take the place of a file that is already there.
enum class WriteMode
{
    // The file is created only if nothing has its name at the moment it would appear; else
    // the write fails with AlreadyExists and nothing changes.
    CreateNew,
    // An existing file is replaced in one step and its permissions (on Windows its hidden and
    // system attributes) are kept.
    Replace,
};

struct WriteResult
{
    WriteProblem problem = WriteProblem::None;
    QString systemText; // the system's own words, where it gave any

    bool ok() const { return problem == WriteProblem::None; }
    explicit operator bool() const { return ok(); }
};

WriteResult writeFileAtomically(const QString& path, const QByteArray& bytes, WriteMode mode);

// Encodes the image in the format (see encodeImage, also for shownSize) and writes it as
// writeFileAtomically does.
WriteResult writeImageFile(const QString& path, const QImage& image, ImageFormat format,
                           WriteMode mode, QSize shownSize = {});

// Who writes a face to a file. The save dialog takes one, so that a test can put its own in.
using ImageFileWriter =
    std::function<WriteResult(const QString& path, const QImage& image, WriteMode mode)>;

// The writer the save dialog uses: writeImageFile as a BMP file.
WriteResult writeBmpFile(const QString& path, const QImage& image, WriteMode mode);
