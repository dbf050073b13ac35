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
// keeps its old bytes and no temporary file is left. A file that another program holds open
// is tried again for about a second before the write gives up.

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

// Gives a file or a folder that was made under a temporary name of its own the name to, in
// the same folder, in one step: how the writer puts its files in place, and how a folder that
// appears whole gets its name. Replace replaces a file only; a folder takes a name that
// nothing has. What another program holds open (the file, or for a folder the folder or a
// file in it: an Explorer window, a viewer, a virus scanner) is tried again for about a
// second; a failure is told as the writer tells it, from the system's answer and the place.
WriteResult placeAtomically(const QString& from, const QString& to, WriteMode mode);

// Encodes the image in the format (see encodeImage, also for shownSize) and writes it as
// writeFileAtomically does.
WriteResult writeImageFile(const QString& path, const QImage& image, ImageFormat format,
                           WriteMode mode, QSize shownSize = {});

// Who writes a face to a file. The save dialog takes one, so that a test can put its own in.
using ImageFileWriter =
    std::function<WriteResult(const QString& path, const QImage& image, WriteMode mode)>;

// The writer the save dialog uses: writeImageFile as a BMP file.
WriteResult writeBmpFile(const QString& path, const QImage& image, WriteMode mode);
