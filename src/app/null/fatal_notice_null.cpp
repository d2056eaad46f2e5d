#include "app/fatal_notice.h"

// Nothing to show: FatalError has already written the message to stderr.
void ShowFatalNotice(const char*, const char*) {}
