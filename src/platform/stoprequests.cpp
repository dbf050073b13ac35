#include "stoprequests.h"

#include "system.h"

StopRequests::StopRequests()
{
    System::catchStopRequests();
}

StopRequests::~StopRequests()
{
    System::releaseStopRequests();
}

bool StopRequests::requested() const
{
    return System::stopRequest() != 0;
}

void endIfStopRequested()
{
    System::endAsRequested(System::stopRequest());
}
