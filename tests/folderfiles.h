#pragma once

// What tests that write files look at: a file's bytes, the picture in them and what a
// folder holds.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringList>

// The bytes of a file; empty when it cannot be read.
inline QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// True when the bytes are a BMP of exactly these pixels, read by Qt's own reader.
inline bool isBmpOf(const QByteArray& bytes, const QImage& image)
{
    const QImage read = QImage::fromData(bytes, "BMP");
    return !read.isNull() && read.convertToFormat(QImage::Format_RGB32) ==
                                 image.convertToFormat(QImage::Format_RGB32);
}

// Every entry of a folder by name, hidden and system ones too: a temporary file left behind
// shows up here.
inline QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}
