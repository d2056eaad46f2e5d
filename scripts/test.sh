#!/usr/bin/env bash
# Prepares everything and runs the whole test suite, by CTest label:
#   build/release  warnings as errors: unit, cd and desktop tests
#   build/asan     the same under AddressSanitizer and UndefinedBehaviorSanitizer
#                  (no desktop tests)
#   build/fuzz     the fuzz targets (clang, libFuzzer), a bounded run each
#   build/win32, build/win64
#                  the Windows programs, cross-built; the 64-bit one and its
#                  platform tests run under Wine (label wine)
#   build/web      the show as a web page (emscripten), tested in headless
#                  Chromium against build/release's capture tool
source "$(dirname "$0")/common.sh"

ensure_packages "${TARVEL_BUILD_PACKAGES[@]}" "${TARVEL_TEST_PACKAGES[@]}"

configure_and_build release
log "Running tests (release)"
(cd "$TARVEL_ROOT" && ctest --preset release -j "$TARVEL_JOBS")

log "Building the web page and testing it in headless Chromium"
"$TARVEL_ROOT/scripts/test_web.sh"

configure_and_build asan
log "Running tests (AddressSanitizer + UndefinedBehaviorSanitizer)"
(cd "$TARVEL_ROOT" && ctest --preset asan -j "$TARVEL_JOBS")

configure_and_build fuzz
log "Running the fuzz targets"
(cd "$TARVEL_ROOT" && ctest --preset fuzz -j "$TARVEL_JOBS")

log "Building the Windows programs (mingw-w64, 32-bit and 64-bit)"
"$TARVEL_ROOT/scripts/build_windows.sh"
log "Running the Windows program under Wine"
"$TARVEL_ROOT/scripts/test_wine.sh"

log "All tests passed"
