# Machinery of the scripts that run the show on a private X screen: counted checks, Xvfb screens, the
# program started (RUN_WITH=(wine loader) for Windows) and ended, its step log, keys, and the screen
# against tarvel-capture's frame. Sourced after common.sh; show_setup WORK begins.

passed=0 failed=0
RUN_WITH=()

# check NAME WHY: passes when WHY is empty, else fails with it; each prints the seconds since the last.
check() { if [ -z "$2" ]; then pass "$1"; else fail "$1" "$2"; fi; }
pass() { time_check; passed=$((passed + 1)); echo "PASS $1 ($took)"; }
fail() { time_check; failed=$((failed + 1)); echo "FAIL $1: $2 ($took)"; }
time_check() {
  took=$(awk -v a="$check_started" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f s", b - a }')
  check_started=$EPOCHREALTIME
}
# show_summary NAME: the counts; fails if a check failed.
show_summary() {
  echo "$1: $passed passed, $failed failed"
  [ $failed -eq 0 ]
}

xvfb_pids=() show_pid=
show_cleanup() {
  [ -z "$show_pid" ] || kill -9 "$show_pid" 2>/dev/null || true
  [ -z "${WINESERVER:-}" ] || "$WINESERVER" -k 2>/dev/null || true
  for pid in "${xvfb_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}

# show_setup WORK: WORK emptied for the checks' files; all started is ended at exit.
show_setup() {
  work=$1
  rm -rf "$work"
  mkdir -p "$work"
  check_started=$EPOCHREALTIME
  trap show_cleanup EXIT
}

# start_screen WxHxD: an Xvfb server of that size; sets DISPLAY.
start_screen() {
  start_xvfb "$1" "$work"
  xvfb_pids+=("$XVFB_PID")
}

# wait_for SECONDS COMMAND...: true once COMMAND succeeds, polled every 0.2 s.
wait_for() {
  local tries=$(($1 * 5)); shift
  until "$@"; do
    tries=$((tries - 1))
    [ $tries -gt 0 ] || return 1
    sleep 0.2
  done
}

# start_show DIR NAME PROGRAM: PROGRAM run in DIR, its step log in
# $work/NAME.log, its output in $work/NAME.out and .err; sets show_pid.
start_show() {
  (cd "$1" && TARVEL_DEBUG_LOG=$work/$2.log exec "${RUN_WITH[@]}" "$3") >"$work/$2.out" 2>"$work/$2.err" &
  show_pid=$!
}

# finish_show SECONDS: the program's exit code; 124 (and ended) if it still runs after SECONDS.
finish_show() {
  local code=124
  if wait_for "$1" eval '! kill -0 "$show_pid" 2>/dev/null'; then
    wait "$show_pid"
    code=$?
  else
    [ -z "${WINESERVER:-}" ] || "$WINESERVER" -k 2>/dev/null
    wait_for 10 eval '! kill -0 "$show_pid" 2>/dev/null' || kill -9 "$show_pid" 2>/dev/null
    wait "$show_pid" 2>/dev/null
  fi
  show_pid=
  return $code
}

log_has() { grep -q -F -- "$2" "$1" 2>/dev/null; }

# in_order LOG STEP...: prints the first STEP not found in LOG after the step before.
in_order() {
  local log=$1 line=0 step found; shift
  for step in "$@"; do
    found=$(tail -n +$((line + 1)) "$log" | grep -n -F -m1 -- "$step" | cut -d: -f1)
    [ -n "$found" ] || { echo "missing or out of order: $step"; return; }
    line=$((line + found))
  done
}

# last_clocks LOG N: the clocks of the last N frames (Windows ends lines with CR LF).
last_clocks() { grep '^frame ' "$1" 2>/dev/null | tail -n "$2" | awk '{ sub(/\r$/, ""); print $4 }'; }
# frames_logged LOG N: the step log holds N frames or more.
frames_logged() { [ "$(grep -c '^frame ' "$1" 2>/dev/null)" -ge "$2" ] 2>/dev/null; }
# clock_reached LOG CLOCK: the last frame was drawn at CLOCK or later.
clock_reached() { [ "$(last_clocks "$1" 1)" -ge "$2" ] 2>/dev/null; }
# clock_stopped LOG: the last 15 frames were all drawn at one clock above 0.
clock_stopped() {
  local clocks
  clocks=$(last_clocks "$1" 15)
  [ "$(wc -l <<<"$clocks")" -eq 15 ] && [ "$(sort -u <<<"$clocks" | wc -l)" -eq 1 ] && [ "$(head -1 <<<"$clocks")" -gt 0 ]
}

# window_id NAME: the X window of that name (xdotool's search misses SDL's message boxes).
window_id() { xwininfo -root -tree 2>/dev/null | awk -v n="\"$1\":" 'index($0, n) { print $1; exit }'; }
window_shown() { [ -n "$(window_id "$1")" ]; }

# press_to_end NAME KEY CODE: KEY pressed in the window NAME once it shows;
# `why` says what went wrong if the program then does not end with CODE.
press_to_end() {
  local code id
  why=
  wait_for 60 window_shown "$1" || { why="no window named $1;"; finish_show 1; return; }
  id=$(window_id "$1")
  [ -n "$id" ] && xdotool windowfocus "$id" 2>/dev/null; xdotool key "$2"
  finish_show 30
  code=$?
  [ $code -eq "$3" ] || why="exit code $code, not $3;"
}

# grab NAME WxH: the screen as raw RGB bytes in $work/NAME.rgb (and NAME.png).
grab() {
  ffmpeg -loglevel error -y -f x11grab -draw_mouse 0 -video_size "$2" -i "$DISPLAY" -frames:v 1 "$work/$1.png" \
    -frames:v 1 -f rawvideo -pix_fmt rgb24 "$work/$1.rgb"
}

# capture_frame NAME CLOCK CONTENT: $capture's frame at CLOCK on CONTENT as raw RGB in $work/NAME.rgb.
capture_frame() {
  rm -rf "$work/$1.d"
  "$capture" frames --content "$3" --clocks "$2" --out "$work/$1.d" --raw >/dev/null &&
    ffmpeg -loglevel error -y -f rawvideo -pix_fmt bgr0 -video_size 800x600 -i "$work/$1.d/frame_00000.rgb32" \
      -f rawvideo -pix_fmt rgb24 "$work/$1.rgb"
}

# shorten_soundtrack CONTENT DIR: DIR a show folder with CONTENT's graph/ and its soundtrack cut to
# 15.6 s, so that the clock stops near 1560, in a scene whose picture is a function of the clock alone.
shorten_soundtrack() {
  mkdir -p "$2/music"
  [ -e "$2/graph" ] || ln -s "$1/graph" "$2/graph"
  ffmpeg -loglevel error -y -i "$1/music/music00.mp3" -t 15.6 -c copy -f mp3 "$2/music/music00.mp3.cut"
  mv "$2/music/music00.mp3.cut" "$2/music/music00.mp3"
}

# soundtrack_clock_checks NAME LOG CONTENT: on a shortened soundtrack the clock rises and stops at its
# end, the screen then pixel for pixel tarvel-capture's frame for that clock.
soundtrack_clock_checks() {
  local clock stem differing
  stem=$(basename "$2" .log)
  if ! wait_for 60 clock_stopped "$2"; then
    fail "$1: soundtrack clock" "it did not rise and stop: $(last_clocks "$2" 3 | tr '\n' ' ')"
    return
  fi
  clock=$(last_clocks "$2" 1)
  check "$1: the clock rose from 0 and stopped at the soundtrack's end ($clock)" \
    "$([ "$clock" -ge 1470 ] && [ "$clock" -le 1639 ] || echo "it stopped at $clock, not near 1560")"
  if grab "$stem" 800x600 && capture_frame "$stem-capture" "$clock" "$3"; then
    differing=$(cmp -l "$work/$stem.rgb" "$work/$stem-capture.rgb" 2>&1 | wc -l)
    check "$1: the screen is the capture's frame at clock $clock" \
      "$([ "$differing" -eq 0 ] || echo "$differing bytes differ (see $work/$stem.png)")"
  else
    fail "$1: the screen is the capture's frame at clock $clock" "no screenshot or frame"
  fi
}
