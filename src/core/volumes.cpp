#include "volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>

#include <algorithm>
#include <array>

namespace {

bool isRoot(const QString& rootPath)
{
    return rootPath == QLatin1String("/");
}

QString labelFor(const QString& rootPath, const QStorageInfo& info)
{
#ifdef Q_OS_WIN
    // "c:", with the volume's name where the drive is ready and has one: "c: [SYSTEEM]".
    const QString letter = rootPath.left(2).toLower();
    const QString name = info.isReady() ? info.name() : QString();
    return name.isEmpty() ? letter : QStringLiteral("%1 [%2]").arg(letter, name);
#else
    QString name = info.name();
    if (name.isEmpty() && isRoot(rootPath)) {
        name = QStringLiteral("systeem");
    }
    return name.isEmpty() ? rootPath : QStringLiteral("%1 [%2]").arg(rootPath, name);
#endif
}

bool isBelow(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

bool holdsUserFiles(const QByteArray& fileSystemType, const QString& rootPath)
{
    if (isRoot(rootPath)) {
        return true;
    }
    static const QSet<QByteArray> notForFiles = {
        "autofs",    "binfmt_misc",     "bpf",         "cgroup",     "cgroup2",
        "configfs",  "debugfs",         "devpts",      "devtmpfs",   "efivarfs",
        "fusectl",   "hugetlbfs",       "mqueue",      "nsfs",       "overlay",
        "proc",      "pstore",          "ramfs",       "rpc_pipefs", "securityfs",
        "selinuxfs", "squashfs",        "sysfs",       "tmpfs",      "tracefs",
        "nfsd",      "fuse.gvfsd-fuse", "fuse.portal", "fuse.lxcfs", "fuse.snapfuse",
    };
    if (notForFiles.contains(fileSystemType)) {
        return false;
    }
    if (rootPath.startsWith(QLatin1String("/run/media/"))) {
        return true;
    }
    static const std::array<QString, 6> systemPlaces = {
        QStringLiteral("/boot"), QStringLiteral("/dev"),  QStringLiteral("/proc"),
        QStringLiteral("/run"),  QStringLiteral("/snap"), QStringLiteral("/sys"),
    };
    return std::none_of(systemPlaces.begin(), systemPlaces.end(),
                        [&](const QString& place) { return isBelow(rootPath, place); });
}

QList<Volume> userVolumes()
{
    QList<Volume> volumes;
#ifdef Q_OS_WIN
    for (const QFileInfo& drive : QDir::drives()) {
        const QString root = drive.absoluteFilePath();
        volumes.append({root, labelFor(root, QStorageInfo(root))});
    }
#else
    QSet<QString> seen;
    for (const QStorageInfo& info : QStorageInfo::mountedVolumes()) {
        const QString root = info.rootPath();
        // A file mounted over another file (containers do that) is no place to save to.
        if (!info.isValid() || seen.contains(root) ||
            !holdsUserFiles(info.fileSystemType(), root) || !QFileInfo(root).isDir()) {
            continue;
        }
        seen.insert(root);
        volumes.append({root, labelFor(root, info)});
    }
    std::sort(volumes.begin(), volumes.end(), [](const Volume& a, const Volume& b) {
        if (isRoot(a.rootPath) != isRoot(b.rootPath)) {
            return isRoot(a.rootPath);
        }
        return a.rootPath < b.rootPath;
    });
#endif
    return volumes;
}

Volume volumeOf(const QString& path)
{
    const QStorageInfo info(path);
    const QString root = info.isValid() ? info.rootPath() : QDir::rootPath();
    return {root, labelFor(root, info)};
}
