# Cross-compiling for 64-bit Windows with Debian's mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# Tests of the Windows build run under Wine's 64-bit loader (off the PATH on
# Debian).
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
