#include "facefile.h"

#include "bmpencoding.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

FaceFileWriter& replacementWriter()
{
    static FaceFileWriter instance;
    return instance;
}

// What went wrong, as far as the user can do something about it.
enum class Problem
{
    NoPermission,
    ReadOnlyMedium,
    DiskFull,
    NameTooLong,
    FolderGone,
    IsFolder,
    Unknown,
};

Problem fromErrno(int code)
{
    switch (code) {
    case EACCES:
    case EPERM:
        return Problem::NoPermission;
    case EROFS:
        return Problem::ReadOnlyMedium;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return Problem::DiskFull;
    case ENAMETOOLONG:
        return Problem::NameTooLong;
    case ENOENT:
    case ENOTDIR:
        return Problem::FolderGone;
    case EISDIR:
        return Problem::IsFolder;
    default:
        return Problem::Unknown;
    }
}

// When the system's error code was lost or says nothing clear, look at the place itself.
Problem diagnose(const QString& path, qint64 size)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir()) {
        return Problem::FolderGone;
    }
    if (target.isDir()) {
        return Problem::IsFolder;
    }
    const QStorageInfo volume(folder.absoluteFilePath());
    if (volume.isValid() && volume.isReadOnly()) {
        return Problem::ReadOnlyMedium;
    }
    if (!folder.isWritable() || (target.exists() && !target.isWritable())) {
        return Problem::NoPermission;
    }
    if (volume.isValid() && volume.bytesAvailable() >= 0 && volume.bytesAvailable() < size) {
        return Problem::DiskFull;
    }
    return Problem::Unknown;
}

QString describe(Problem problem, const QString& systemText)
{
    switch (problem) {
    case Problem::NoPermission:
        return QStringLiteral("Je hebt geen toestemming om op deze plek een bestand op te slaan.");
    case Problem::ReadOnlyMedium:
        return QStringLiteral("Op deze schijf kan alleen gelezen worden (schrijfbeveiligd).");
    case Problem::DiskFull:
        return QStringLiteral("De schijf is vol.");
    case Problem::NameTooLong:
        return QStringLiteral("De bestandsnaam of het pad is te lang.");
    case Problem::FolderGone:
        return QStringLiteral("Opgegeven map bestaat niet.");
    case Problem::IsFolder:
        return QStringLiteral("Er staat al een map met deze naam.");
    case Problem::Unknown:
        break;
    }
    return systemText.isEmpty()
               ? QStringLiteral("Het bestand kon niet worden geschreven.")
               : QStringLiteral("Het bestand kon niet worden geschreven (%1).").arg(systemText);
}

FaceFileResult failure(int code, const QString& path, qint64 size, const QString& systemText)
{
    Problem problem = fromErrno(code);
    // "No such file" may also mean a place that holds no files of ours (a kernel file system,
    // say): only a folder that is really gone is reported as gone.
    if (problem == Problem::Unknown ||
        (problem == Problem::FolderGone && QFileInfo(QFileInfo(path).absolutePath()).isDir())) {
        problem = diagnose(path, size);
    }
    return {false, describe(problem, systemText)};
}

} // namespace

FaceFileResult writeBytesAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        const int code = errno;
        return failure(code, path, bytes.size(), file.errorString());
    }

    // QSaveFile holds what is written in a buffer and, on Qt 6.4, commit() does not notice
    // when the last flush of that buffer fails (a full disk then leaves a cut-off file in
    // place of the old one). So everything is flushed and checked here, before commit().
    errno = 0;
    bool written = file.write(bytes) == bytes.size() && file.flush() &&
                   file.error() == QFileDevice::NoError && file.size() == bytes.size();
#ifdef Q_OS_UNIX
    // Some file systems only report a lost write when it reaches the disk.
    if (written && ::fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS) {
        written = false;
    }
#endif
    if (!written) {
        const int code = errno;
        // commit() forgets the error text, so it is taken first.
        const QString systemText = file.errorString();
        file.cancelWriting();
        file.commit(); // removes the temporary file; the old file stays as it was
        return failure(code, path, bytes.size(), systemText);
    }

    errno = 0;
    if (!file.commit()) {
        const int code = errno;
        return failure(code, path, bytes.size(), file.errorString());
    }
    return {true, {}};
}

FaceFileResult writeFaceFile(const QString& path, const QImage& image)
{
    if (replacementWriter()) {
        return replacementWriter()(path, image);
    }
    const QByteArray bytes = encodeBmp(image);
    if (bytes.isEmpty()) {
        return {false, QStringLiteral("Het plaatje kon niet als BMP-bestand worden opgemaakt.")};
    }
    return writeBytesAtomically(path, bytes);
}

void setFaceFileWriter(FaceFileWriter writer)
{
    replacementWriter() = std::move(writer);
}
