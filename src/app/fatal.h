#pragma once

// Ends the program after an error it cannot survive: the caption names the
// failing operation, the text is a file name or empty. The message goes to
// stderr and to the platform's notice (a message box where there is one),
// then the process exits with code -1 through the ordinary exit.
[[noreturn]] void FatalError(const char* caption, const char* text);
