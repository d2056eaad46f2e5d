#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded number of inputs from a fresh
# corpus, as a test of the fuzz build (ctest -L fuzz). Any crash, leak,
# sanitizer report or timeout fails it; the summary lines of the log are
# shown either way.
#   scripts/run_fuzzer.sh TARGET WORK_DIR [SEED_COMMAND]
# SEED_COMMAND, when given, is run with a folder to write seed inputs into.
# TARVEL_FUZZ_RUNS and TARVEL_FUZZ_SEED (default 1) change the number of
# inputs and the fuzzer's random seed; without TARVEL_FUZZ_RUNS the target's
# own number (TARVEL_FUZZ_DEFAULT_RUNS, set by its test) runs, else 500000.
source "$(dirname "$0")/common.sh"
positional_arguments 3 "$@"

target=${1:?usage: run_fuzzer.sh TARGET WORK_DIR [SEED_COMMAND]}
work=${2:?usage: run_fuzzer.sh TARGET WORK_DIR [SEED_COMMAND]}
seeder=${3:-}
runs=${TARVEL_FUZZ_RUNS:-${TARVEL_FUZZ_DEFAULT_RUNS:-500000}}
seed=${TARVEL_FUZZ_SEED:-1}

rm -rf "$work"
mkdir -p "$work/corpus" "$work/seeds" "$work/artifacts"
[ -z "$seeder" ] || "$seeder" "$work/seeds"

echo "Fuzzing $(basename "$target"): $runs inputs, seed $seed"
# Allocations above 64 MiB fail as they would on a machine without the
# memory, so oversized inputs take the program's out-of-memory paths. The
# program's own messages go to the closed stderr (close_fd_mask=2);
# libFuzzer and the sanitizers keep theirs.
status=0
ASAN_OPTIONS=allocator_may_return_null=1:max_allocation_size_mb=64:detect_leaks=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$target" -runs="$runs" -seed="$seed" -timeout=10 -close_fd_mask=2 \
  -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
  "$work/corpus" "$work/seeds" >"$work/log.txt" 2>&1 || status=$?

grep -E '^(INFO: seed|#[0-9]+[[:space:]]+(INITED|DONE)|Done |stat::)' "$work/log.txt" | grep -v -E 'stat::(slowest|peak_rss)' || true
if [ "$status" -ne 0 ] || ls "$work/artifacts/"* >/dev/null 2>&1; then
  tail -n 60 "$work/log.txt"
  echo "The fuzzer failed (exit $status); inputs kept in $work/artifacts/"
  exit 1
fi
