#!/usr/bin/env bash
# Starts the Linux program COUNT times in a row on a private Xvfb screen
# (SDL's X11 driver, the dummy audio driver), waits each time until it has
# presented a few frames, presses Escape and expects it to end with exit code
# 0 within 30 seconds. Prints each failure and a summary: how many runs
# passed, and how long start-up to the fifth frame and Escape to the end
# took (median and worst).
#
#   scripts/soak_desktop.sh [COUNT [PROGRAM [CONTENT]]]
# COUNT defaults to 50, PROGRAM to build/release/src/tarvel, CONTENT to
# build/release/content.
source "$(dirname "$0")/common.sh"
positional_arguments 3 "$@"
source "$TARVEL_ROOT/scripts/test_common.sh"

count=${1:-50}
program=$(realpath "${2:-$TARVEL_ROOT/build/release/src/tarvel}")
content=$(realpath "${3:-$TARVEL_ROOT/build/release/content}")
show_setup "$(mktemp -d)"
start_screen 800x600x24
export SDL_AUDIODRIVER=dummy
set +e

now() { date +%s.%N; }
log "Starting and ending $program $count times"
for run in $(seq "$count"); do
  started=$(now)
  start_show "$content" "run$run" "$program"
  if wait_for 30 frames_logged "$work/run$run.log" 5; then
    echo "$(now) - $started" | bc >>"$work/startup.txt"
    pressed=$(now)
    press_to_end TARVEL Escape 0
    [ -n "$why" ] || echo "$(now) - $pressed" | bc >>"$work/closing.txt"
  else
    finish_show 0
    why="no frames within 30 s"
  fi
  if [ -z "$why" ]; then
    passed=$((passed + 1))
  else
    echo "run $run: FAIL: $why"
    tail -n 5 "$work/run$run.err"
  fi
done

# spread NAME FILE: median and worst of the seconds in FILE.
spread() {
  sort -g "$2" 2>/dev/null | awk -v name="$1" '{ v[NR] = $1 }
    END { if (NR) printf "%s: median %.2f s, worst %.2f s\n", name, v[int((NR + 1) / 2)], v[NR] }'
}
echo "$passed of $count runs started, showed frames and ended with 0 on Escape"
spread "start to the fifth frame" "$work/startup.txt"
spread "Escape to the end" "$work/closing.txt"
rm -rf "$work"
[ "$passed" -eq "$count" ]
