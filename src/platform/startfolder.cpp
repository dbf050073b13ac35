#include "startfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace StartFolder {

namespace {

// The same folder however it is written: other separators, a trailing one, another case of
// letters where the file system ignores case, a link.
bool sameFolder(const QString& a, const QString& b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    return first.isDir() && second.isDir() && first == second;
}

} // namespace

QString choose(const Places& places)
{
    if (places.program.isEmpty() || !sameFolder(places.current, places.program)) {
        return places.current;
    }
    for (const QString& folder : places.userFolders) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
            return folder;
        }
    }
    return places.current;
}

Places ofThisProcess()
{
    // On Windows QStandardPaths asks the shell for the known folders (SHGetKnownFolderPath),
    // so a Pictures folder moved to another drive is found where it is.
    return {QDir::currentPath(),
            QCoreApplication::applicationDirPath(),
            {QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
             QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
             QDir::homePath()}};
}

QString forSaveDialog()
{
    return choose(ofThisProcess());
}

} // namespace StartFolder
