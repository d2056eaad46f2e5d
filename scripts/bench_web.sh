#!/usr/bin/env bash
# tarvel-capture's bench (the whole show at 32 frames per second of music
# time, each frame's drawing timed) compiled for the browser and run in
# headless Chromium; prints its report.
#
#   scripts/bench_web.sh [--runs N] [--generic]
#
# --generic: the engine without WebAssembly SIMD, built in build/web-generic,
# to compare with the default build in build/web.
source "$(dirname "$0")/common.sh"

runs=3 preset_dir=web simd=ON
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=${2:?--runs needs a number}; shift 2 ;;
    --generic) preset_dir=web-generic simd=OFF; shift ;;
    *) echo "usage: scripts/bench_web.sh [--runs N] [--generic]" >&2; exit 2 ;;
  esac
done

use_emscripten
ensure_packages "${TARVEL_WEB_TEST_PACKAGES[@]}"
ensure_node
"$TARVEL_ROOT/scripts/build_web.sh"
dir=$TARVEL_ROOT/build/$preset_dir
log "Building the benchmark page in build/$preset_dir (SIMD $simd)"
(cd "$TARVEL_ROOT" && cmake --preset web -B "$dir" -DTARVEL_BENCH=ON -DTARVEL_WEB_SIMD=$simd >/dev/null)
cmake --build "$dir" -j "$TARVEL_JOBS" --target tarvel_bench_web
if [ "$dir" != "$TARVEL_ROOT/build/web" ]; then
  cp "$TARVEL_ROOT/build/web/tarvel.data" "$TARVEL_ROOT/build/web/tarvel.data.js" "$dir/"
fi

driver=$(install_web_driver)
cp "$TARVEL_ROOT/bench/web/run_bench.mjs" "$TARVEL_ROOT/tests/web/browser.mjs" "$driver/"
log "Running the benchmark in headless Chromium ($runs runs)"
node "$driver/run_bench.mjs" "$dir" "$runs"
