#pragma once

#include "volume.h"
#include "writeproblem.h"

#include <QList>
#include <QString>

#include <optional>

class QFileDevice;

// What the platform services do differently on each operating system, in one place for
// each: system.cpp in the system's room (posix/, windows/). Only the services of this folder
// use it; it uses none of them.
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

// True when another program holds the file at path open so that it cannot be replaced now
// (Windows: opened without sharing its deletion), or for a folder the folder or anything in
// it; always false on Posix systems.
bool isInUse(const QString& path);

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

// Requests from outside to stop the program: Ctrl+C, SIGTERM, a closed terminal (SIGHUP) and,
// on Windows, a closed console window. Once caught, a request only notes itself, so that the
// work can ask for it between its steps and clear up; a request the program was started to
// ignore (nohup, a background job) stays ignored. Released, they are handled as before; on
// Windows a closed window, whose handler the system ends the program after, waits until then.
void catchStopRequests();
void releaseStopRequests();

// The request that came while they were caught, or 0.
int stopRequest();

// Ends the program as the request would have ended it, had it not been caught; does nothing
// for 0.
void endAsRequested(int request);

// The per-user settings store (see settingstore.h): a string under an application, a section
// and a key, held as the plain string it is. Windows: the registry value key, of type REG_SZ,
// under HKEY_CURRENT_USER\Software\application\section; elsewhere the key in
// application/section.conf in the user's configuration folder, which Qt's settings read
// back as it was written. Nothing is read where the value is missing or no string, or the
// store cannot be read.
std::optional<QString> readSetting(const QString& application, const QString& section,
                                   const QString& key);

// Returns false when the value could not be stored.
bool writeSetting(const QString& application, const QString& section, const QString& key,
                  const QString& value);

} // namespace System
