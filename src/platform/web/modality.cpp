// Modal dialogs in a browser: shown, and left to block the other windows, without waiting.
// (Waiting would need the whole program built with asyncify, larger and slower.)

#include "modality.h"

namespace Modality {

void showModal(QDialog& dialog)
{
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

std::optional<int> answer(std::unique_ptr<QDialog> box)
{
    box->setWindowModality(Qt::ApplicationModal);
    // Answering the box hides it; it is then deleted.
    QDialog* shown = box.release();
    QObject::connect(shown, &QDialog::finished, shown, &QObject::deleteLater);
    shown->show();
    return std::nullopt;
}

} // namespace Modality
