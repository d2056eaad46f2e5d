# Cross-compiling for 32-bit Windows on x86 with Debian's mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# Tests of the 32-bit Windows build run under Wine's 32-bit loader (off the
# PATH on Debian, from wine32:i386).
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
