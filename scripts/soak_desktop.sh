#!/usr/bin/env bash
# Starts the Linux program COUNT times on a private Xvfb screen (dummy audio),
# presses Escape once it has shown five frames and expects exit code 0 within
# 30 s. Prints each run, the runs that passed, and the median and worst
# seconds from start to the fifth frame, from Escape to the end, and the peak
# resident size by the fifth frame.
#   scripts/soak_desktop.sh [COUNT [PROGRAM [CONTENT]]]  (50, build/release/src/tarvel, its content)
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

log "Starting and ending $program $count times"
for run in $(seq "$count"); do
  time_check
  start_show "$content" "run$run" "$program"
  if wait_for 30 frames_logged "$work/run$run.log" 5; then
    time_check && echo "${took% s}" >>"$work/startup.txt"
    awk '/^VmHWM:/ { print $2 / 1024 }' "/proc/$show_pid/status" >>"$work/memory.txt"
    press_to_end TARVEL Escape 0
    [ -n "$why" ] || { time_check && echo "${took% s}" >>"$work/closing.txt"; }
  else
    finish_show 0
    why="no frames within 30 s"
  fi
  check "run $run" "$why$([ -z "$why" ] || tail -n 5 "$work/run$run.err")"
done
for part in "startup.txt:start to the fifth frame (s)" "closing.txt:Escape to the end (s)" \
  "memory.txt:peak resident size by the fifth frame (MiB)"; do
  sort -g "$work/${part%%:*}" 2>/dev/null | awk -v name="${part#*:}" '{ v[NR] = $1 }
    END { if (NR) printf "%s: median %.1f, worst %.1f\n", name, v[int((NR + 1) / 2)], v[NR] }'
done
rm -rf "$work"
show_summary "$count runs started, showed frames and ended with 0 on Escape"
