#pragma once

#include <QtGlobal>

// Requests from outside to stop the program: Ctrl+C, SIGTERM, a closed terminal and, on
// Windows, a closed console window. While a StopRequests exists they are caught: a request
// only notes itself, so that work that would leave something half made behind can ask for it
// between its steps, clear up what it started and return. Afterwards endIfStopRequested()
// ends the program as the request would have ended it.
class StopRequests
{
public:
    StopRequests();
    ~StopRequests();
    Q_DISABLE_COPY_MOVE(StopRequests)

    // True once a request came.
    bool requested() const;
};

// Ends the program as the stop request that came would have ended it (by the signal itself
// on Posix systems, with the exit code of Ctrl+C on Windows); returns when none came.
void endIfStopRequested();
