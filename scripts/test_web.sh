#!/usr/bin/env bash
# The web page in headless Chromium, driven by puppeteer-core (tests/web/package.json) from Node's
# test runner (tests/web/web_show.test.mjs), on the native build's content (TARVEL_NATIVE_BUILD=DIR,
# default build/release), the same with a picture missing, and without the soundtrack.
#   scripts/test_web.sh
source "$(dirname "$0")/common.sh"
positional_arguments 0 "$@"

ensure_packages "${TARVEL_BUILD_PACKAGES[@]}" "${TARVEL_WEB_PACKAGES[@]}" "${TARVEL_WEB_TEST_PACKAGES[@]}"
ensure_node

use_native_build
content=$native/content
"$TARVEL_ROOT/scripts/build_web.sh" --content "$content"

web=$TARVEL_ROOT/build/web
work=$web/test
rm -rf "$work"
mkdir -p "$work/work"

# variant NAME: a page folder of the program's files and NAME/content packed.
variant() {
  local file
  for file in tarvel.html tarvel.js tarvel.wasm; do ln -s "$web/$file" "$work/$1/$file"; done
  pack_web_content "$work/$1/content" "$work/$1"
}

log "Making the test content folders: every picture but one from the middle; no soundtrack"
mkdir -p "$work/missing-picture/content" "$work/no-soundtrack/content"
cp -rs "$content/graph" "$content/music" "$work/missing-picture/content/"
mapfile -t pictures < <(cd "$content/graph" && ls)
rm "$work/missing-picture/content/graph/${pictures[$((${#pictures[@]} / 2))]}"
variant missing-picture
ln -s "$content/graph" "$work/no-soundtrack/content/graph"
variant no-soundtrack

driver=$(install_web_driver)
cp "$TARVEL_ROOT/tests/web/web_show.test.mjs" "$TARVEL_ROOT/tests/web/browser.mjs" "$driver/"

log "Running the web page's tests in headless Chromium"
cd "$driver"
TARVEL_WEB_ROOT=$web TARVEL_CONTENT=$content TARVEL_CAPTURE=$native/tools/capture/tarvel-capture \
  TARVEL_WEB_WORK=$work/work TARVEL_CHROMIUM=/usr/bin/chromium \
  node --test web_show.test.mjs
