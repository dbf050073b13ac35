// Modal dialogs on the desktop: each waits in an event loop of its own.

#include "modality.h"

namespace Modality {

void showModal(QDialog& dialog)
{
    dialog.exec();
}

std::optional<int> answer(std::unique_ptr<QDialog> box)
{
    return box->exec();
}

} // namespace Modality
