#!/usr/bin/env bash
# Cross-builds the Windows program with mingw-w64, warnings as errors:
#   build/win32/src/tarvel.exe   32-bit x86
#   build/win64/src/tarvel.exe   x86-64
# Both are linked with static C and C++ runtimes and need only Windows' own DLLs.
source "$(dirname "$0")/common.sh"
positional_arguments 0 "$@"

ensure_packages "${TARVEL_WINDOWS_PACKAGES[@]}"

for preset in win32 win64; do
  configure_and_build "$preset"
done
log "Windows programs: build/win32/src/tarvel.exe, build/win64/src/tarvel.exe"
