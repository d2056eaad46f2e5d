#!/usr/bin/env bash
# Plays the whole show once on a private Xvfb screen (SDL's X11 driver, the
# dummy audio driver) with the frame log on, and prints what it cost and how
# well the picture kept up with the music:
#   cpu      the process's CPU time over the show, in all and in the pacing
#            wait (the log's cpu_ms and wait_cpu_ms)
#   lag      the music position when a frame was done on screen minus the
#            clock it was drawn for (the clock the frame before computed):
#            median, 99th percentile and maximum
#   pacing   the time from one frame's wait end to the next, and from one
#            frame done on screen to the next
#
#   scripts/measure_show.sh [PROGRAM [CONTENT]]
# PROGRAM defaults to build/release/src/tarvel, CONTENT to
# build/release/content. TARVEL_MEASURE_LOG=FILE keeps the frame log.
source "$(dirname "$0")/common.sh"
positional_arguments 2 "$@"

program=$(realpath "${1:-$TARVEL_ROOT/build/release/src/tarvel}")
content=$(realpath "${2:-$TARVEL_ROOT/build/release/content}")
work=$(mktemp -d)
XVFB_PID=
cleanup() {
  [ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
start_xvfb 800x600x24 "$work"

log "Playing the whole show ($program)"
start=$(date +%s.%N)
(cd "$content" && SDL_AUDIODRIVER=dummy TARVEL_FRAME_LOG=$work/frames.txt exec "$program") >"$work/out.txt" 2>&1
end=$(date +%s.%N)
[ -z "${TARVEL_MEASURE_LOG:-}" ] || cp "$work/frames.txt" "$TARVEL_MEASURE_LOG"

# percentiles NAME: median, p99 and max of the numbers on stdin.
percentiles() {
  sort -g | awk -v name="$1" '{ v[NR] = $1 }
    END { printf "%s: median %.1f p99 %.1f max %.1f (ms, %d frames)\n", name,
          v[int((NR - 1) * 0.5) + 1], v[int((NR - 1) * 0.99) + 1], v[NR], NR }'
}

# Columns: frame begun_ms wait_end_ms drawn_ms presented_ms shown_ms music_s
# played_s clock cpu_ms wait_cpu_ms.
frames=$work/frames.txt
awk -v run="$(echo "$end - $start" | bc)" 'NR == 2 { shown0 = $6; cpu0 = $10 }
  NR > 2 { wait += $11 }
  END { wall = ($6 - shown0) / 1000; cpu = ($10 - cpu0) / 1000
        printf "frames %d, run %.1f s, show %.1f s\n", NR - 1, run, wall
        printf "cpu over the show: %.1f s (%.1f%% of one core), of it in the pacing wait %.1f s\n",
               cpu, cpu / wall * 100, wait / 1000 }' "$frames"
awk 'NR > 2 { print $7 * 1000 - clock * 10 } NR > 1 { clock = $9 }' "$frames" | percentiles "lag"
awk 'NR > 2 { print $3 - last } NR > 1 { last = $3 }' "$frames" | percentiles "frame starts apart"
awk 'NR > 2 { print $6 - last } NR > 1 { last = $6 }' "$frames" | percentiles "frames on screen apart"
