#pragma once

#include "atomicfile.h"

#include <QByteArray>
#include <QString>
#include <QTextStream>

// Writes a file of the art tools through the program's own writer, all or nothing, and
// reports on err what went wrong.
inline bool writeToolFile(const QString& path, const QByteArray& bytes, QTextStream& err)
{
    const WriteResult result = writeFileAtomically(path, bytes, WriteMode::Replace);
    if (!result) {
        err << path << ": cannot be written"
            << (result.systemText.isEmpty() ? QString()
                                            : QStringLiteral(" (%1)").arg(result.systemText))
            << '\n';
    }
    return result.ok();
}
