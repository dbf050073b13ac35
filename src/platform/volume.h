#pragma once

#include <QString>

// The places a user saves to, as the drive list of the save dialog offers them: the drive
// letters on Windows, the mounted volumes that hold real files elsewhere (see
// holdsUserFiles() in mounttable.h).
struct Volume
{
    QString rootPath; // with '/' separators: "/", "/media/anna/STICK", "C:/"
    QString label;    // what the list shows

    friend bool operator==(const Volume&, const Volume&) = default;
};
