#pragma once

// What tests that write files look at: a file's bytes and what a folder holds.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>

// The bytes of a file; empty when it cannot be read.
inline QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every entry of a folder by name, hidden and system ones too: a temporary file left behind
// shows up here.
inline QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}
