#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded number of inputs from a fresh
# corpus, as a test of the fuzz build (ctest -L fuzz): any crash, leak,
# sanitizer report or timeout fails it. SEED_COMMAND, when given, is run
# with a folder to write seed inputs into. TARVEL_FUZZ_RUNS (else the
# target's TARVEL_FUZZ_DEFAULT_RUNS, else 500000) and TARVEL_FUZZ_SEED
# (default 1) set the number of inputs and the fuzzer's seed.
#   scripts/run_fuzzer.sh TARGET WORK_DIR [SEED_COMMAND]
source "$(dirname "$0")/common.sh"
positional_arguments 3 "$@"

target=${1:?usage: run_fuzzer.sh TARGET WORK_DIR [SEED_COMMAND]}
work=${2:?usage: run_fuzzer.sh TARGET WORK_DIR [SEED_COMMAND]}
runs=${TARVEL_FUZZ_RUNS:-${TARVEL_FUZZ_DEFAULT_RUNS:-500000}}
rm -rf "$work"
mkdir -p "$work/corpus" "$work/seeds" "$work/artifacts"
[ -z "${3:-}" ] || "$3" "$work/seeds"

echo "Fuzzing $(basename "$target"): $runs inputs, seed ${TARVEL_FUZZ_SEED:-1}"
# Allocations above 64 MiB fail as they would without the memory, so large
# inputs take the program's out-of-memory paths; the program's own messages
# go to the closed stderr (close_fd_mask=2), libFuzzer's and the sanitizers' stay.
status=0
ASAN_OPTIONS=allocator_may_return_null=1:max_allocation_size_mb=64:detect_leaks=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$target" -runs="$runs" -seed="${TARVEL_FUZZ_SEED:-1}" -timeout=10 -close_fd_mask=2 -print_final_stats=1 \
  -artifact_prefix="$work/artifacts/" "$work/corpus" "$work/seeds" >"$work/log.txt" 2>&1 || status=$?

grep -E '^(INFO: seed|#[0-9]+[[:space:]]+(INITED|DONE)|Done |stat::)' "$work/log.txt" | grep -v -E 'stat::(slowest|peak_rss)' || true
if [ "$status" -ne 0 ] || ls "$work/artifacts/"* >/dev/null 2>&1; then
  tail -n 60 "$work/log.txt"
  echo "The fuzzer failed (exit $status); inputs kept in $work/artifacts/"
  exit 1
fi
