#pragma once

// Platform seam: asks the program's window to close, as if the user had
// pressed Escape. The request is handled by the main loop before any further
// frame. `window` is the handle the platform gave to DemoFrame.
void PostCloseRequest(void* window);
