#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The places a user saves to, as the drive list of the save dialog offers them: the drive
// letters on Windows, the mounted volumes that hold real files elsewhere.
struct Volume
{
    QString rootPath; // with '/' separators: "/", "/media/anna/STICK", "C:/"
    QString label;    // what the list shows

    friend bool operator==(const Volume&, const Volume&) = default;
};

// False for what the kernel mounts for itself (proc, sysfs, cgroups, device nodes), for
// memory-backed tmpfs and ramfs (emptied at every start, so no place to keep a picture), for
// read-only package images (squashfs) and for the system's own mount points below /boot,
// /dev, /proc, /run (except the removable media below /run/media), /snap and /sys. The root
// file system always counts.
bool holdsUserFiles(const QByteArray& fileSystemType, const QString& rootPath);

// The volumes to offer, the root file system (or on Windows the first drive) first, the
// others after it in the order of their root paths.
QList<Volume> userVolumes();

// The volume that holds a path, whether or not userVolumes() offers it.
Volume volumeOf(const QString& path);
