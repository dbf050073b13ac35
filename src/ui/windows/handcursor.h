#pragma once

#include <QCursor>

// The hand over the link label: a white pointing hand with a blue cuff, its hot spot at
// the tip of the finger.
QCursor handCursor();
