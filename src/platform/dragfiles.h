#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QTemporaryDir;

// Files that a drag hands to another program, which copies them after the drop (a file
// manager, say). Each lies in a folder of its own in a temporary folder that lasts as long as
// this object. The same file is offered again for the same name and bytes; anything else gets
// a new folder, so that a file an earlier drop may still be reading never changes. They are
// temporary: written without waiting for the disk to hold them, so a drag never waits on it.
class DragFiles
{
public:
    DragFiles();
    ~DragFiles();
    DragFiles(const DragFiles&) = delete;
    DragFiles& operator=(const DragFiles&) = delete;

    // The path of a file called name that holds bytes, or an empty string when it could not
    // be written.
    QString offer(const QString& name, const QByteArray& bytes);

private:
    std::unique_ptr<QTemporaryDir> m_folder; // made at the first offer
    int m_made = 0;
    QString m_lastPath;
    QByteArray m_lastBytes;
};
