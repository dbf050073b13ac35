#pragma once

#include "atomicfile.h"
#include "faceerror.h"
#include "savetarget.h"

#include <QString>

// The program's Dutch sentences for a write that failed, a name that is refused and a face
// picture that could not be used, shared by the windows and the renderer.
namespace Messages {

// Why the file was not written. format names the kind of file where encoding failed.
QString writeFailure(const WriteResult& result, ImageFormat format);

// Why a folder that appears whole (a pack) could not be put in place.
QString folderFailure(const WriteResult& result);

// The folder to save in is not there (any more).
QString missingFolder();

// Something other than a file has the name fileName, and is not replaced.
QString notAFile(const QString& fileName);

// Why no file can be made under the name; empty when it can.
QString nameRefusal(const SaveTarget::NameProblem& problem);

// Which face picture could not be used, and why.
QString faceFailure(const FaceError& error);

} // namespace Messages
