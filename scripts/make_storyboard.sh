#!/usr/bin/env bash
# Makes docs/storyboard.png again: one thumbnail of each window of the
# timeline, drawn by tarvel-capture on the generated content.
#
#   scripts/make_storyboard.sh [--columns N]
source "$(dirname "$0")/common.sh"

columns=()
while [ $# -gt 0 ]; do
  case $1 in
    --columns) [ $# -ge 2 ] || usage_error "--columns needs a number"; columns=(--columns "$2"); shift 2 ;;
    *) usage_error "unknown argument: $1" ;;
  esac
done

ensure_packages "${TARVEL_BUILD_PACKAGES[@]}"
configure_and_build release --target tarvel-capture content

build=$TARVEL_ROOT/build/release
log "Drawing docs/storyboard.png"
mkdir -p "$TARVEL_ROOT/docs"
"$build/tools/capture/tarvel-capture" storyboard --content "$build/content" --out "$TARVEL_ROOT/docs/storyboard.png" "${columns[@]}"
