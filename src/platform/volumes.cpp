#include "volumes.h"

#include "system.h"

#include <QDir>
#include <QStorageInfo>

QList<Volume> userVolumes()
{
    return System::listVolumes();
}

Volume volumeOf(const QString& path)
{
    const QStorageInfo info(path);
    const QString root = info.isValid() ? info.rootPath() : QDir::rootPath();
    return {root, System::volumeLabel(root)};
}
