#pragma once

#include "msgbox.h"

#include <QString>

#include <exception>

class QWidget;

// Event handlers that trap nothing themselves run through runHandler: a failure ends the
// handler where it happened, the user is told what failed (a box through boxes), and the
// program carries on.
void reportUntrappedError(MessageBoxes& boxes, QWidget* parent, const QString& what);

// The text for a caught exception, in the program's language where it is one of ours.
QString describeException(const std::exception& error);

template <typename Handler> void runHandler(MessageBoxes& boxes, QWidget* parent, Handler&& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        reportUntrappedError(boxes, parent, describeException(error));
    } catch (...) {
        reportUntrappedError(boxes, parent, QStringLiteral("Onbekende fout."));
    }
}
