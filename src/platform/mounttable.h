#pragma once

#include "volume.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// The mount table as the kernel gives it (/proc/self/mountinfo, or /proc/mounts), read
// without asking any mounted file system anything: a network or FUSE file system that no
// longer answers would hold up whoever asked it.
struct MountEntry
{
    QString mountPoint;
    QByteArray fileSystemType; // "ext4", "nfs4", "fuse.sshfs", ...

    friend bool operator==(const MountEntry&, const MountEntry&) = default;
};

// The entries of a mount table in either format, in the order given. Lines that are not
// entries are left out; the escapes of the kernel (\040 for a space) are undone.
QList<MountEntry> parseMountTable(const QByteArray& table);

// True for file systems that live elsewhere (NFS, SMB, Ceph, 9p, ...) and for FUSE ones:
// asking them anything may wait for as long as their server or process does not answer.
bool mayNotAnswer(const QByteArray& fileSystemType);

// False for what the kernel mounts for itself (proc, sysfs, cgroups, device nodes), for
// memory-backed tmpfs and ramfs (emptied at every start, so no place to keep a picture), for
// read-only package images (squashfs) and for the system's own mount points below /boot,
// /dev, /proc, /run (except the removable media below /run/media), /snap and /sys. The root
// file system always counts.
bool holdsUserFiles(const QByteArray& fileSystemType, const QString& rootPath);

// The volumes of a mount table, in the order userVolumes() gives them, each listed once;
// label gives the label of a volume that may be asked. Network and FUSE file systems are
// labelled by their root path, and only local ones are checked (isFolder) before they are
// offered.
QList<Volume> volumesOfMountTable(const QByteArray& table,
                                  const std::function<QString(const QString&)>& label,
                                  const std::function<bool(const QString&)>& isFolder);
