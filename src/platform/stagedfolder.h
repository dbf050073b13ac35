#pragma once

#include "atomicfile.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// A folder that appears whole or not at all: it is filled under a temporary name of its own
// beside its place, and only then given its name, in one step. Until then the place is left
// as it was; a staged folder that never gets its name is removed, with everything written
// into it, when the StagedFolder goes. It is made as the user makes a folder: with the
// permissions the user's umask gives.
class StagedFolder
{
public:
    explicit StagedFolder(const QString& target);
    ~StagedFolder();
    Q_DISABLE_COPY_MOVE(StagedFolder)

    // False when the temporary folder could not be made.
    bool isValid() const { return !m_staging.isEmpty(); }

    // Where a file of the folder is written before it is placed.
    QString filePath(const QString& name) const;

    // Which entries of a folder that has the target's name may go with it, all of them, or
    // std::nullopt when that folder is to stay.
    using Replaceable = std::function<std::optional<QStringList>(const QString& folder)>;

    struct Placement
    {
        WriteResult result; // AlreadyExists: something has the name and stays
        // Where the folder that had the name now is, or what is left of it, when it could
        // neither be given its name back nor be removed; empty otherwise.
        QString leftOver;
    };

    // Gives the folder its name (see placeAtomically). Without replaceable nothing that has
    // the name is replaced. With it, a folder that has the name is set aside under a
    // temporary name and asked there which entries may go; when all of them may, the new
    // folder takes the name and exactly those entries and then the old folder are removed.
    // Otherwise, and whenever the new folder cannot take the name, the old one gets it back.
    Placement place(const Replaceable& replaceable = {});

private:
    QString m_target;
    QString m_staging; // empty when it could not be made, or once it has been placed
};
