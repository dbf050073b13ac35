#pragma once

#include <QImage>
#include <QString>

#include <functional>

// Writing a face to disk as a 24-bit BMP file.
struct FaceFileResult
{
    bool ok = false;
    QString reason; // when not ok: why, as a Dutch sentence for the user

    explicit operator bool() const { return ok; }
};

// Writes the image to the path as a BMP file, all or nothing: the new file is written next
// to the old one under a temporary name and takes its place only once every byte is on the
// disk. On failure an existing file keeps its old bytes and no temporary file is left.
FaceFileResult writeFaceFile(const QString& path, const QImage& image);

// Writes the bytes to the path all or nothing, as writeFaceFile does; for files of other
// formats made from a face.
FaceFileResult writeBytesAtomically(const QString& path, const QByteArray& bytes);

// Tests that are about the dialog rather than the disk replace the writer: while one is set,
// writeFaceFile hands every write to it. Pass an empty function to write to disk again.
using FaceFileWriter = std::function<FaceFileResult(const QString& path, const QImage& image)>;
void setFaceFileWriter(FaceFileWriter writer);
