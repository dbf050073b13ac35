#include "mounttable.h"

#include <QSet>

#include <algorithm>
#include <array>

namespace {

bool isBelow(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// The kernel writes a space, tab, newline and backslash in a path as \040, \011, \012, \134.
QString unescaped(const QByteArray& field)
{
    const auto isOctal = [](char c) {
        return c >= '0' && c <= '7';
    };
    QByteArray bytes;
    bytes.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field.at(i) == '\\' && i + 3 < field.size() && isOctal(field.at(i + 1)) &&
            isOctal(field.at(i + 2)) && isOctal(field.at(i + 3))) {
            bytes.append(static_cast<char>((field.at(i + 1) - '0') * 64 +
                                           (field.at(i + 2) - '0') * 8 + (field.at(i + 3) - '0')));
            i += 3;
        } else {
            bytes.append(field.at(i));
        }
    }
    return QString::fromLocal8Bit(bytes);
}

bool isRoot(const QString& rootPath)
{
    return rootPath == QLatin1String("/");
}

} // namespace

QList<MountEntry> parseMountTable(const QByteArray& table)
{
    QList<MountEntry> entries;
    for (const QByteArray& line : table.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        // mountinfo: id parent major:minor root mount-point options [optional...] - type ...
        const qsizetype dash = fields.indexOf("-");
        if (dash >= 6 && dash + 1 < fields.size()) {
            entries.append({unescaped(fields.at(4)), fields.at(dash + 1)});
            continue;
        }
        // mounts: source mount-point type options dump pass
        if (dash < 0 && fields.size() >= 4 && fields.at(1).startsWith('/')) {
            entries.append({unescaped(fields.at(1)), fields.at(2)});
        }
    }
    return entries;
}

bool mayNotAnswer(const QByteArray& fileSystemType)
{
    static const QSet<QByteArray> remote = {
        "nfs",  "nfs4",  "cifs",      "smb3",     "smbfs",   "sshfs", "9p",
        "ceph", "afs",   "glusterfs", "davfs",    "ncpfs",   "coda",  "lustre",
        "gfs2", "ocfs2", "beegfs",    "orangefs", "fuseblk", "fuse",
    };
    return remote.contains(fileSystemType) || fileSystemType.startsWith("fuse.") ||
           fileSystemType.startsWith("fuse3.");
}

bool holdsUserFiles(const QByteArray& fileSystemType, const QString& rootPath)
{
    if (rootPath == QLatin1String("/")) {
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
