#include "app/capture/close_capture.h"

#include "app/close_request.h"

int CaptureCloseRequests = 0;

void PostCloseRequest(void*)
{
    CaptureCloseRequests++;
}
