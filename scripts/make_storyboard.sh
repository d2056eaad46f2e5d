#!/usr/bin/env bash
# Makes docs/storyboard.png again: one thumbnail of each window of the
# timeline, drawn by tarvel-capture on the generated content.
#
#   scripts/make_storyboard.sh [--columns N]
source "$(dirname "$0")/common.sh"

ensure_packages "${TARVEL_BUILD_PACKAGES[@]}"
configure_and_build release --target tarvel-capture content

build=$TARVEL_ROOT/build/release
log "Drawing docs/storyboard.png"
mkdir -p "$TARVEL_ROOT/docs"
"$build/tools/capture/tarvel-capture" storyboard --content "$build/content" --out "$TARVEL_ROOT/docs/storyboard.png" "$@"
