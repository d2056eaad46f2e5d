#!/usr/bin/env bash
# The 64-bit Windows program under Wine, on the generated content, in a
# private Wine prefix (build/win64/wine-prefix) and an Xvfb screen of
# 800x600x24 on which DirectDraw can set its mode:
#   show      start-up order; the soundtrack drives the clock through
#             DirectShow and stops it at the end of a shortened soundtrack;
#             the screen then equals the capture tool's frame at that clock;
#             Escape closes with exit code 0; shutdown order
#   fatal     a missing picture shows the fatal message box, exit code -1
#   display   a screen without an 800x600 mode: the "ERROR" box, exit code 1
# Before them, the layer's own GoogleTest suite runs under Wine through ctest.
# The program writes its step log when TARVEL_DEBUG_LOG names a file.
#
#   scripts/test_wine.sh        (TARVEL_NATIVE_BUILD=DIR: the native build
#                                holding content and tarvel-capture, default
#                                build/release)
source "$(dirname "$0")/common.sh"

ensure_packages "${TARVEL_BUILD_PACKAGES[@]}" "${TARVEL_WINDOWS_PACKAGES[@]}" "${TARVEL_WINE_PACKAGES[@]}"

use_native_build
"$TARVEL_ROOT/scripts/build_windows.sh"

exe=$TARVEL_ROOT/build/win64/src/tarvel.exe
capture=$native/tools/capture/tarvel-capture
content=$native/content
work=$TARVEL_ROOT/build/win64/wine-test
rm -rf "$work"
mkdir -p "$work"

# Wine 8 on Debian installs its 64-bit loader off the PATH; 32-bit programs
# cannot run on this kernel, so the 64-bit build is the one tested.
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINEPREFIX=$TARVEL_ROOT/build/win64/wine-prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer dialogs
# DirectSound needs an ALSA device: a null one that discards the sound.
printf 'pcm.!default { type null }\n' >"$work/asound.conf"
export ALSA_CONFIG_PATH=$work/asound.conf

xvfb_pids=()
cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  for pid in "${xvfb_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

# start_screen WxHxD: an Xvfb server of that size; sets DISPLAY.
start_screen() {
  local fdfile=$work/display.$1 i
  : >"$fdfile"
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$fdfile" >"$work/xvfb.$1.log" 2>&1 &
  xvfb_pids+=($!)
  for i in $(seq 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  [ -s "$fdfile" ] || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=:$(tr -d '[:space:]' <"$fdfile")
}

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "PASS $1"; }
fail() { failed=$((failed + 1)); echo "FAIL $1: $2"; }

# wait_for SECONDS COMMAND...: true once COMMAND succeeds, polled every 0.2 s.
wait_for() {
  local tries=$(($1 * 5)); shift
  while [ $tries -gt 0 ]; do
    "$@" && return 0
    sleep 0.2
    tries=$((tries - 1))
  done
  return 1
}

# start_show DIR NAME: the program with DIR as its working folder, its log in
# $work/NAME.log, its output in $work/NAME.out and .err; sets show_pid.
start_show() {
  (cd "$1" && TARVEL_DEBUG_LOG=$work/$2.log exec "$WINE" "$exe") >"$work/$2.out" 2>"$work/$2.err" &
  show_pid=$!
}

# finish_show SECONDS: the program's exit code once it has ended, 124 when it
# is still running after SECONDS (it is then ended).
finish_show() {
  if wait_for "$1" bash -c "! kill -0 $show_pid 2>/dev/null"; then
    wait "$show_pid"
    return $?
  fi
  "$WINESERVER" -k 2>/dev/null || true
  wait "$show_pid" 2>/dev/null || true
  return 124
}

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

log_has() { grep -q -F -- "$2" "$1" 2>/dev/null; }

# The clocks of the last N frames in the log, one a line.
# (The Windows program ends its lines with CR LF.)
last_clocks() { grep '^frame ' "$1" | tail -n "$2" | awk '{sub(/\r$/, ""); print $4}'; }

# clock_stopped LOG: the last 15 frames were all drawn at one clock above 0.
clock_stopped() {
  local clocks
  clocks=$(last_clocks "$1" 15)
  [ "$(wc -l <<<"$clocks")" -eq 15 ] && [ "$(sort -u <<<"$clocks" | wc -l)" -eq 1 ] && [ "$(head -1 <<<"$clocks")" -gt 0 ]
}

# press WINDOW_NAME KEY: gives the named window the focus and presses KEY.
press() {
  local id
  id=$(xdotool search --name "$1" | head -1)
  [ -n "$id" ] || return 1
  xdotool windowfocus "$id" 2>/dev/null || true
  xdotool key "$2"
}

window_shown() { xdotool search --name "$1" >/dev/null 2>&1; }

# rgb24 INPUT OUTPUT [ffmpeg input options...]: raw 800x600 RGB bytes.
rgb24() {
  local in=$1 out=$2; shift 2
  ffmpeg -loglevel error -y "$@" -i "$in" -frames:v 1 -f rawvideo -pix_fmt rgb24 "$out"
}

log "Preparing the Wine prefix"
start_screen 800x600x24
"$WINE" wineboot -i >"$work/wineboot.log" 2>&1

# From here on a failing check is counted, not fatal.
set +e

# ---------------------------------------------------------------- units
# The layer's GoogleTest suite (tests/win32), each case its own Wine process.
log "Wine: the Windows platform's tests"
if ctest --test-dir "$TARVEL_ROOT/build/win64" -L wine --output-on-failure -j "$TARVEL_JOBS"; then
  pass "Windows platform tests (ctest under Wine)"
else
  fail "Windows platform tests" "see the ctest output above"
fi

# ---------------------------------------------------------------- show
# The soundtrack cut to 15.6 s: the clock stops near 1560, inside a scene
# window whose picture is a function of the clock alone (no noise).
log "Wine: the show on a shortened soundtrack"
mkdir -p "$work/show/music"
ln -s "$content/graph" "$work/show/graph"
ffmpeg -loglevel error -y -i "$content/music/music00.mp3" -t 15.6 -c copy "$work/show/music/music00.mp3"
start_show "$work/show" show
showlog=$work/show.log

if wait_for 120 log_has "$showlog" "frame 1 clock 0"; then
  if why=$(in_order "$showlog" "RegisterClassA MOVIRA" "CreateWindowExA TARVEL 800x600 created" \
      "DirectDrawCreate 00000000" "CalcMathTables" "SetCooperativeLevel 00000000" "SetDisplayMode 00000000" \
      "CreateSurface 00000000" "GetAttachedSurface 00000000" "Lock 00000000" "InitSubsystems" "joyGetNumDevs" \
      'mciSendStringA "open cdaudio"' 'mciSendStringA "set cdaudio time format tmsf"' "CoInitialize 00000000" \
      "CoCreateInstance FilterGraph 00000000" "InitSound" "DirectSoundCreate 00000000" \
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
  fail "start-up order" "no frame within 120 s"
fi

if wait_for 60 clock_stopped "$showlog"; then
  clock=$(last_clocks "$showlog" 1)
  if ! log_has "$showlog" 'RenderFile music\music00.mp3 00000000'; then
    fail "soundtrack clock" "RenderFile did not render the soundtrack"
  elif [ "$clock" -lt 1470 ] || [ "$clock" -gt 1639 ]; then
    fail "soundtrack clock" "the clock stopped at $clock, not near the soundtrack's end (1560)"
  else
    pass "soundtrack clock (rose from 0 to $clock and stopped there)"
  fi
  # The frame on screen against the capture tool's at the same clock.
  ffmpeg -loglevel error -y -f x11grab -draw_mouse 0 -video_size 800x600 -i "$DISPLAY" -frames:v 1 "$work/screen.png"
  rgb24 "$work/screen.png" "$work/screen.rgb"
  "$capture" frames --content "$work/show" --clocks "$clock" --out "$work/reference" --raw >/dev/null
  reference=$(ls "$work"/reference/*.rgb32 | head -1)
  rgb24 "$reference" "$work/reference.rgb" -f rawvideo -pix_fmt bgr0 -video_size 800x600
  differing=$(cmp -l "$work/screen.rgb" "$work/reference.rgb" 2>/dev/null | wc -l)
  if [ -s "$work/screen.rgb" ] && [ "$(stat -c %s "$work/screen.rgb")" -eq 1440000 ] && [ "$differing" -eq 0 ]; then
    pass "frame on screen equals the capture's frame at clock $clock"
  else
    fail "frame on screen" "$differing bytes differ from the capture's frame at clock $clock (see $work/screen.png)"
  fi
else
  fail "soundtrack clock" "the clock did not rise and stop within 60 s: $(last_clocks "$showlog" 3 | tr '\n' ' ')"
  fail "frame on screen" "no still frame to compare"
fi

press '^TARVEL$' Escape || true
finish_show 30
code=$?
if [ $code -eq 0 ]; then
  pass "Escape closes the show with exit code 0"
else
  fail "Escape" "exit code $code"
fi
if why=$(in_order "$showlog" "WM_KEYDOWN VK_ESCAPE" "WM_CLOSE" "WM_DESTROY" "ShutdownApp" \
    "Release PrimarySurface" "Release DDraw" "Release music graph" "CoUninitialize" "Release IDirectSound 0" \
    'mciSendStringA "stop cdaudio"' 'mciSendStringA "close cdaudio"' "exit 0"); then
  pass "shutdown order"
else
  fail "shutdown order" "$why"
fi

# ---------------------------------------------------------------- fatal
log "Wine: a missing picture"
mkdir -p "$work/fatal/graph" "$work/fatal/music"
start_show "$work/fatal" fatal
caption='fichero no encontrado en LoadTGA:'
if wait_for 60 window_shown "^$caption\$"; then
  press "^$caption\$" Return || true
  finish_show 30
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
log "Wine: a display without the show's mode"
"$WINESERVER" -k 2>/dev/null; "$WINESERVER" -w 2>/dev/null
start_screen 1024x768x24
start_show "$work/show" display
if wait_for 60 window_shown '^ERROR$'; then
  press '^ERROR$' Return || true
  finish_show 30
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

echo "wine: $passed passed, $failed failed"
[ $failed -eq 0 ]
