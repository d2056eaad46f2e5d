#!/usr/bin/env bash
# Prepares everything and runs the whole test suite: the release build with
# warnings as errors, then the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the TGA reader's fuzzer (build-fuzz, with
# clang), then the Windows programs, cross-built, and the
# 64-bit one run under Wine.
source "$(dirname "$0")/common.sh"

ensure_packages "${TARVEL_BUILD_PACKAGES[@]}" "${TARVEL_TEST_PACKAGES[@]}"

configure_and_build build -DCMAKE_BUILD_TYPE=Release -DTARVEL_WERROR=ON -DTARVEL_TESTS=ON -DTARVEL_BENCH=ON
log "Running tests (release)"
ctest --test-dir "$TARVEL_ROOT/build" --output-on-failure -j "$TARVEL_JOBS"

configure_and_build build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVEL_WERROR=ON -DTARVEL_SANITIZE=ON
log "Running tests (AddressSanitizer + UndefinedBehaviorSanitizer)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$TARVEL_ROOT/build-asan" --output-on-failure -j "$TARVEL_JOBS"

"$TARVEL_ROOT/scripts/fuzz_tga.sh" build-fuzz

log "Building the Windows programs (mingw-w64, 32-bit and 64-bit)"
"$TARVEL_ROOT/scripts/build_windows.sh"
log "Running the Windows program under Wine"
"$TARVEL_ROOT/scripts/test_wine.sh"

log "All tests passed"
