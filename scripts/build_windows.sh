#!/usr/bin/env bash
# Cross-builds the Windows program with mingw-w64, warnings as errors:
#   build-win32/src/app/win32/tarvel.exe   32-bit x86
#   build-win64/src/app/win32/tarvel.exe   x86-64
# Both are linked with static C and C++ runtimes and need only Windows' own DLLs.
source "$(dirname "$0")/common.sh"

ensure_packages "${TARVEL_WINDOWS_PACKAGES[@]}"

for arch in i686 x86_64; do
  case $arch in i686) dir=build-win32 ;; x86_64) dir=build-win64 ;; esac
  configure_and_build "$dir" -DCMAKE_TOOLCHAIN_FILE="$TARVEL_ROOT/cmake/mingw-w64-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DTARVEL_WERROR=ON -DTARVEL_TESTS=ON
done
log "Windows programs: build-win32/src/app/win32/tarvel.exe, build-win64/src/app/win32/tarvel.exe"
