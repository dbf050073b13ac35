#pragma once

// For tests that must tell the root's volume from another one (a drive list that took the
// root for every folder would pass on the root alone).

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStringList>
#include <QTest>

// The root of a volume other than the root's that can be listed: Linux's /proc, or on
// Windows a drive other than the system's (Wine's Z:). Empty where there is none.
inline QString otherVolumeRoot()
{
    QStringList candidates;
    for (const QFileInfo& drive : QDir::drives()) {
        candidates << drive.absoluteFilePath();
    }
    candidates << QStringLiteral("/proc");
    for (const QString& candidate : candidates) {
        const QStorageInfo volume(candidate);
        if (volume.isValid() && volume.rootPath() != QDir::rootPath() &&
            QFileInfo(volume.rootPath()).isDir() &&
            !QDir(volume.rootPath()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty()) {
            return volume.rootPath();
        }
    }
    return {};
}

// The rows of a test's table (a folder, the root of its volume): a folder on the root's
// volume and one on another volume. Where no other volume is mounted the test is skipped, as
// the root's row alone would pass for a list that took the root for every folder.
inline void addVolumeRows()
{
    const QString other = otherVolumeRoot();
    if (other.isEmpty()) {
        QSKIP("no other volume is mounted here");
    }
    const QDir top(other);
    QTest::newRow("the root's volume") << QDir::rootPath() << QDir::rootPath();
    QTest::newRow("another volume")
        << top.filePath(top.entryList(QDir::Dirs | QDir::NoDotAndDotDot).constFirst()) << other;
}

// A file in the folder or in one of its subfolders, on the same volume; empty where none is
// found.
inline QString fileOnVolumeOf(const QString& folder)
{
    const QDir top(folder);
    const QString volume = QStorageInfo(folder).rootPath();
    QList<QDir> folders{top};
    for (const QString& sub : top.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        folders.append(QDir(top.filePath(sub)));
    }
    for (const QDir& place : folders) {
        for (const QString& name : place.entryList(QDir::Files | QDir::Readable)) {
            const QString file = place.filePath(name);
            if (QStorageInfo(file).rootPath() == volume) {
                return file;
            }
        }
    }
    return {};
}
