#pragma once

#include "volume.h"

#include <QList>
#include <QString>

// The volumes to offer, the root file system (or on Windows the first drive) first, the
// others after it in the order of their root paths. Listing them never waits on a network
// or FUSE file system: those are listed from the mount table alone, and looked at only once
// the user chooses one.
QList<Volume> userVolumes();

// The volume that holds a path, whether or not userVolumes() offers it.
Volume volumeOf(const QString& path);
