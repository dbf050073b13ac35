#include "atomicfile.h"

#include "native.h"
#include "savetarget.h"
#include "system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QStorageInfo>
#include <QThread>

namespace {

// A program that holds the file open (a viewer, a virus scanner) often lets go within
// moments: the file is tried again for about a second.
constexpr int inUseRetries = 5;
constexpr unsigned long inUsePauseMs = 200;

// The temporary file is called ".~sm" and six random letters or digits: ten bytes, however
// long the target's name is, so every name the file system holds can be written.
QString temporaryName()
{
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString name = QStringLiteral(".~sm");
    for (int i = 0; i < 6; ++i) {
        name += QLatin1Char(letters[QRandomGenerator::global()->bounded(36)]);
    }
    return name;
}

// When the system's error code was lost or says nothing clear, look at the place itself.
WriteProblem diagnose(const QString& path, qint64 size)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir()) {
        return WriteProblem::FolderGone;
    }
    if (target.isDir()) {
        return WriteProblem::IsFolder;
    }
    // A name longer than the file system takes may be reported as a bad name or a bad path.
    if (SaveTarget::fileNameProblem(target.fileName(), Native::nameRules(),
                                    System::nameMax(folder.absoluteFilePath()))
            .refusal == SaveTarget::NameRefusal::NameTooLong) {
        return WriteProblem::NameTooLong;
    }
    const QStorageInfo volume(folder.absoluteFilePath());
    if (volume.isValid() && volume.isReadOnly()) {
        return WriteProblem::ReadOnlyMedium;
    }
    if (!folder.isWritable() || (target.exists() && !target.isWritable())) {
        return WriteProblem::NoPermission;
    }
    if (volume.isValid() && volume.bytesAvailable() >= 0 && volume.bytesAvailable() < size) {
        return WriteProblem::DiskFull;
    }
    return WriteProblem::Unknown;
}

WriteResult failure(int error, const QString& from, const QString& path, qint64 size,
                    const QString& systemText)
{
    WriteProblem problem = System::writeProblemOf(error);
    // Windows says no more than "access denied" when a folder or a read-only file has the
    // name, or when another program holds what is moved or what it replaces: the place itself
    // tells which.
    if (problem == WriteProblem::NoPermission || problem == WriteProblem::Unknown) {
        if (QFileInfo(path).isDir()) {
            return {WriteProblem::IsFolder, systemText};
        }
        if (System::isReadOnlyFile(path)) {
            return {WriteProblem::ReadOnlyFile, systemText};
        }
        if (System::isInUse(path) || (!from.isEmpty() && System::isInUse(from))) {
            return {WriteProblem::InUse, systemText};
        }
    }
    // "No such file" may also mean a place that holds no files of ours (a kernel file system,
    // say): only a folder that is really gone is reported as gone.
    if (problem == WriteProblem::Unknown || (problem == WriteProblem::FolderGone &&
                                             QFileInfo(QFileInfo(path).absolutePath()).isDir())) {
        problem = diagnose(path, size);
    }
    return {problem, systemText};
}

// The placement itself; size is what the entry takes on the disk, for the diagnosis.
WriteResult place(const QString& from, const QString& to, WriteMode mode, qint64 size)
{
    const bool folder = QFileInfo(from).isDir();
    for (int retry = 0;; ++retry) {
        WriteResult failed;
        // Windows does not rename a folder while a file in it is held open without sharing
        // its deletion, and such a file could not be removed from a folder that is set aside
        // either (Wine renames the folder all the same): until it is let go, the folder counts
        // as in use.
        if (folder && System::isInUse(from)) {
            failed = {WriteProblem::InUse, {}};
        } else {
            const System::Move move = System::moveIntoPlace(from, to, mode == WriteMode::Replace);
            switch (move.outcome) {
            case System::MoveOutcome::Moved:
                return {};
            case System::MoveOutcome::TargetExists:
                return {WriteProblem::AlreadyExists, {}};
            case System::MoveOutcome::Failed:
                break;
            }
            failed = failure(move.error, from, to, size, {});
        }
        if (failed.problem != WriteProblem::InUse || retry == inUseRetries) {
            return failed;
        }
        QThread::msleep(inUsePauseMs);
    }
}

} // namespace

WriteResult writeFileAtomically(const QString& path, const QByteArray& bytes, WriteMode mode)
{
    const QFileInfo target(path);
    const QDir folder = target.absoluteDir();

    // A file marked read-only is not replaced (Windows refuses it too, though not every
    // file system that Windows reaches does).
    if (mode == WriteMode::Replace && System::isReadOnlyFile(path)) {
        return {WriteProblem::ReadOnlyFile, {}};
    }

    // A new file of our own, never one that is there already.
    QFile temporary;
    int openError = 0;
    constexpr int attempts = 16;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        temporary.setFileName(folder.filePath(temporaryName()));
        if (temporary.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            break;
        }
        openError = System::lastError();
        if (!QFileInfo::exists(temporary.fileName())) {
            break; // not a name that was taken: trying another one will not help
        }
    }
    if (!temporary.isOpen()) {
        return failure(openError, {}, path, bytes.size(), temporary.errorString());
    }
    bool placed = false;
    const auto removeTemporary = qScopeGuard([&] {
        if (!placed) {
            temporary.close();
            temporary.remove();
        }
    });

    // QFile buffers what is written; a failed last flush of that buffer is only seen when it
    // is asked for. So everything is flushed and checked, and pushed onto the disk, before
    // the file takes the target's name.
    if (temporary.write(bytes) != bytes.size() || !temporary.flush() ||
        temporary.error() != QFileDevice::NoError || temporary.size() != bytes.size()) {
        const int error = System::lastError();
        return failure(error, {}, path, bytes.size(), temporary.errorString());
    }
    if (const int error = System::flushToDisk(temporary); error != 0) {
        return failure(error, {}, path, bytes.size(), temporary.errorString());
    }
    temporary.close();
    if (temporary.error() != QFileDevice::NoError) {
        const int error = System::lastError();
        return failure(error, {}, path, bytes.size(), temporary.errorString());
    }
    if (mode == WriteMode::Replace && target.isFile()) {
        // The new file keeps the permissions the old one had.
        System::keepAttributes(path, temporary.fileName());
    }

    const WriteResult result = place(temporary.fileName(), path, mode, bytes.size());
    placed = result.ok();
    return result;
}

WriteResult placeAtomically(const QString& from, const QString& to, WriteMode mode)
{
    const QFileInfo entry(from);
    return place(from, to, mode, entry.isFile() ? entry.size() : 0);
}

WriteResult writeImageFile(const QString& path, const QImage& image, ImageFormat format,
                           WriteMode mode, QSize shownSize)
{
    const QByteArray bytes = encodeImage(image, format, shownSize);
    if (bytes.isEmpty()) {
        return {WriteProblem::NotEncoded, {}};
    }
    return writeFileAtomically(path, bytes, mode);
}

WriteResult writeBmpFile(const QString& path, const QImage& image, WriteMode mode)
{
    return writeImageFile(path, image, ImageFormat::Bmp, mode);
}
