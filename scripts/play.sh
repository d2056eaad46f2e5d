#!/usr/bin/env bash
# Prepares everything and plays the show.
#
#   scripts/play.sh [--content DIR] [--window]
#   sudo scripts/play.sh --install
#
# The build (build/play) generates the show's pictures and soundtrack into
# build/play/content. --content DIR (or TARVEL_CONTENT=DIR) plays a folder of
# your own instead: it must hold the same graph/ and music/ files. --window
# plays in a resizable 800x600 window instead of full screen. --install only
# installs the Debian packages the build needs (as root) and stops: then play
# as yourself, since a show started as root may not reach your display or
# sound server.
source "$(dirname "$0")/common.sh"

content=${TARVEL_CONTENT:-}
show_args=()
while [ $# -gt 0 ]; do
  case $1 in
    --content) [ $# -ge 2 ] || { echo "--content needs a folder" >&2; exit 2; }; content=$2; shift 2 ;;
    --content=*) content=${1#--content=}; shift ;;
    --window) show_args+=(--window); shift ;;
    --install) ensure_packages "${TARVEL_BUILD_PACKAGES[@]}"; exit 0 ;;
    *) usage_error "unknown argument: $1" ;;
  esac
done

if [ -n "$content" ]; then
  [ -d "$content" ] || { echo "No such content folder: $content" >&2; exit 1; }
  content=$(cd "$content" && pwd)
  for f in graph/fondo.tga music/music00.mp3; do
    [ -f "$content/$f" ] || { echo "$content has no $f: not a content folder of the show" >&2; exit 1; }
  done
fi

ensure_packages "${TARVEL_BUILD_PACKAGES[@]}"
configure_and_build play

content=${content:-$TARVEL_ROOT/build/play/content}
log "Content ready in $content"
# The show reads graph/ and music/ from its working directory.
log "Playing the show"
cd "$content"
exec "$TARVEL_ROOT/build/play/src/tarvel" "${show_args[@]}"
