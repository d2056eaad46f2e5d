#!/usr/bin/env bash
# Plays the whole show RUNS times in one tarvel-capture bench and prints the
# largest resident size in each RUNS-th of the time, then how the process
# ended: under the AddressSanitizer build a leak ends it with its report. A
# 16 MiB quarantine keeps the sanitizer's delayed reuse from looking like growth.
#   scripts/soak_capture.sh [BUILD [RUNS]]      (build/asan, 10)
source "$(dirname "$0")/common.sh"
positional_arguments 2 "$@"
build=$TARVEL_ROOT/${1:-build/asan} runs=${2:-10}
capture=$build/tools/capture/tarvel-capture
[ -x "$capture" ] || { echo "no $capture: build its tarvel-capture and content first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

log "Playing the show $runs times in one process ($capture)"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:quarantine_size_mb=16}
start=$(date +%s.%N)
"$capture" bench --content "$build/content" --runs "$runs" >"$work/out.txt" 2>"$work/err.txt" &
pid=$!
while kill -0 "$pid" 2>/dev/null; do
  awk -v t="$(date +%s.%N)" '/^VmRSS:/ { print t, $2 }' "/proc/$pid/status" 2>/dev/null >>"$work/rss.txt" || true
  sleep 0.25
done
status=0
wait "$pid" || status=$?
awk -v parts="$runs" -v start="$start" -v end="$(date +%s.%N)" '
  { part = int(($1 - start) / (end - start) * parts); if ($2 > most[part]) most[part] = $2 }
  END { printf "exit '"$status"' after %.0f s; largest resident size per part (MiB):", end - start
        for (p = 0; p < parts; p++) printf " %.0f", most[p] / 1024; print "" }' "$work/rss.txt"
[ "$status" -eq 0 ] || tail -n 40 "$work/err.txt"
grep -E '^show ' "$work/out.txt" || true
exit "$status"
