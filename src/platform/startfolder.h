#pragma once

#include <QString>
#include <QStringList>

// Where the save dialog opens first. Started from a command prompt, the program saves where
// that prompt is, as the dialog has always done. The Start menu, the installer's last page
// and a double-click on the program start it in its own folder instead, where no user looks
// for a picture (and which an uninstaller removes): then the dialog opens in the user's
// Pictures folder, or else Documents, or else the home folder.
namespace StartFolder {

struct Places
{
    QString current;         // the process's current folder
    QString program;         // the folder that holds the program itself
    QStringList userFolders; // where the user keeps pictures, the likeliest first
};

// current, unless it is the program's own folder; then the first of userFolders that is a
// folder, or current when none is.
QString choose(const Places& places);

// The places of this process and its user: on Windows the Pictures and Documents known
// folders and the profile folder, elsewhere their XDG counterparts and the home folder.
Places ofThisProcess();

// The folder the save dialog's drive and folder lists start at.
QString forSaveDialog();

} // namespace StartFolder
