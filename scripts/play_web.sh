#!/usr/bin/env bash
# Builds the web page (scripts/build_web.sh, with the same arguments) and
# serves build/web on http://127.0.0.1:8000/ until interrupted; open the
# address it prints in a browser. TARVEL_WEB_PORT chooses another port.
source "$(dirname "$0")/common.sh"

"$TARVEL_ROOT/scripts/build_web.sh" "$@"
port=${TARVEL_WEB_PORT:-8000}
log "Serving build/web; Ctrl-C stops"
echo "http://127.0.0.1:$port/tarvel.html"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$TARVEL_ROOT/build/web"
