#include "dragfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

DragFiles::DragFiles() = default;

DragFiles::~DragFiles() = default;

QString DragFiles::offer(const QString& name, const QByteArray& bytes)
{
    if (!m_lastPath.isEmpty() && QFileInfo(m_lastPath).fileName() == name && bytes == m_lastBytes &&
        QFileInfo::exists(m_lastPath)) {
        return m_lastPath;
    }
    m_lastPath.clear();
    if (!m_folder) {
        m_folder = std::make_unique<QTemporaryDir>();
    }
    QDir folder(m_folder->path());
    const QString sub = QString::number(++m_made);
    if (!m_folder->isValid() || !folder.mkdir(sub) || !folder.cd(sub)) {
        return {};
    }
    QFile file(folder.filePath(name));
    // Written through to the system, which keeps it for the readers; no flush to the disk.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        file.remove();
        return {};
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        file.remove();
        return {};
    }
    m_lastPath = file.fileName();
    m_lastBytes = bytes;
    return m_lastPath;
}
