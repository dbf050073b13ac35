#pragma once

#include <QMimeData>
#include <QString>

#include <functional>
#include <memory>

// The clipboard and drags as the system offers them to the program: on the desktop Qt's
// clipboard; in a browser the page's, which takes one PNG image or a text, and only when the
// browser allows it.
namespace SystemClipboard {

// Puts data on the clipboard. Where the system refuses, refused is called with the reason,
// perhaps later.
void put(std::unique_ptr<QMimeData> data, std::function<void(const QString& reason)> refused);

// Whether a face dragged out of the window can land in another program. A page's drags stay
// in the page, and one would have to wait inside a handler, which a browser cannot.
bool dragsLeaveTheProgram();

} // namespace SystemClipboard
