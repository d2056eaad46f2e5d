#pragma once

// The capture has no window: a close request is counted, and the capture's
// driver ends the run after the frame that made it.
extern int CaptureCloseRequests;
