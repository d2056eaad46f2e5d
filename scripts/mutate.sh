#!/usr/bin/env bash
# Plants each fault of the catalogue below alone in a scratch copy of the
# tracked files, builds what the fault's suite needs and runs that suite:
#   caught   the suite failed (a run that outlasts its time limit counts as
#            caught, marked "timeout")
#   missed   the suite passed
#   broken   the text to replace is not in the file exactly once, or the
#            planted fault does not compile
# Suites: unit, cd, desktop (CTest labels of build/release, the whole-show
# desktop run left out) and wine (the Windows platform's tests, label wine of
# build/win64, run under Wine). Before the faults, each suite used runs once
# on the copy as it is and must pass. Prints a table and "caught C of N".
#
#   scripts/mutate.sh [--list] [--only ID[,ID...]] [--tree DIR] [--scratch DIR]
#     --list       the catalogue: ID, suite, file
#     --only       just these faults
#     --tree DIR   the checkout whose tracked files are copied and tested
#                  (default: this one), against this catalogue
#     --scratch D  the folder of the copy, its builds and logs, reused from
#                  run to run so that builds stay incremental
#                  (default: build/mutate)
# MUTATE_TIMEOUT: seconds a suite may run (default 900).
source "$(dirname "$0")/common.sh"
source "$TARVEL_ROOT/scripts/wine_common.sh"

tree=$TARVEL_ROOT scratch=$TARVEL_ROOT/build/mutate only= list=0
while [ $# -gt 0 ]; do
  case $1 in
    --list) list=1 ;;
    --only) only=,$2,; shift ;;
    --tree) tree=$(cd "$2" && pwd); shift ;;
    --scratch) scratch=$(mkdir -p "$2" && cd "$2" && pwd); shift ;;
    -h | --help) sed -n '2,/^[^#]/{/^#/s/^# \{0,1\}//p}' "$0"; exit 0 ;;
    *) echo "unknown argument $1 (see --help)" >&2; exit 2 ;;
  esac
  shift
done

# The catalogue: "ID SUITE FILE", then the lines to find ("-", the text after
# it verbatim) and the lines that replace them ("+"; none: deleted).
ids=() suites=() files=() finds=() repls=()
while IFS= read -r line; do
  case $line in
    '') ;;
    -*) finds[-1]+="${finds[-1]:+$'\n'}${line:1}" ;;
    +*) repls[-1]+="${repls[-1]:+$'\n'}${line:1}" ;;
    *) read -r id suite file <<<"$line"; ids+=("$id") suites+=("$suite") files+=("$file") finds+=("") repls+=("") ;;
  esac
done <<'CATALOGUE'
clip-right unit src/raster/blit.cpp
-    if (dx2 > dMaxX) { p.sx2 -= dx2 - dMaxX; dx2 = dMaxX; }
+    if (dx2 > dMaxX) { p.sx2 -= dx2 - dMaxX + 1; dx2 = dMaxX - 1; }
fill-clip unit src/raster/screen.cpp
-    const int top = std::max(y1, 0), bottom = std::min(y2, CurrentTarget->height - 1);
+    const int top = std::max(y1, 0), bottom = std::min(y2, CurrentTarget->height - 2);
blend-round unit src/raster/row_kernels.h
-    if constexpr (M == Mix::Half) return (d + v) >> 1;
+    if constexpr (M == Mix::Half) return (d + v + 1) >> 1;
blend-channel unit src/raster/row_kernels.h
-                                   : base < 24 ? 0x00FF0000u
+                                   : base < 24 ? 0x000000FFu
mirror-code unit src/raster/blit.cpp
-    const bool flipY = mirror > MirrorHorizontal;
+    const bool flipY = mirror >= MirrorHorizontal;
rotate-angle unit src/raster/rotate.cpp
-    int a = (angle % 900 + 3600) % 3600;
+    int a = (angle % 900 + 3601) % 3600;
rotate-centre unit src/raster/rotate.cpp
-        return {W, H, (W - w) / 2, (H - h) / 2};
+        return {W, H, (W - w) / 2, (H - h) / 2 + 1};
shear-lift unit src/raster/rotate.cpp
-    const int lift = (angle < 900 || angle > 2699) ? 0 : u + 1;
+    const int lift = (angle < 900 || angle > 2699) ? 0 : u;
scale-step unit src/raster/scale.cpp
-        if (remainder >= dstLen) {
+        if (remainder > dstLen) {
random unit src/raster/mathtables.cpp
-    return int((RandomState >> 16) & 0x7FFF);
+    return int((RandomState >> 15) & 0x7FFF);
tga-kind unit src/image/tga.cpp
-    if (h[1] != 0 || h[2] != 2)
+    if (h[2] != 2)
tga-rows unit src/image/tga.cpp
-    const bool topDown = h.descriptor & TopDownRows;
+    const bool topDown = !(h.descriptor & TopDownRows);
tga-channels unit src/image/tga.cpp
-        dst[i] = uint32_t(src[0]) | uint32_t(src[1]) << 8 | uint32_t(src[2]) << 16;
+        dst[i] = uint32_t(src[2]) | uint32_t(src[1]) << 8 | uint32_t(src[0]) << 16;
noise-step unit src/image/noise.cpp
-    for (int t = 1; t <= H - 2; t++)
+    for (int t = 1; t < H - 2; t++)
noise-dots unit src/image/noise.cpp
-        row[W - 1] = row[0];
+        row[W - 1] = row[1];
fade-step unit src/display/display.cpp
-        Display.FadeLevel -= 1;
+        Display.FadeLevel -= 2;
fade-in-end unit src/display/display.cpp
-        if (Display.FadeLevel > FadeMax - 1) {
+        if (Display.FadeLevel > FadeMax) {
window-bound unit src/demo/timeline.cpp
-{881, 1086, Window4}
+{882, 1086, Window4}
window-holds unit src/demo/timeline.cpp
-    return w.after < T && T < w.before;
+    return w.after < T && T <= w.before;
letter-scroller unit src/demo/timeline_patterns.cpp
-        const int x = 31406 - 4 * T + 40 * i;
+        const int x = 31406 - 4 * T + 41 * i;
show-end unit src/demo/sequencer.cpp
-    const bool ended = Sequencer.SceneClock >= ShowEndClock;
+    const bool ended = Sequencer.SceneClock > ShowEndClock;
clock-rounding unit src/demo/sequencer.cpp
-    return int32_t(clock);
+    return int32_t(std::lround(clock));
frame-due unit src/demo/sequencer.cpp
-    return Sequencer.DemoStage != 3 || ElapsedTime() > FrameWaitMs;
+    return Sequencer.DemoStage != 3 || ElapsedTime() >= FrameWaitMs;
frame-wait unit src/input/timer.cpp
-        if (elapsed > limit)
+        if (elapsed >= limit)
joystick-left unit src/input/controls.cpp
-        if (x <= int32_t(stick.xLeft))
+        if (x < int32_t(stick.xLeft))
sample-flip unit src/audio/sound.cpp
-            block[i] = uint8_t(block[i] + 0x80);
+            block[i] = uint8_t(block[i] + 0x7F);
cd-tmsf cd src/audio/cdio/cd_toc.cpp
-    const int minutes = int(tmsf >> 8 & 0xFF);
-    const int seconds = int(tmsf >> 16 & 0xFF);
+    const int minutes = int(tmsf >> 16 & 0xFF);
+    const int seconds = int(tmsf >> 8 & 0xFF);
cd-play cd src/audio/cdaudio.cpp
-    std::snprintf(command, sizeof command, "play cdaudio from %u", unsigned(position));
+    std::snprintf(command, sizeof command, "play cdaudio from %d", int(position & 0xFFFFFF));
sdl-channel unit src/audio/sdl/sound_device_sdl.cpp
-    return Mix_PlayChannel(channel, ChannelVoices[channel].chunk, 0) == channel;
+    return Mix_PlayChannel(-1, ChannelVoices[channel].chunk, 0) >= 0;
sdl-joystick unit src/input/sdl/input_sdl.cpp
-constexpr int32_t AxisOffset = 32768;
+constexpr int32_t AxisOffset = 32767;
sdl-keymap unit src/input/sdl/keymap_sdl.cpp
-    t[SDL_SCANCODE_LEFT] = VkLeft;
+    t[SDL_SCANCODE_LEFT] = VkRight;
sdl-music-position unit src/audio/sdl/music_sdl.cpp
-    return double(played.framesBefore) / MixerRate + std::clamp(sinceLast, 0.0, lastLength);
+    return double(played.framesBefore) / MixerRate + std::max(sinceLast, 0.0);
sdl-mixer-count unit src/audio/sdl/mixer_sdl.cpp
-    Progress.framesBefore += Progress.lastFrames;
sdl-escape desktop src/app/sdl/window_sdl.cpp
-        if (event.key.keysym.scancode == SDL_SCANCODE_ESCAPE)
+        if (event.key.keysym.scancode == SDL_SCANCODE_SPACE)
ddraw-pitch wine src/display/ddraw/display_ddraw.cpp
-        *pitch = SurfaceDesc.lPitch;
+        *pitch = DisplayWidth * 4;
ddraw-result wine src/display/ddraw/display_ddraw.cpp
-    result = Logged("CreateSurface", DDraw->CreateSurface(&SurfaceDesc, &PrimarySurface, nullptr));
-    if (result != DD_OK)
-        return uint32_t(result);
+    result = Logged("CreateSurface", DDraw->CreateSurface(&SurfaceDesc, &PrimarySurface, nullptr));
dsound-channel-reuse wine src/audio/win32/sound_device_win32.cpp
-        entry->Release();
+        (void)entry;
capture-clock unit src/audio/capture/audio_capture.cpp
-    const double half = clock < 0 ? -0.5 : 0.5;
+    const double half = 0.0;
capture-frame-clock unit tools/capture/capture_show.cpp
-    return int32_t(frame * 100 / fps);
+    return int32_t((frame * 100 + fps / 2) / fps);
capture-size unit tools/capture/capture_args.cpp
-    *height = int(h);
+    *height = int(w);
frames-numbering unit tools/capture/capture_frames.cpp
-        const std::string png = NumberedPath(options.out, "frame_", int64_t(i), ".png");
+        const std::string png = NumberedPath(options.out, "frame_", int64_t(i) + 1, ".png");
storyboard-label unit tools/capture/storyboard.cpp
-    std::snprintf(text, sizeof text, "%d.%02d s", int(clock / 100), int(clock % 100));
+    std::snprintf(text, sizeof text, "%d.%2d s", int(clock / 100), int(clock % 100));
contentgen-tga-rows unit tools/contentgen/tga_write.cpp
-        const int row = format.topDown ? k : picture.height - 1 - k;
+        const int row = format.topDown ? picture.height - 1 - k : k;
contentgen-black unit tools/contentgen/picture.cpp
-        p.pixels[i] = v == 0 ? 0x010101u : v;
+        p.pixels[i] = v;
web-canvas unit src/display/web/canvas_pixels.cpp
-        canvas[i] = 0xFF000000u | (p & 0x0000FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
+        canvas[i] = 0xFF000000u | p;
CATALOGUE

picked=()
for i in "${!ids[@]}"; do
  if [ -z "$only" ] || [[ $only == *",${ids[i]},"* ]]; then picked+=("$i"); fi
done
if [ $list -eq 1 ]; then
  for i in "${picked[@]}"; do printf '%-22s %-8s %s\n' "${ids[i]}" "${suites[i]}" "${files[i]}"; done
  exit 0
fi
[ ${#picked[@]} -gt 0 ] || { echo "no fault named in --only $only" >&2; exit 2; }

ensure_packages rsync "${TARVEL_BUILD_PACKAGES[@]}" "${TARVEL_TEST_PACKAGES[@]}"
copy=$scratch/tree logs=$scratch/logs
mkdir -p "$copy" "$logs"
limit=${MUTATE_TIMEOUT:-900}

# sync: the copy made equal to the tracked files of the tree; files whose
# content differs (the previous fault's) are written anew, with a new time,
# so that the builds see them change.
sync() {
  git -C "$tree" ls-files -z | rsync -rlpc --from0 --files-from=- "$tree/" "$copy/"
}

# plant FILE FIND REPLACE: the one occurrence replaced; fails when there is not exactly one.
plant() {
  FIND=$2 REPL=$3 perl -0777 -i -pe \
    '$n = () = /\Q$ENV{FIND}\E/g; $n == 1 or die "found $n times\n"; s/\Q$ENV{FIND}\E/$ENV{REPL}/' "$copy/$1"
}

# build SUITE: the build the suite runs in, configured once and brought up to date.
build() {
  if [ "$1" = wine ]; then
    [ -f "$copy/build/win64/build.ninja" ] || (cd "$copy" && cmake --preset win64)
    cmake --build "$copy/build/win64" -j "$TARVEL_JOBS"
  else
    [ -f "$copy/build/release/build.ninja" ] || (cd "$copy" && cmake --preset release -DTARVEL_BENCH=OFF)
    cmake --build "$copy/build/release" -j "$TARVEL_JOBS"
  fi
}

# run SUITE: the suite, stopping at its first failure. The Wine prefix and
# screen are set up in a subshell of their own, ended with it.
run() {
  if [ "$1" = wine ]; then
    ( TARVEL_ROOT=$copy; wine_setup win64 "$copy/build/win64/mutate-work"; wine_prepare_prefix
      timeout -k 10 "$limit" ctest --test-dir "$copy/build/win64" -L '^wine$' --stop-on-failure -j "$TARVEL_JOBS" )
  else
    timeout -k 10 "$limit" ctest --test-dir "$copy/build/release" -L "^$1\$" -E 'WholeShow' \
      --stop-on-failure --no-tests=error -j "$TARVEL_JOBS"
  fi
}

# The suites the chosen faults need, each first run on the copy as it is.
sync
for suite in $(for i in "${picked[@]}"; do echo "${suites[i]}"; done | sort -u); do
  log "Checking that the $suite suite passes without a fault"
  if ! { build "$suite" && run "$suite"; } >"$logs/clean-$suite.log" 2>&1; then
    echo "The $suite suite fails without a fault: see $logs/clean-$suite.log" >&2
    exit 1
  fi
done

caught=0 start=$(date +%s)
printf '%-22s %-8s %-16s %6s  %s\n' ID SUITE RESULT SECONDS FILE
for i in "${picked[@]}"; do
  id=${ids[i]} suite=${suites[i]} file=${files[i]} began=$(date +%s) log=$logs/${ids[i]}.log
  sync
  if ! plant "$file" "${finds[i]}" "${repls[i]}" >"$log" 2>&1; then
    result="broken (text)"
  elif ! build "$suite" >>"$log" 2>&1; then
    result="broken (build)"
  else
    code=0
    run "$suite" >>"$log" 2>&1 || code=$?
    case $code in
      0) result=missed ;;
      124 | 137) result="caught (timeout)" caught=$((caught + 1)) ;;
      *) result=caught caught=$((caught + 1)) ;;
    esac
  fi
  printf '%-22s %-8s %-16s %6d  %s\n' "$id" "$suite" "$result" $(($(date +%s) - began)) "$file"
done
sync
echo "caught $caught of ${#picked[@]} in $(($(date +%s) - start)) s; logs in $logs"
