#pragma once

// Ends the generator after an error it cannot recover from: prints what
// failed and the file concerned to stderr, then exits with code -1.
[[noreturn]] void Fail(const char* what, const char* detail);
