#pragma once

// Message boxes for tests: nothing is shown; every box is written down with what the test
// wants to know about the moment it came, and answered from a list of answers (No for a
// Yes/No box when the list is used up, OK for any other).

#include "msgbox.h"

#include <QList>

#include <functional>

class RecordedBoxes final : public MessageBoxes
{
public:
    struct Box
    {
        MsgBoxRequest request;
        QWidget* parent = nullptr;
        bool flag = false; // what noticeAtShow returned when the box came
    };

    QList<Box> boxes;
    QList<MsgBoxAnswer> answers;
    std::function<bool()> noticeAtShow;

    MsgBoxAnswer show(QWidget* parent, const MsgBoxRequest& request) override
    {
        boxes.append({request, parent, noticeAtShow ? noticeAtShow() : false});
        if (buttonsOf(request.style) == MsgBoxStyle::YesNo) {
            return answers.isEmpty() ? MsgBoxAnswer::No : answers.takeFirst();
        }
        return MsgBoxAnswer::Ok;
    }

    void clear()
    {
        boxes.clear();
        answers.clear();
    }
};

// The styles of the program's boxes, spelled out as flags.
inline const MsgBoxStyles errorBox =
    MsgBoxStyle::OkOnly | MsgBoxStyle::Exclamation | MsgBoxStyle::SystemModal;
inline const MsgBoxStyles replaceStyle =
    MsgBoxStyle::YesNo | MsgBoxStyle::Information | MsgBoxStyle::SystemModal;
