#pragma once

#include "savetarget.h"

#include <QString>

// Looking at what is on the disk before a face is saved there.
namespace FileProbe {

// True when the path names an existing folder, or a link to one.
bool isFolder(const QString& path);

// True when the folder can be opened in the folder list: it is one, and its entries can
// be read and entered.
bool canOpenFolder(const QString& path);

// What is already there under exactly this name. Hidden files count, and wildcard
// characters in the name stand only for themselves.
enum class Existing
{
    Nothing,
    File,  // a file, or a link that leads to one
    Other, // a folder, a link to a folder or to nothing, a device or pipe
};

Existing existingAt(const QString& path);

// What the file system of the folder allows for names and paths.
SaveTarget::NameLimits nameLimits(const QString& folder);

} // namespace FileProbe
