#!/usr/bin/env bash
# Prepares everything and plays the show.
source "$(dirname "$0")/common.sh"

ensure_packages "${TARVEL_BUILD_PACKAGES[@]}"
configure_and_build build -DCMAKE_BUILD_TYPE=Release

log "The engine is built; the show itself is not part of this build yet."
