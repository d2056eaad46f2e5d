#!/usr/bin/env bash
# Plants each fault of the catalogue below alone in a scratch copy of the tracked files, runs its
# suite (unit, cd, desktop: labels of build/release; wine: label wine of build/win64 under Wine) and
# prints caught (failed or outlasted its time), missed or broken (the text is not in the file once,
# or does not compile). Each suite must first pass unharmed.
#   scripts/mutate.sh [--list] [--only ID[,ID...]] [--tree DIR] [--scratch DIR]
# --list: the catalogue; --only: these faults; --tree: the checkout tested (this one); --scratch: the
# copy, builds and logs, kept for incremental builds (build/mutate). MUTATE_TIMEOUT: seconds a suite
# may take (default: three times its run without a fault, and a minute).
source "$(dirname "$0")/common.sh"
source "$TARVEL_ROOT/scripts/wine_common.sh"

tree=$TARVEL_ROOT scratch=$TARVEL_ROOT/build/mutate only= list=0
while [ $# -gt 0 ]; do
  case $1 in
    --list) list=1 ;;
    --only) only=,$2,; shift ;;
    --tree) tree=$(cd "$2" && pwd); shift ;;
    --scratch) scratch=$(mkdir -p "$2" && cd "$2" && pwd); shift ;;
    *) usage_error "unknown argument $1" ;;
  esac
  shift
done

# A fault a row: ID SUITE FILE FIND ~> REPLACE; FIND occurs once in FILE, "\n" is a line break.
ids=() suites=() files=() finds=() repls=()
while IFS= read -r line; do
  read -r id suite file rest <<<"$line"
  [ -z "$only" ] || [[ $only == *",$id,"* ]] || continue
  ids+=("$id") suites+=("$suite") files+=("$file") finds+=("${rest%% ~> *}") repls+=("${rest#* ~> }")
done <<'CATALOGUE'
clip-right           unit    src/raster/blit.cpp                     p.sx2 -= dx2 - dMaxX; dx2 = dMaxX; ~> p.sx2 -= dx2 - dMaxX + 1; dx2 = dMaxX - 1;
fill-clip            unit    src/raster/screen.cpp                   CurrentTarget->height - 1) ~> CurrentTarget->height - 2)
blend-round          unit    src/raster/row_kernels.h                return (d + v) >> 1; ~> return (d + v + 1) >> 1;
blend-channel        unit    src/raster/row_kernels.h                base < 24 ? 0x00FF0000u ~> base < 24 ? 0x000000FFu
mirror-code          unit    src/raster/blit.cpp                     flipY = mirror > MirrorHorizontal ~> flipY = mirror >= MirrorHorizontal
rotate-angle         unit    src/raster/rotate.cpp                   (angle % 900 + 3600) % 3600 ~> (angle % 900 + 3601) % 3600
rotate-centre        unit    src/raster/rotate.cpp                   (H - h) / 2}; ~> (H - h) / 2 + 1};
shear-lift           unit    src/raster/rotate.cpp                   angle > 2699) ? 0 : u + 1; ~> angle > 2699) ? 0 : u;
scale-step           unit    src/raster/scale.cpp                    if (remainder >= dstLen) ~> if (remainder > dstLen)
random               unit    src/raster/mathtables.cpp               (RandomState >> 16) ~> (RandomState >> 15)
tga-kind             unit    src/image/tga.cpp                       if (h[1] != 0 || h[2] != 2) ~> if (h[2] != 2)
tga-rows             unit    src/image/tga.cpp                       topDown = h.descriptor & TopDownRows; ~> topDown = !(h.descriptor & TopDownRows);
tga-channels         unit    src/image/tga.cpp                       uint32_t(src[0]) | uint32_t(src[1]) << 8 | uint32_t(src[2]) << 16 ~> uint32_t(src[2]) | uint32_t(src[1]) << 8 | uint32_t(src[0]) << 16
noise-step           unit    src/image/noise.cpp                     t <= H - 2; ~> t < H - 2;
noise-dots           unit    src/image/noise.cpp                     row[W - 1] = row[0]; ~> row[W - 1] = row[1];
fade-step            unit    src/display/display.cpp                 FadeLevel -= 1; ~> FadeLevel -= 2;
fade-in-end          unit    src/display/display.cpp                 FadeLevel > FadeMax - 1 ~> FadeLevel > FadeMax
window-bound         unit    src/demo/timeline.cpp                   {881, 1086, Window4} ~> {882, 1086, Window4}
window-holds         unit    src/demo/timeline.cpp                   T < w.before; ~> T <= w.before;
letter-scroller      unit    src/demo/timeline_patterns.cpp          + 40 * i; ~> + 41 * i;
show-end             unit    src/demo/sequencer.cpp                  SceneClock >= ShowEndClock ~> SceneClock > ShowEndClock
clock-rounding       unit    src/demo/sequencer.cpp                  return int32_t(clock); ~> return int32_t(std::lround(clock));
frame-due            unit    src/demo/sequencer.cpp                  ElapsedTime() > FrameWaitMs ~> ElapsedTime() >= FrameWaitMs
frame-wait           unit    src/input/timer.cpp                     if (elapsed > limit) ~> if (elapsed >= limit)
joystick-left        unit    src/input/controls.cpp                  x <= int32_t(stick.xLeft) ~> x < int32_t(stick.xLeft)
sample-flip          unit    src/audio/sound.cpp                     block[i] + 0x80 ~> block[i] + 0x7F
cd-tmsf              cd      src/audio/cdio/cd_toc.cpp               tmsf >> 8 & 0xFF);\n    const int seconds = int(tmsf >> 16 ~> tmsf >> 16 & 0xFF);\n    const int seconds = int(tmsf >> 8
cd-play              cd      src/audio/cdaudio.cpp                   "play cdaudio from %u", unsigned(position) ~> "play cdaudio from %d", int(position & 0xFFFFFF)
sdl-channel          unit    src/audio/sdl/sound_device_sdl.cpp      Mix_PlayChannel(channel, ~> Mix_PlayChannel(15 - channel,
sdl-joystick         unit    src/input/sdl/input_sdl.cpp             AxisOffset = 32768; ~> AxisOffset = 32767;
sdl-keymap           unit    src/input/sdl/keymap_sdl.cpp            [SDL_SCANCODE_LEFT] = VkLeft; ~> [SDL_SCANCODE_LEFT] = VkRight;
sdl-music-position   unit    src/audio/sdl/music_sdl.cpp             std::clamp(sinceLast, 0.0, lastLength) ~> std::clamp(sinceLast, 0.0, 2 * lastLength)
sdl-mixer-count      unit    src/audio/sdl/mixer_sdl.cpp             Progress.framesBefore += Progress.lastFrames; ~> (void)0;
sdl-escape           desktop src/app/sdl/window_sdl.cpp              scancode == SDL_SCANCODE_ESCAPE ~> scancode == SDL_SCANCODE_SPACE
ddraw-pitch          wine    src/display/ddraw/display_ddraw.cpp     *pitch = SurfaceDesc.lPitch; ~> *pitch = DisplayWidth * 4;
ddraw-result         wine    src/display/ddraw/display_ddraw.cpp     &PrimarySurface, nullptr));\n    if (result != DD_OK)\n        return uint32_t(result); ~> &PrimarySurface, nullptr));
ddraw-mode-result    wine    src/display/ddraw/display_ddraw.cpp     Height, 32));\n    if (result != DD_OK)\n        return uint32_t(result); ~> Height, 32));
win32-escape         wine    src/app/win32/window_win32.cpp          if (wParam == VK_ESCAPE) { ~> if (wParam == VK_SPACE) {
dsound-channel-reuse wine    src/audio/win32/sound_device_win32.cpp  entry->Release(); ~> (void)entry;
capture-clock        unit    src/audio/capture/audio_capture.cpp     clock < 0 ? -0.5 : 0.5; ~> 0.0;
capture-frame-clock  unit    tools/capture/capture_show.cpp          int32_t(frame * 100 / fps) ~> int32_t((frame * 100 + fps / 2) / fps)
capture-size         unit    tools/capture/capture_args.cpp          *height = int(h); ~> *height = int(w);
frames-numbering     unit    tools/capture/capture_frames.cpp        "frame_", int64_t(i), ".png" ~> "frame_", int64_t(i) + 1, ".png"
storyboard-label     unit    tools/capture/storyboard.cpp            "%d.%02d s" ~> "%d.%2d s"
contentgen-tga-rows  unit    tools/contentgen/tga_write.cpp          topDown ? k : picture.height - 1 - k ~> topDown ? picture.height - 1 - k : k
contentgen-black     unit    tools/contentgen/picture.cpp            ? 0x010101u : v;\n    } ~> ? v : v;\n    }
web-canvas           unit    src/display/web/canvas_pixels.cpp       0xFF000000u | (p & 0x0000FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16) ~> 0xFF000000u | p
CATALOGUE

if [ $list -eq 1 ]; then
  for i in "${!ids[@]}"; do printf '%-22s %-8s %s\n' "${ids[i]}" "${suites[i]}" "${files[i]}"; done
  exit 0
fi
[ ${#ids[@]} -gt 0 ] || usage_error "no fault named in --only $only"
needed=$(printf '%s\n' "${suites[@]}" | sort -u)
ensure_packages rsync "${TARVEL_BUILD_PACKAGES[@]}" "${TARVEL_TEST_PACKAGES[@]}"
[[ $needed != *wine* ]] || ensure_packages "${TARVEL_WINDOWS_PACKAGES[@]}" "${TARVEL_WINE_PACKAGES[@]}"
copy=$scratch/tree logs=$scratch/logs
mkdir -p "$copy" "$logs"
limit=${MUTATE_TIMEOUT:-900} # for the runs without a fault
declare -A limits

# sync_copy: the copy made equal to the tree's tracked files (changed ones written anew).
sync_copy() {
  git -C "$tree" ls-files -z | rsync -rlpc --from0 --files-from=- "$tree/" "$copy/"
}

# plant FILE FIND REPLACE: the one occurrence replaced; fails when there is not exactly one.
plant() {
  FIND=$2 REPL=$3 perl -0777 -i -pe '($f, $r) = map { s/\\n/\n/gr } @ENV{qw(FIND REPL)};
    $n = () = /\Q$f\E/g; $n == 1 or die "found $n times\n"; s/\Q$f\E/$r/' "$copy/$1"
}

# build SUITE: the suite's build, configured once, brought up to date.
build() {
  local preset=(release -DTARVEL_BENCH=OFF)
  [ "$1" != wine ] || preset=(win64)
  [ -f "$copy/build/$preset/build.ninja" ] || (cd "$copy" && cmake --preset "${preset[@]}")
  cmake --build "$copy/build/$preset" -j "$TARVEL_JOBS"
}

# first_failure CTEST-ARGS...: ctest under the time limit, ended at its first failure.
first_failure() {
  local out=$logs/ctest.out pid code=0
  : >"$out" # emptied first: the loop below must not read the previous fault's failure
  timeout -k 10 "$limit" ctest "$@" --stop-on-failure >"$out" 2>&1 &
  pid=$!
  while kill -0 "$pid" 2>/dev/null && ! grep -q '\*\*\*' "$out"; do sleep 1; done
  kill "$pid" 2>/dev/null || true # timeout passes the signal on to the tests
  wait "$pid" || code=$?
  cat "$out"
  return $code
}

# run SUITE: the suite; the Wine prefix and screen live in a subshell of their own.
run() {
  if [ "$1" = wine ]; then
    ( TARVEL_ROOT=$copy; wine_setup win64 "$copy/build/win64/mutate-work"; wine_prepare_prefix
      first_failure --test-dir "$copy/build/win64" -L '^wine$' -j "$TARVEL_JOBS" )
  else # the documents' commands left out: they name benchmarks these builds lack
    first_failure --test-dir "$copy/build/release" -L "^$1\$" -E DocCommands --no-tests=error -j "$TARVEL_JOBS"
  fi
}

# end_leftovers: programs of the copy a stopped suite left running.
end_leftovers() {
  local exe
  for exe in /proc/[0-9]*/exe; do
    [[ $(readlink "$exe" 2>/dev/null) != "$copy"/* ]] || kill "$(basename "${exe%/exe}")" 2>/dev/null || true
  done
}

start=$(date +%s)
sync_copy
for suite in $needed; do
  log "Checking that the $suite suite passes without a fault"
  if ! { build "$suite" && began=$(date +%s) && run "$suite"; } >"$logs/clean-$suite.log" 2>&1; then
    echo "The $suite suite fails without a fault: see $logs/clean-$suite.log" >&2
    exit 1
  fi
  limits[$suite]=${MUTATE_TIMEOUT:-$((3 * ($(date +%s) - began) + 60))}
done

caught=0 missed=0
printf '%-22s %-8s %-16s %6s  %s\n' ID SUITE RESULT SECONDS FILE
for i in "${!ids[@]}"; do
  id=${ids[i]} suite=${suites[i]} file=${files[i]} began=$(date +%s) log=$logs/${ids[i]}.log
  sync_copy
  if ! plant "$file" "${finds[i]}" "${repls[i]}" >"$log" 2>&1; then
    result="broken (text)"
  elif ! build "$suite" >>"$log" 2>&1; then
    result="broken (build)"
  else
    code=0 limit=${limits[$suite]}
    run "$suite" >>"$log" 2>&1 || code=$?
    end_leftovers
    case $code in
      0) result=missed missed=$((missed + 1)) ;;
      124 | 137) result="caught (timeout)" caught=$((caught + 1)) ;;
      *) result=caught caught=$((caught + 1)) ;;
    esac
  fi
  printf '%-22s %-8s %-16s %6d  %s\n' "$id" "$suite" "$result" $(($(date +%s) - began)) "$file"
done
sync_copy
echo "caught $caught of ${#ids[@]} (missed $missed, broken $((${#ids[@]} - caught - missed)))" \
  "in $(($(date +%s) - start)) s, the checks without a fault included; logs in $logs"
