#pragma once

#include <QList>
#include <QString>

#include <functional>

// The places a user saves to, as the drive list of the save dialog offers them: the drive
// letters on Windows, the mounted volumes that hold real files elsewhere (see
// holdsUserFiles() in mounttable.h).
struct Volume
{
    QString rootPath; // with '/' separators: "/", "/media/anna/STICK", "C:/"
    QString label;    // what the list shows

    friend bool operator==(const Volume&, const Volume&) = default;
};

// The volumes to offer, the root file system (or on Windows the first drive) first, the
// others after it in the order of their root paths. Listing them never waits on a network
// or FUSE file system: those are listed from the mount table alone, and looked at only once
// the user chooses one.
QList<Volume> userVolumes();

// The volumes of a mount table, in the order userVolumes() gives them, each listed once;
// label gives the label of a volume that may be asked. Network and FUSE file systems are
// labelled by their root path, and only local ones are checked (isFolder) before they are
// offered.
QList<Volume> volumesOfMountTable(const QByteArray& table,
                                  const std::function<QString(const QString&)>& label,
                                  const std::function<bool(const QString&)>& isFolder);

// The volume that holds a path, whether or not userVolumes() offers it.
Volume volumeOf(const QString& path);
