#include "msgbox.h"

#include "modality.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon qtIcon(MsgBoxStyles style)
{
    switch (iconOf(style)) {
    case MsgBoxStyle::Critical:
        return QMessageBox::Critical;
    case MsgBoxStyle::Question:
        return QMessageBox::Question;
    case MsgBoxStyle::Exclamation:
        return QMessageBox::Warning;
    case MsgBoxStyle::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

MsgBoxStyle buttonsOf(MsgBoxStyles style)
{
    return static_cast<MsgBoxStyle>(style.toInt() & 0x0f);
}

MsgBoxStyle iconOf(MsgBoxStyles style)
{
    return static_cast<MsgBoxStyle>(style.toInt() & 0x70);
}

MsgBoxAnswer ScreenMessageBoxes::show(QWidget* parent, const MsgBoxRequest& request)
{
    const bool yesNo = buttonsOf(request.style) == MsgBoxStyle::YesNo;
    auto box = std::make_unique<QMessageBox>(
        qtIcon(request.style), request.title,
        QString(request.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
        yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, parent);
    box->setTextFormat(Qt::PlainText);
    // A system-modal box is shown modal to the whole program: Qt offers no more than that.
    box->setWindowModality(request.style.testFlag(MsgBoxStyle::SystemModal) || parent == nullptr
                               ? Qt::ApplicationModal
                               : Qt::WindowModal);
    if (yesNo) {
        box->button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
        box->button(QMessageBox::No)->setText(QStringLiteral("&Nee"));
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::No);
    } else {
        box->button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    }
    // In a browser the box is not waited for: a question then counts as answered No, so
    // that nothing is done that was not agreed to. (The page asks none.)
    const std::optional<int> answer = Modality::answer(std::move(box));
    if (yesNo) {
        return answer == QMessageBox::Yes ? MsgBoxAnswer::Yes : MsgBoxAnswer::No;
    }
    return MsgBoxAnswer::Ok;
}

MsgBoxAnswer MsgBox(MessageBoxes& boxes, QWidget* parent, const QString& text, MsgBoxStyles style,
                    const QString& title)
{
    return boxes.show(parent, {text, style, title.isEmpty() ? applicationTitle : title});
}
