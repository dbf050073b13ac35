// Modal dialogs in a browser: shown, and left to block the other windows, without waiting.
// (Waiting would need the whole program built with asyncify, larger and slower.)

#include "modality.h"

#include <QApplication>
#include <QPointer>

namespace Modality {

void showModal(QDialog& dialog)
{
    dialog.setWindowModality(Qt::ApplicationModal);
    // Not show(): the browser's platform shows windows full screen by default.
    dialog.setVisible(true);
    dialog.raise();
    dialog.activateWindow();
}

std::optional<int> answer(std::unique_ptr<QDialog> box)
{
    box->setWindowModality(Qt::ApplicationModal);
    // Answering the box hides it; it is then deleted, and the window that was active before
    // it is again (the browser's platform leaves no window active otherwise, and the keys
    // would go nowhere).
    const QPointer<QWidget> before = QApplication::activeWindow();
    QDialog* shown = box.release();
    QObject::connect(shown, &QDialog::finished, shown, [shown, before] {
        shown->deleteLater();
        if (before) {
            before->activateWindow();
        }
    });
    shown->setVisible(true);
    return std::nullopt;
}

} // namespace Modality
