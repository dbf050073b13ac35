#include "stagedfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace {

// A name beside the target that nothing has yet: ".NAME.~sm" and eight random hexadecimal
// digits.
QString besideTarget(const QString& target)
{
    const QFileInfo info(target);
    return info.absoluteDir().filePath(
        QStringLiteral(".%1.~sm%2")
            .arg(info.fileName())
            .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
}

// Makes a new folder beside the target, as mkdir does (the umask decides its permissions);
// empty when none could be made.
QString newFolderBeside(const QString& target)
{
    constexpr int attempts = 16;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const QString folder = besideTarget(target);
        if (QDir().mkdir(folder)) {
            return folder;
        }
        if (!QFileInfo::exists(folder)) {
            break; // not a name that was taken: trying another one will not help
        }
    }
    return {};
}

// Removes the entries of a folder and then the folder; false when anything is left.
bool removeFolder(const QString& folder, const QStringList& entries)
{
    const QDir dir(folder);
    for (const QString& entry : entries) {
        QFile::remove(dir.filePath(entry));
    }
    return QDir().rmdir(folder);
}

} // namespace

StagedFolder::StagedFolder(const QString& target)
    : m_target(QFileInfo(target).absoluteFilePath()), m_staging(newFolderBeside(m_target))
{
}

StagedFolder::~StagedFolder()
{
    if (!m_staging.isEmpty()) {
        // Nothing but what was written into it: it has been ours alone.
        QDir(m_staging).removeRecursively();
    }
}

QString StagedFolder::filePath(const QString& name) const
{
    return QDir(m_staging).filePath(name);
}

StagedFolder::Placement StagedFolder::place(const Replaceable& replaceable)
{
    if (m_staging.isEmpty()) {
        return {{WriteProblem::Unknown, {}}, {}};
    }
    const QFileInfo there(m_target);
    QString aside;
    std::optional<QStringList> oldEntries;
    if (replaceable && there.isDir() && !there.isSymLink()) {
        aside = besideTarget(m_target);
        if (const WriteResult moved = placeAtomically(m_target, aside, WriteMode::CreateNew);
            !moved) {
            return {moved, {}};
        }
        oldEntries = replaceable(aside);
    }
    // The old folder gets its name back; where it cannot, the caller is told where it is.
    const auto putBack = [&](const WriteResult& why) -> Placement {
        if (!placeAtomically(aside, m_target, WriteMode::CreateNew)) {
            return {why, aside};
        }
        return {why, {}};
    };
    if (!aside.isEmpty() && !oldEntries) {
        return putBack({WriteProblem::AlreadyExists, {}});
    }
    if (const WriteResult placed = placeAtomically(m_staging, m_target, WriteMode::CreateNew);
        !placed) {
        return aside.isEmpty() ? Placement{placed, {}} : putBack(placed);
    }
    m_staging.clear();
    if (!aside.isEmpty() && !removeFolder(aside, *oldEntries)) {
        return {{}, aside};
    }
    return {};
}
