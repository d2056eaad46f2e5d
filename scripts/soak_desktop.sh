#!/usr/bin/env bash
# Starts the Linux program COUNT times in a row on a private Xvfb screen
# (SDL's X11 driver, the dummy audio driver), waits each time until it has
# presented a few frames, presses Escape and expects it to end with exit code
# 0 within 15 seconds. Prints each failure and a summary: how many runs
# passed, and how long start-up to the first frame and Escape to the end
# took (median and worst).
#
#   scripts/soak_desktop.sh [COUNT [PROGRAM [CONTENT]]]
# COUNT defaults to 50, PROGRAM to build/release/src/tarvel, CONTENT to
# build/release/content.
source "$(dirname "$0")/common.sh"
positional_arguments 3 "$@"

count=${1:-50}
program=$(realpath "${2:-$TARVEL_ROOT/build/release/src/tarvel}")
content=$(realpath "${3:-$TARVEL_ROOT/build/release/content}")
work=$(mktemp -d)
XVFB_PID=
cleanup() {
  [ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
start_xvfb 800x600x24 "$work"

now() { date +%s.%N; }
# frames FILE: the frames the log holds (its first line names the columns).
frames() { [ -f "$1" ] && echo $(($(wc -l <"$1") - 1)) || echo 0; }

passed=0
: >"$work/startup.txt"
: >"$work/closing.txt"
log "Starting and ending $program $count times"
for run in $(seq "$count"); do
  frames_log=$work/frames.$run.txt
  started=$(now)
  (cd "$content" && SDL_AUDIODRIVER=dummy TARVEL_FRAME_LOG=$frames_log exec "$program") \
    >"$work/out.$run.txt" 2>&1 &
  pid=$!
  why=
  for _ in $(seq 600); do
    [ "$(frames "$frames_log")" -ge 5 ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  if [ "$(frames "$frames_log")" -lt 5 ]; then
    why="no frames within 30 s"
  else
    echo "$(now) - $started" | bc >>"$work/startup.txt"
    pressed=$(now)
    window=$(xdotool search --name '^TARVEL$' | head -1)
    if [ -z "$window" ]; then
      why="no window named TARVEL"
    else
      xdotool windowfocus "$window" 2>/dev/null || true
      xdotool key Escape
    fi
  fi
  code=
  for _ in $(seq 300); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    why=${why:-"still running 15 s after Escape"}
  else
    wait "$pid" && code=0 || code=$?
    [ -n "$why" ] || [ "$code" -eq 0 ] || why="exit code $code"
    [ -n "$why" ] || echo "$(now) - $pressed" | bc >>"$work/closing.txt"
  fi
  if [ -n "$why" ]; then
    echo "run $run: FAIL: $why"
    tail -n 5 "$work/out.$run.txt"
  else
    passed=$((passed + 1))
  fi
done

# spread NAME FILE: median and worst of the seconds in FILE.
spread() {
  sort -g "$2" | awk -v name="$1" '{ v[NR] = $1 }
    END { if (NR) printf "%s: median %.2f s, worst %.2f s\n", name, v[int((NR + 1) / 2)], v[NR] }'
}
echo "$passed of $count runs started, showed frames and ended with 0 on Escape"
spread "start to the fifth frame" "$work/startup.txt"
spread "Escape to the end" "$work/closing.txt"
[ "$passed" -eq "$count" ]
