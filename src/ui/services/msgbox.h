#pragma once

#include <QFlags>
#include <QString>

class QWidget;

// Every message box of the program goes through MsgBox. A box is described by a set of
// style flags whose values are the Windows message-box style values: the buttons (OK, or Yes
// and No), the icon and whether the box must be answered before anything else (shown modal
// to the whole program). "\r\n" in a text is one line break.
enum class MsgBoxStyle
{
    OkOnly = 0,
    YesNo = 4,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
    SystemModal = 4096,
};
Q_DECLARE_FLAGS(MsgBoxStyles, MsgBoxStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(MsgBoxStyles)

// The answer, as Windows numbers it.
enum class MsgBoxAnswer
{
    Ok = 1,
    Yes = 6,
    No = 7,
};

// The buttons and the icon of a style, each one of its values.
MsgBoxStyle buttonsOf(MsgBoxStyles style);
MsgBoxStyle iconOf(MsgBoxStyles style);

// The title a box gets when it names none: the program's own.
inline const QString applicationTitle = QStringLiteral("Snoetjesmal");

struct MsgBoxRequest
{
    QString text;
    MsgBoxStyles style;
    QString title;
};

// Who shows the boxes. The windows are given one; tests give their own, which answers
// without showing anything.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual MsgBoxAnswer show(QWidget* parent, const MsgBoxRequest& request) = 0;
};

// The boxes on the screen. The program makes one in main() and hands it to its windows.
class ScreenMessageBoxes final : public MessageBoxes
{
public:
    MsgBoxAnswer show(QWidget* parent, const MsgBoxRequest& request) override;
};

// Shows a box through boxes and returns the answer. An empty title shows the program's title.
MsgBoxAnswer MsgBox(MessageBoxes& boxes, QWidget* parent, const QString& text, MsgBoxStyles style,
                    const QString& title = {});
