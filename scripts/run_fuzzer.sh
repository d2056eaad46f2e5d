#!/usr/bin/env bash
# Runs one libFuzzer target from a fresh corpus (seeds from SEED_COMMAND DIR)
# for TARVEL_FUZZ_RUNS inputs (else TARVEL_FUZZ_DEFAULT_RUNS, else 500000) with
# the seed TARVEL_FUZZ_SEED (1): a crash, leak, sanitizer report or timeout fails.
#   scripts/run_fuzzer.sh TARGET WORK_DIR [SEED_COMMAND]
source "$(dirname "$0")/common.sh"
positional_arguments 3 "$@"
[ $# -ge 2 ] || usage_error "a target and a work folder are needed"
target=$1 work=$2 runs=${TARVEL_FUZZ_RUNS:-${TARVEL_FUZZ_DEFAULT_RUNS:-500000}}
rm -rf "$work"
mkdir -p "$work/corpus" "$work/seeds" "$work/artifacts"
[ -z "${3:-}" ] || "$3" "$work/seeds"

echo "Fuzzing $(basename "$target"): $runs inputs, seed ${TARVEL_FUZZ_SEED:-1}"
# Allocations above 64 MiB fail, taking the out-of-memory paths; the program's
# own messages go to the closed stderr (close_fd_mask=2), the fuzzer's stay.
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
