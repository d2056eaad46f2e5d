#pragma once

#include <cstdint>

// Platform seam: milliseconds since some fixed instant, wrapping at 2^32.
uint32_t TickCount();
