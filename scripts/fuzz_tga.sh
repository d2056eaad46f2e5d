#!/usr/bin/env bash
# Builds the TGA reader's fuzz target with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs it from a fresh seed corpus for a
# bounded number of inputs. Any crash, leak, sanitizer report or timeout
# fails the command; the last lines of the log are shown either way.
#   scripts/fuzz_tga.sh [BUILD_DIR]      (default build-fuzz)
# TARVEL_FUZZ_RUNS and TARVEL_FUZZ_SEED change the number of inputs and the
# fuzzer's random seed.
source "$(dirname "$0")/common.sh"

ensure_packages "${TARVEL_BUILD_PACKAGES[@]}" "${TARVEL_TEST_PACKAGES[@]}"

dir=${1:-build-fuzz}
build="$TARVEL_ROOT/$dir"
runs=${TARVEL_FUZZ_RUNS:-500000}
seed=${TARVEL_FUZZ_SEED:-1}

log "Configuring $dir"
cmake -S "$TARVEL_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTARVEL_FUZZ=ON -DTARVEL_TESTS=OFF -DTARVEL_BENCH=OFF -DTARVEL_WERROR=ON >/dev/null
log "Building $dir (tga_fuzz)"
cmake --build "$build" -j "$TARVEL_JOBS" --target tga_fuzz

rm -rf "$build/fuzz"
mkdir -p "$build/fuzz/corpus" "$build/fuzz/artifacts"
"$TARVEL_ROOT/scripts/make_tga_corpus.sh" "$build/fuzz/seeds"

log "Fuzzing the TGA reader: $runs inputs, seed $seed"
# Allocations above 64 MiB fail as they would on a machine without the
# memory, so oversized headers take the reader's out-of-memory path. The
# reader's own fatal messages go to the closed stderr (close_fd_mask=2);
# libFuzzer and the sanitizers keep theirs.
status=0
ASAN_OPTIONS=allocator_may_return_null=1:max_allocation_size_mb=64:detect_leaks=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$build/tests/fuzz/tga_fuzz" -runs="$runs" -seed="$seed" -timeout=10 -close_fd_mask=2 \
  -print_final_stats=1 -artifact_prefix="$build/fuzz/artifacts/" \
  "$build/fuzz/corpus" "$build/fuzz/seeds" >"$build/fuzz/log.txt" 2>&1 || status=$?

grep -E '^(INFO: seed|#[0-9]+[[:space:]]+(INITED|DONE)|Done |stat::)' "$build/fuzz/log.txt" | grep -v -E 'stat::(slowest|peak_rss)' >&2 || true
if [ "$status" -ne 0 ] || ls "$build/fuzz/artifacts/"* >/dev/null 2>&1; then
  tail -n 60 "$build/fuzz/log.txt" >&2
  echo "The TGA fuzzer failed (exit $status); inputs kept in $build/fuzz/artifacts/" >&2
  exit 1
fi
