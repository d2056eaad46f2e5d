#!/usr/bin/env bash
# The show as a user meets it on a private Xvfb screen and the generated
# content: the Linux program (SDL's X11 driver, dummy audio) or a Windows one
# under Wine (its platform tests, label wine, first). On a short soundtrack:
# start-up order, the clock stopping at its end on tarvel-capture's frame,
# Escape, shutdown order; no pictures: the fatal box, exit code 255. Windows:
# no 800x600 mode: the "ERROR" box, exit 1. Linux: SIGTERM on the fatal box; no
# sound device; a 1280x720 screen and no soundtrack; arguments; no display.
#   scripts/test_show.sh [linux|win64|win32]
# linux runs TARVEL_PROGRAM, TARVEL_CAPTURE and TARVEL_CONTENT when given, else
# build/release's; Wine compares with TARVEL_NATIVE_BUILD (default build/release).
source "$(dirname "$0")/common.sh"
positional_arguments 1 "$@"
source "$TARVEL_ROOT/scripts/wine_common.sh"

platform=${1:-linux}
case $platform in linux | win64 | win32) ;; *) usage_error "unknown platform $platform" ;; esac

if [ "$platform" = linux ]; then
  ensure_packages xvfb xdotool x11-utils ffmpeg
  if [ -z "${TARVEL_PROGRAM:-}" ]; then
    use_native_build
    cmake --build "$native" -j "$TARVEL_JOBS" --target tarvel
    TARVEL_PROGRAM=$native/src/tarvel TARVEL_CAPTURE=$native/tools/capture/tarvel-capture TARVEL_CONTENT=$native/content
  fi
  exe=$TARVEL_PROGRAM capture=$TARVEL_CAPTURE content=$TARVEL_CONTENT
  show_setup "$(cd "$(dirname "$exe")/.." && pwd)/show-test"
  start_screen 800x600x24
  export SDL_AUDIODRIVER=dummy
  startup=("CalcMathTables" "InitSubsystems" "InitSound" "start-up done" "DemoFrame pictures loaded"
    "DemoFrame show started" "frame 1 clock 0")
  shutdown=("ShutdownApp" "exit 0")
else
  ensure_packages "${TARVEL_BUILD_PACKAGES[@]}" "${TARVEL_WINDOWS_PACKAGES[@]}" "${TARVEL_WINE_PACKAGES[@]}"
  wine_setup "$platform" "$TARVEL_ROOT/build/$platform/wine-test"
  [ "$platform" = win64 ] || enable_32bit_programs
  use_native_build
  configure_and_build "$platform"
  exe=$TARVEL_ROOT/build/$platform/src/tarvel.exe capture=$native/tools/capture/tarvel-capture content=$native/content
  wine_prepare_prefix
  startup=("RegisterClassA MOVIRA" "CreateWindowExA TARVEL 800x600 created" "DirectDrawCreate 00000000"
    "CalcMathTables" "SetCooperativeLevel 00000000" "SetDisplayMode 00000000" "CreateSurface 00000000"
    "GetAttachedSurface 00000000" "Lock 00000000 pitch 3200 bits 32" "InitSubsystems" "joyGetNumDevs"
    'mciSendStringA "open cdaudio"' 'mciSendStringA "set cdaudio time format tmsf"' "CoInitialize 00000000"
    "CoCreateInstance FilterGraph 00000000" "InitSound" "DirectSoundCreate 00000000"
    "IDirectSound SetCooperativeLevel 00000000" "start-up done" "DemoFrame pictures loaded"
    'RenderFile music\music00.mp3 00000000' "Run " "DemoFrame show started" "frame 1 clock 0")
  shutdown=("WM_KEYDOWN VK_ESCAPE" "WM_CLOSE" "WM_DESTROY" "ShutdownApp" "Release PrimarySurface" "Release DDraw"
    "Release music graph" "CoUninitialize" "Release IDirectSound 0" 'mciSendStringA "stop cdaudio"'
    'mciSendStringA "close cdaudio"' "exit 0")
fi
set +e # from here on a failing check is counted

if [ "$platform" != linux ]; then
  log "Wine: the Windows platform's tests ($platform)"
  ctest --test-dir "$TARVEL_ROOT/build/$platform" -L wine --output-on-failure -j "$TARVEL_JOBS"
  check "Windows platform tests (ctest under Wine)" "$([ $? -eq 0 ] || echo "see the ctest output above")"
fi

log "The show on a shortened soundtrack ($platform)"
shorten_soundtrack "$content" "$work/show"
start_show "$work/show" show "$exe"
if wait_for 120 log_has "$work/show.log" "frame 1 clock 0"; then
  why=$(in_order "$work/show.log" "${startup[@]}")
  [ -n "$why" ] || [ "$platform" = linux ] || why=$(in_order "$work/show.log" "WM_ACTIVATEAPP" "frame 1 clock 0")
  check "start-up order" "$why"
else
  fail "start-up order" "no frame within 120 s; the log ends with: $(tail -1 "$work/show.log" 2>/dev/null)"
fi
soundtrack_clock_checks "the show" "$work/show.log" "$work/show"
press_to_end TARVEL Escape 0
check "Escape ends the show with exit code 0" "$why"
check "shutdown order" "$(in_order "$work/show.log" "${shutdown[@]}")"

log "A missing picture ($platform)"
mkdir -p "$work/fatal/graph" "$work/fatal/music"
caption='fichero no encontrado en LoadTGA:'
start_show "$work/fatal" fatal "$exe"
press_to_end "$caption" Return 255
log_has "$work/fatal.log" "FatalError \"$caption\" \"graph\\fondo.tga\"" || why+=" no box in the step log;"
log_has "$work/fatal.err" "$caption graph\\fondo.tga" || why+=" no message on stderr"
check "fatal error: message box \"$caption\" with graph\\fondo.tga, exit code -1" "$why"

if [ "$platform" = linux ]; then
  start_show "$work/fatal" fatal-term "$exe"
  wait_for 60 window_shown "$caption" && kill -TERM "$show_pid"
  finish_show 5
  code=$?
  check "SIGTERM ends the fatal message box with exit code 255" "$([ $code -eq 255 ] || echo "exit code $code")"

  log "A first run without a sound device"
  : >"$work/empty-alsa.conf"
  RUN_WITH=(env -u SDL_AUDIODRIVER ALSA_CONFIG_PATH="$work/empty-alsa.conf" PULSE_SERVER=unix:/nonexistent
    PIPEWIRE_REMOTE=/nonexistent)
  start_show "$work/show" nodevice "$exe"
  RUN_WITH=()
  wait_for 60 clock_reached "$work/nodevice.log" 50 || silent="the clock did not reach 50 within 60 s;"
  grep -q '^tarvel: no sound device (.*); playing silently$' "$work/nodevice.err" || silent+=" no warning on stderr;"
  press_to_end TARVEL Escape 0
  check "no sound device: a warning, the show silent on its clock, Escape ends it with 0" "${silent:-}$why"

  log "A 16:9 screen without an 800x600 mode, no soundtrack"
  start_screen 1280x720x24
  mkdir -p "$work/silent"
  ln -s "$content/graph" "$work/silent/graph"
  start_show "$work/silent" silent "$exe"
  wait_for 60 frames_logged "$work/silent.log" 60 || scaled="fewer than 60 frames: $(tail -1 "$work/silent.err");"
  grab silent 1280x720 && capture_frame silent-capture 0 "$content"
  scaled+=$(grep '^frame ' "$work/silent.log" | awk '$4 != 0 { print "a frame at clock " $4 ";"; exit }')
  # The bars beside the 960x720 picture are black; the picture, scaled back
  # to 800x600, is the frame of clock 0 up to the scaling's blur.
  bars=$(ffmpeg -loglevel error -i "$work/silent.png" -filter_complex \
    "[0]split[l][r];[l]crop=160:720:0:0[a];[r]crop=160:720:1120:0[b];[a][b]hstack" -f rawvideo - | tr -d '\0' | wc -c)
  [ "$bars" -eq 0 ] || scaled+=" $bars bytes of the bars are not black;"
  psnr=$(ffmpeg -i "$work/silent.png" -f rawvideo -pix_fmt rgb24 -video_size 800x600 -i "$work/silent-capture.rgb" \
    -lavfi "[0]crop=960:720:160:0,scale=800:600,format=rgb24[a];[a][1]psnr" -f null - 2>&1 |
    sed -n 's/.*PSNR.* average:\([0-9.inf]*\).*/\1/p')
  awk -v p="$psnr" 'BEGIN { exit !(p == "inf" || p >= 25) }' || scaled+=" not the frame of clock 0 (PSNR $psnr dB);"
  press_to_end TARVEL Escape 0
  check "no soundtrack: clock 0, the picture scaled between black bars, Escape ends it with 0" "${scaled:-}$why"

  log "Arguments"
  # arguments CODE TEXT ENV-ARGS...: `env ENV-ARGS` ends with CODE and says TEXT.
  arguments() {
    local code=$1 text=$2 out got; shift 2
    out=$(env "$@" 2>&1)
    got=$?
    check "${*//$exe/tarvel}: exit code $code, \"$text\"" \
      "$([ $got -eq "$code" ] && grep -qF -- "$text" <<<"$out" || echo "exit code $got: $out")"
  }
  arguments 0 "--window" "$exe" --help
  arguments 2 "unknown argument '--fullscreen'" "$exe" --fullscreen
  arguments 1 "tarvel: the window cannot be created: no display" -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER \
    timeout 20 "$exe"
else
  log "Wine: a 1024x768 screen, without the show's 800x600 mode ($platform)"
  "$WINESERVER" -k 2>/dev/null; "$WINESERVER" -w 2>/dev/null
  start_screen 1024x768x24
  start_show "$work/show" display "$exe"
  press_to_end ERROR Return 1
  [ -n "$why" ] || why=$(in_order "$work/display.log" "SetDisplayMode 8" "display start-up failed 8" "Release DDraw" \
    "WM_DESTROY" "ShutdownApp" "exit 1")
  [ "$(grep -c 'Release DDraw' "$work/display.log")" -eq 1 ] || why+=" the display was not released once;"
  log_has "$work/display.log" "InitSubsystems" && why+=" the subsystems were started"
  check "display start-up failure: \"ERROR\" box, display released once, exit code 1" "$why"
fi

show_summary "show $platform"
