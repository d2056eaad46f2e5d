#pragma once

// Ends the program after an error it cannot survive: the caption names the
// failing operation, the text is a file name or empty. The message goes to
// stderr, to the debug log and to a message box owned by the program's window
// (ShowMessageBox), then the process exits with code -1 through the ordinary
// exit. Nothing is released first.
[[noreturn]] void FatalError(const char* caption, const char* text);
