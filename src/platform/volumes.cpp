#include "volumes.h"

#include "mounttable.h"
#include "system.h"

#include <QDir>
#include <QSet>
#include <QStorageInfo>

#include <algorithm>

namespace {

bool isRoot(const QString& rootPath)
{
    return rootPath == QLatin1String("/");
}

} // namespace

QList<Volume> userVolumes()
{
    return System::listVolumes();
}

QList<Volume> volumesOfMountTable(const QByteArray& table,
                                  const std::function<QString(const QString&)>& label,
                                  const std::function<bool(const QString&)>& isFolder)
{
    QList<Volume> volumes;
    QSet<QString> seen;
    for (const MountEntry& entry : parseMountTable(table)) {
        const QString& root = entry.mountPoint;
        if (seen.contains(root) || !holdsUserFiles(entry.fileSystemType, root)) {
            continue;
        }
        if (mayNotAnswer(entry.fileSystemType)) {
            seen.insert(root);
            volumes.append({root, root});
            continue;
        }
        // A file mounted over another file (containers do that) is no place to save to.
        if (!isFolder(root)) {
            continue;
        }
        seen.insert(root);
        volumes.append({root, label(root)});
    }
    std::stable_sort(volumes.begin(), volumes.end(), [](const Volume& a, const Volume& b) {
        if (isRoot(a.rootPath) != isRoot(b.rootPath)) {
            return isRoot(a.rootPath);
        }
        return a.rootPath < b.rootPath;
    });
    return volumes;
}

Volume volumeOf(const QString& path)
{
    const QStorageInfo info(path);
    const QString root = info.isValid() ? info.rootPath() : QDir::rootPath();
    return {root, System::volumeLabel(root)};
}
