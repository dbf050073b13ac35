#pragma once

#include "atomicfile.h"
#include "savetarget.h"

#include <QString>

// The program's Dutch sentences for a write that failed and for a name that is refused,
// shared by the save dialog and the renderer.
namespace Messages {

// Why the file was not written. format names the kind of file where encoding failed.
QString writeFailure(const WriteResult& result, ImageFormat format);

// Why no file can be made under the name; empty when it can.
QString nameRefusal(const SaveTarget::NameProblem& problem);

} // namespace Messages
