#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every message box of the program goes through MsgBox. A box is described by a style value
// made of flags: the buttons (0 OK, 4 Yes and No), the icon (16 critical, 32 question,
// 48 exclamation, 64 information) and 4096 for a box that must be answered before anything
// else (shown modal to the whole program). The answer is 1 for OK, 6 for Yes, 7 for No.
// "\r\n" in a text is one line break.
namespace MsgBoxStyle {
inline constexpr int OkOnly = 0;
inline constexpr int YesNo = 4;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int SystemModal = 4096;
} // namespace MsgBoxStyle

namespace MsgBoxResult {
inline constexpr int Ok = 1;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace MsgBoxResult

// The title a box gets when it names none: the program's own.
inline const QString applicationTitle = QStringLiteral("Snoetjesmal");

struct MsgBoxRequest
{
    QString text;
    int style = 0;
    QString title;
};

// Shows a box and returns the answer. An empty title shows the program's title.
int MsgBox(QWidget* parent, const QString& text, int style, const QString& title = {});

// Tests answer the boxes themselves: while a responder is set, no box is shown and the
// responder's answer is returned. Pass an empty function to show real boxes again.
using MsgBoxResponder = std::function<int(const MsgBoxRequest&)>;
void setMsgBoxResponder(MsgBoxResponder responder);
