#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTextStream>

// Writes bytes to a file for the art tools, reporting on err what went wrong. The bytes count
// as written only once they have left the file's buffer: a full disk is often first noticed
// there, not by write().
inline bool writeToolFile(const QString& path, const QByteArray& bytes, QTextStream& err)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        err << path << ": " << file.errorString() << '\n';
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        err << path << ": " << file.errorString() << '\n';
        return false;
    }
    return true;
}
