#pragma once

#include <QDialog>

#include <memory>
#include <optional>

// Dialogs shown modal to the whole program. On the desktop these wait until the dialog is
// put away, as a desktop program's dialogs do; a browser cannot wait inside a handler, so
// there they return at once, and the dialog keeps the other windows from input for as long
// as it is shown.
namespace Modality {

// Shows dialog modally. On the desktop returns once it is hidden or closed.
void showModal(QDialog& dialog);

// Shows a box modally and returns the result it was answered with; in a browser returns
// nothing at once, and the box goes away by itself once answered.
std::optional<int> answer(std::unique_ptr<QDialog> box);

} // namespace Modality
