#include "handcursor.h"

QCursor handCursor()
{
    return QCursor(Qt::PointingHandCursor);
}
