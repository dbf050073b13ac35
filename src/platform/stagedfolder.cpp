#include "stagedfolder.h"

#include "system.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

namespace {

QString besideTarget(const QString& target, const QString& suffix)
{
    const QFileInfo info(target);
    return info.absoluteDir().filePath(u'.' + info.fileName() + suffix);
}

// A name beside the target that nothing has yet, as QTemporaryDir makes them.
QString asideName(const QString& target)
{
    return besideTarget(target, QStringLiteral(".~sm%1").arg(QRandomGenerator::global()->generate(),
                                                             8, 16, QLatin1Char('0')));
}

WriteResult failed(int error)
{
    return {System::writeProblemOf(error), {}};
}

} // namespace

StagedFolder::StagedFolder(const QString& target)
    : m_target(QFileInfo(target).absoluteFilePath()),
      m_staging(besideTarget(target, QStringLiteral(".~smXXXXXX")))
{
    // A temporary folder is private to its maker; the finished one is not.
    if (m_staging.isValid()) {
        QFile::setPermissions(m_staging.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                    QFile::ExeOwner | QFile::ReadGroup |
                                                    QFile::ExeGroup | QFile::ReadOther |
                                                    QFile::ExeOther);
    }
}

WriteResult StagedFolder::place(WriteMode mode)
{
    if (!m_staging.isValid()) {
        return {WriteProblem::Unknown, m_staging.errorString()};
    }
    QString aside;
    if (mode == WriteMode::Replace && QFileInfo::exists(m_target)) {
        aside = asideName(m_target);
        const System::Move moved = System::moveIntoPlace(m_target, aside, false);
        if (moved.outcome != System::MoveOutcome::Moved) {
            return failed(moved.error);
        }
    }
    const System::Move placed = System::moveIntoPlace(m_staging.path(), m_target, false);
    if (placed.outcome != System::MoveOutcome::Moved) {
        if (!aside.isEmpty()) {
            System::moveIntoPlace(aside, m_target, false);
        }
        return placed.outcome == System::MoveOutcome::TargetExists
                   ? WriteResult{WriteProblem::AlreadyExists, {}}
                   : failed(placed.error);
    }
    m_staging.setAutoRemove(false);
    if (!aside.isEmpty()) {
        QDir(aside).removeRecursively();
    }
    return {};
}
