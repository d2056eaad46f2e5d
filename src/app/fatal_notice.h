#pragma once

// Platform seam: shows a fatal error to the user and returns once the user
// has seen it (a message box owned by the program's window). Each platform
// layer defines it; the null platform shows nothing beyond stderr.
void ShowFatalNotice(const char* caption, const char* text);
