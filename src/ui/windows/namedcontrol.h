#pragma once

#include <QString>

// Gives a control its name, so the windows and the tests find it as the program calls it.
template <typename Control> Control* named(Control* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}
