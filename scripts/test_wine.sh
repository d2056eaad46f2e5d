#!/usr/bin/env bash
# A Windows program under Wine, on the generated content, in a fresh private
# Wine prefix (build/ARCH/wine-prefix) and an Xvfb screen of 800x600x24 on
# which DirectDraw can set its mode:
#   units     the platform's GoogleTest suites (tests/win32, label wine),
#             each case its own Wine process
#   show      start-up order; the soundtrack drives the clock through
#             DirectShow and stops it at the end of a shortened soundtrack;
#             the screen then equals the capture tool's frame at that clock;
#             Escape closes with exit code 0; shutdown order
#   fatal     a missing picture shows the fatal message box, exit code -1
#   display   a screen without an 800x600 mode: the "ERROR" box, exit code 1
# Each check prints the time it took. The program writes its step log when
# TARVEL_DEBUG_LOG names a file.
#
#   scripts/test_wine.sh [win64|win32]
#
# win64 (the default) is the 64-bit program; win32 the 32-bit one, the
# platform the show was made for, under 32-bit Wine: natively where the
# kernel runs 32-bit programs, otherwise through qemu-i386, which the script
# registers (see enable_32bit_programs in scripts/wine_common.sh). Through
# qemu the units are left out (each Wine process takes minutes to start) and
# a failure is reported as the emulator's, not counted.
# TARVEL_NATIVE_BUILD=DIR: the native build holding content and
# tarvel-capture (default build/release).
source "$(dirname "$0")/common.sh"
source "$TARVEL_ROOT/scripts/wine_common.sh"

arch=${1:-win64}
case $arch in win64 | win32) ;; *) echo "usage: scripts/test_wine.sh [win64|win32]" >&2; exit 2 ;; esac

ensure_packages "${TARVEL_BUILD_PACKAGES[@]}" "${TARVEL_WINDOWS_PACKAGES[@]}" "${TARVEL_WINE_PACKAGES[@]}"
wine_setup "$arch" "$TARVEL_ROOT/build/$arch/wine-test"
[ "$arch" = win64 ] || enable_32bit_programs "$@"

use_native_build
configure_and_build "$arch"

exe=$TARVEL_ROOT/build/$arch/src/tarvel.exe
capture=$native/tools/capture/tarvel-capture
content=$native/content

# in_order LOG STEP...: true when every STEP begins a line of LOG, each after
# the line of the step before; otherwise prints the first step not found.
in_order() {
  local log=$1 line=0 step found; shift
  for step in "$@"; do
    found=$(tail -n +$((line + 1)) "$log" | grep -n -F -m1 -- "$step" | cut -d: -f1)
    if [ -z "$found" ]; then
      echo "missing or out of order: $step"
      return 1
    fi
    line=$((line + found))
  done
}

wine_prepare_prefix
echo "prefix ready ($took)"

# From here on a failing check is counted, not fatal.
set +e

# ---------------------------------------------------------------- units
if [ -z "$emulator" ]; then
  log "Wine: the Windows platform's tests ($arch)"
  if ctest --test-dir "$TARVEL_ROOT/build/$arch" -L wine --output-on-failure -j "$TARVEL_JOBS"; then
    pass "Windows platform tests (ctest under Wine)"
  else
    fail "Windows platform tests" "see the ctest output above"
  fi
fi

# ---------------------------------------------------------------- show
log "Wine: the show on a shortened soundtrack ($arch)"
shorten_soundtrack "$content" "$work/show"
start_show "$work/show" show
showlog=$work/show.log

if wait_for $((120 * patience)) log_has "$showlog" "frame 1 clock 0"; then
  if why=$(in_order "$showlog" "RegisterClassA MOVIRA" "CreateWindowExA TARVEL 800x600 created" \
      "DirectDrawCreate 00000000" "CalcMathTables" "SetCooperativeLevel 00000000" "SetDisplayMode 00000000" \
      "CreateSurface 00000000" "GetAttachedSurface 00000000" "Lock 00000000 pitch 3200 bits 32" "InitSubsystems" \
      "joyGetNumDevs" 'mciSendStringA "open cdaudio"' 'mciSendStringA "set cdaudio time format tmsf"' \
      "CoInitialize 00000000" "CoCreateInstance FilterGraph 00000000" "InitSound" "DirectSoundCreate 00000000" \
      "IDirectSound SetCooperativeLevel 00000000" "start-up done" "DemoFrame pictures loaded" \
      'RenderFile music\music00.mp3' "Run " "DemoFrame show started" "frame 1 clock 0"); then
    if in_order "$showlog" "WM_ACTIVATEAPP" "frame 1 clock 0" >/dev/null; then
      pass "start-up order"
    else
      fail "start-up order" "no WM_ACTIVATEAPP before the first frame"
    fi
  else
    fail "start-up order" "$why"
  fi
else
  fail "start-up order" "no frame within $((120 * patience)) s; the log ends with: $(tail -1 "$showlog" 2>/dev/null)"
fi

if wait_for $((60 * patience)) clock_stopped "$showlog"; then
  clock=$(last_clocks "$showlog" 1)
  if ! log_has "$showlog" 'RenderFile music\music00.mp3 00000000'; then
    fail "soundtrack clock" "RenderFile did not render the soundtrack"
  elif [ "$clock" -lt 1470 ] || [ "$clock" -gt 1639 ]; then
    fail "soundtrack clock" "the clock stopped at $clock, not near the soundtrack's end (1560)"
  else
    pass "soundtrack clock (rose from 0 to $clock and stopped there)"
  fi
  # The frame on screen against the capture tool's at the same clock.
  if why=$(screen_equals_capture screen "$clock" "$work/show"); then
    pass "frame on screen equals the capture's frame at clock $clock"
  else
    fail "frame on screen" "$why"
  fi
else
  fail "soundtrack clock" "the clock did not rise and stop within $((60 * patience)) s: $(last_clocks "$showlog" 3 | tr '\n' ' ')"
  fail "frame on screen" "no still frame to compare"
fi

escape_ends_show "the show"
if why=$(in_order "$showlog" "WM_KEYDOWN VK_ESCAPE" "WM_CLOSE" "WM_DESTROY" "ShutdownApp" \
    "Release PrimarySurface" "Release DDraw" "Release music graph" "CoUninitialize" "Release IDirectSound 0" \
    'mciSendStringA "stop cdaudio"' 'mciSendStringA "close cdaudio"' "exit 0"); then
  pass "shutdown order"
else
  fail "shutdown order" "$why"
fi

# ---------------------------------------------------------------- fatal
log "Wine: a missing picture ($arch)"
mkdir -p "$work/fatal/graph" "$work/fatal/music"
start_show "$work/fatal" fatal
caption='fichero no encontrado en LoadTGA:'
if wait_for $((60 * patience)) window_shown "^$caption\$"; then
  press "^$caption\$" Return || true
  finish_show $((30 * patience))
  code=$?
  if [ $code -ne 255 ]; then
    fail "fatal error" "exit code $code, not -1 (255)"
  elif ! log_has "$work/fatal.log" "FatalError \"$caption\" \"graph\\fondo.tga\""; then
    fail "fatal error" "the message box did not show the caption and graph\\fondo.tga"
  elif ! log_has "$work/fatal.err" "$caption graph\\fondo.tga"; then
    fail "fatal error" "stderr lacks the message"
  else
    pass "fatal error: message box \"$caption\" with graph\\fondo.tga, exit code -1"
  fi
else
  finish_show 1
  fail "fatal error" "no message box titled \"$caption\""
fi

# ---------------------------------------------------------------- display
# An X screen of 1024x768 has no 800x600 mode for Wine's DirectDraw.
log "Wine: a display without the show's mode ($arch)"
"$WINESERVER" -k 2>/dev/null; "$WINESERVER" -w 2>/dev/null
start_screen 1024x768x24
start_show "$work/show" display
if wait_for $((60 * patience)) window_shown '^ERROR$'; then
  press '^ERROR$' Return || true
  finish_show $((30 * patience))
  code=$?
  if [ $code -ne 1 ]; then
    fail "display start-up failure" "exit code $code, not 1"
  elif ! why=$(in_order "$work/display.log" "SetDisplayMode 8" "display start-up failed 8" "Release DDraw" \
      "WM_DESTROY" "ShutdownApp" "exit 1"); then
    fail "display start-up failure" "$why"
  elif [ "$(grep -c 'Release DDraw' "$work/display.log")" -ne 1 ] || log_has "$work/display.log" "InitSubsystems"; then
    fail "display start-up failure" "the display was released twice, or the subsystems were started"
  else
    pass "display start-up failure: \"ERROR\" box, display released once, exit code 1"
  fi
else
  finish_show 1
  fail "display start-up failure" "no message box titled ERROR"
fi

wine_summary "wine $arch"
