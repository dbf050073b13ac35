#pragma once

#include "atomicfile.h"

#include <QString>
#include <QTemporaryDir>

// A folder that appears whole or not at all: it is filled under a temporary name of its own
// beside its place, and only then given its name, in one step. Until then the place is left
// as it was; a staged folder that never gets its name is removed, with everything written
// into it, when the StagedFolder goes.
class StagedFolder
{
public:
    explicit StagedFolder(const QString& target);

    // False when the temporary folder could not be made.
    bool isValid() const { return m_staging.isValid(); }

    // Where a file of the folder is written before it is placed.
    QString filePath(const QString& name) const { return m_staging.filePath(name); }

    // Gives the folder its name. CreateNew fails with AlreadyExists when anything has the
    // name. Replace moves a folder that has the name aside, puts the new one in its place and
    // then removes the old one; when the new folder cannot take the name, the old one gets
    // it back.
    WriteResult place(WriteMode mode);

private:
    QString m_target;
    QTemporaryDir m_staging;
};
