#!/usr/bin/env bash
# Builds the show as a web page in build/web: tarvel.html, tarvel.js,
# tarvel.wasm, and the content package tarvel.data with its loader
# tarvel.data.js.
#
#   scripts/build_web.sh [--content DIR]     (or TARVEL_CONTENT=DIR)
#
# Without a content folder the package holds the generated content of a
# native build: build/release's when it is configured, else build/play's
# (configured here when needed); it is brought up to date first.
source "$(dirname "$0")/common.sh"

content=${TARVEL_CONTENT:-}
while [ $# -gt 0 ]; do
  case $1 in
    --content) content=${2:?--content needs a folder}; shift 2 ;;
    *) echo "usage: scripts/build_web.sh [--content DIR]" >&2; exit 2 ;;
  esac
done

use_emscripten

if [ -z "$content" ]; then
  if [ -f "$TARVEL_ROOT/build/release/build.ninja" ]; then
    native=release
  else
    native=play
    ensure_packages "${TARVEL_BUILD_PACKAGES[@]}"
    (cd "$TARVEL_ROOT" && cmake --preset play >/dev/null)
  fi
  log "Making the content in build/$native"
  cmake --build "$TARVEL_ROOT/build/$native" -j "$TARVEL_JOBS" --target content
  content=$TARVEL_ROOT/build/$native/content
fi
[ -d "$content" ] || { echo "scripts/build_web.sh: no content folder $content" >&2; exit 1; }

configure_and_build web
log "Packing $content"
pack_web_content "$content" "$TARVEL_ROOT/build/web"
log "The page: build/web/tarvel.html (scripts/play_web.sh serves it)"
