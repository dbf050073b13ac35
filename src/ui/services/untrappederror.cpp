#include "untrappederror.h"

#include "faceerror.h"
#include "messages.h"

void reportUntrappedError(MessageBoxes& boxes, QWidget* parent, const QString& what)
{
    MsgBox(boxes, parent, QStringLiteral("Fout opgetreden:\r\n") + what,
           MsgBoxStyle::OkOnly | MsgBoxStyle::Critical, applicationTitle);
}

QString describeException(const std::exception& error)
{
    if (const auto* faceError = dynamic_cast<const FaceError*>(&error)) {
        return Messages::faceFailure(*faceError);
    }
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
        return QStringLiteral("Onvoldoende geheugen.");
    }
    return QString::fromLocal8Bit(error.what());
}
