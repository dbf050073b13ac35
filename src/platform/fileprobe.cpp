#include "fileprobe.h"

#include "system.h"

#include <QFileInfo>

namespace FileProbe {

bool isFolder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

bool canOpenFolder(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isReadable() && System::mayEnter(path);
}

Existing existingAt(const QString& path)
{
    // The exact name: no pattern search, so '*' and '?' are ordinary characters and hidden
    // files are found like any other.
    const QFileInfo info(path);
    if (info.isFile()) {
        return Existing::File;
    }
    // A link that leads nowhere does not "exist", but the name is taken all the same.
    if (info.exists() || info.isSymbolicLink()) {
        return Existing::Other;
    }
    return Existing::Nothing;
}

SaveTarget::NameLimits nameLimits(const QString& folder)
{
    return {System::nameMax(folder), System::pathMax(folder)};
}

} // namespace FileProbe
