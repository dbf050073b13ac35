#pragma once

#include "volume.h"
#include "writeproblem.h"

#include <QList>
#include <QString>

class QFileDevice;

// What the platform services do differently on each operating system, in one place for
// each: system_posix.cpp and system_windows.cpp. Only the services of this folder use it; it
// uses none of them.
namespace System {

// The error code of the call that just failed: errno, or GetLastError() on Windows.
int lastError();

// What an error code of this system means for a write.
WriteProblem writeProblemOf(int error);

// Pushes what was written to the open file onto the disk. Returns 0, or the error code when
// the disk refuses (some file systems only report a lost write here).
int flushToDisk(QFileDevice& file);

enum class MoveOutcome
{
    Moved,
    TargetExists, // only when not replacing: the target was there, nothing was moved
    Failed,
};

struct Move
{
    MoveOutcome outcome = MoveOutcome::Failed;
    int error = 0; // when Failed
};

// Gives the file at from the name to, in the same folder, in one step. With replace, a file
// already called to is replaced; without, the move fails with TargetExists when anything
// has that name, even if it appeared a moment ago.
Move moveIntoPlace(const QString& from, const QString& to, bool replace);

// Gives the new file at to the permissions of the file at from that it replaces; on Windows
// its hidden, system and archive attributes (not read-only: such a file is not replaced).
void keepAttributes(const QString& from, const QString& to);

// True when the file at path is marked read-only, so that it cannot be replaced (Windows);
// always false on Posix systems, where the folder's permissions decide.
bool isReadOnlyFile(const QString& path);

// True when the user may enter the folder (the x permission on Posix systems).
bool mayEnter(const QString& folder);

// What the file system of a folder allows for names (see SaveTarget::NameLimits).
qsizetype nameMax(const QString& folder);
qsizetype pathMax(const QString& folder);

// The volumes a user saves to (see userVolumes()), without waiting on a network or FUSE
// file system.
QList<Volume> listVolumes();

// How the drive list shows the volume with this root.
QString volumeLabel(const QString& rootPath);

} // namespace System
