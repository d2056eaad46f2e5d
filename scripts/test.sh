#!/usr/bin/env bash
# Prepares everything and runs the whole test suite: build/release (warnings as
# errors), the web page, build/asan, build/fuzz, the Windows programs under Wine,
# the release packages; scripts/test_release.sh is left out for its downloads and time.
source "$(dirname "$0")/common.sh"
positional_arguments 0 "$@"

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
log "Running the 64-bit Windows program under Wine"
"$TARVEL_ROOT/scripts/test_show.sh" win64
log "Running the 32-bit Windows program under 32-bit Wine"
"$TARVEL_ROOT/scripts/test_show.sh" win32

log "Making and checking the release packages"
"$TARVEL_ROOT/scripts/test_packages.sh"

log "All tests passed"
