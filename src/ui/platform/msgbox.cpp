#include "msgbox.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

MsgBoxResponder& responder()
{
    static MsgBoxResponder instance;
    return instance;
}

QMessageBox::Icon iconFor(int style)
{
    switch (style & 0x70) {
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

void setMsgBoxResponder(MsgBoxResponder newResponder)
{
    responder() = std::move(newResponder);
}

int MsgBox(QWidget* parent, const QString& text, int style, const QString& title)
{
    MsgBoxRequest request{text, style, title.isEmpty() ? applicationTitle : title};
    if (responder()) {
        return responder()(request);
    }

    const bool yesNo = (style & 0x0f) == MsgBoxStyle::YesNo;
    QMessageBox box(iconFor(style), request.title,
                    QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    // A system-modal box is shown modal to the whole program: Qt offers no more than that.
    box.setWindowModality((style & MsgBoxStyle::SystemModal) != 0 || parent == nullptr
                              ? Qt::ApplicationModal
                              : Qt::WindowModal);
    if (yesNo) {
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
        box.button(QMessageBox::No)->setText(QStringLiteral("&Nee"));
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    }
    const int answer = box.exec();
    if (yesNo) {
        return answer == QMessageBox::Yes ? MsgBoxResult::Yes : MsgBoxResult::No;
    }
    return MsgBoxResult::Ok;
}
