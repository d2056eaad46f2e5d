#!/usr/bin/env bash
# The web page in headless Chromium, driven by puppeteer-core from Node's
# test runner (tests/web/web_show.test.mjs), on three content folders made
# from the native build's generated content:
#   the content itself   the show starts; the canvas holds tarvel-capture's
#                        pixels for a frame the page logged; the clock follows
#                        the audio; Escape ends it; playing again restarts it
#   missing-picture      one picture less: the fatal box with the loader's
#                        caption and the file name
#   no-soundtrack        no music/: the show stays at clock 0
# It reports frames per second, browser CPU and the time from the click to
# the first frame. puppeteer-core is installed from the npm registry, as
# tests/web/package-lock.json pins it, into build/web/test-driver.
#
#   scripts/test_web.sh     (TARVEL_NATIVE_BUILD=DIR: the native build holding
#                            content and tarvel-capture, default build/release)
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

# variant NAME: a page folder beside the main one, its program files linked,
# its content folder in NAME/content and packed there by the caller.
variant() {
  local dir=$work/$1 file
  mkdir -p "$dir/content"
  for file in tarvel.html tarvel.js tarvel.wasm; do ln -s "$web/$file" "$dir/$file"; done
}

log "Making the test content folders"
variant missing-picture
mkdir "$work/missing-picture/content/graph"
ln -s "$content/music" "$work/missing-picture/content/music"
# Every picture but one from the middle of the list.
mapfile -t pictures < <(cd "$content/graph" && ls)
missing=${pictures[$(( ${#pictures[@]} / 2 ))]}
for picture in "${pictures[@]}"; do
  [ "$picture" = "$missing" ] || ln -s "$content/graph/$picture" "$work/missing-picture/content/graph/$picture"
done
pack_web_content "$work/missing-picture/content" "$work/missing-picture"

variant no-soundtrack
ln -s "$content/graph" "$work/no-soundtrack/content/graph"
pack_web_content "$work/no-soundtrack/content" "$work/no-soundtrack"

driver=$(install_web_driver)
cp "$TARVEL_ROOT/tests/web/web_show.test.mjs" "$TARVEL_ROOT/tests/web/browser.mjs" "$driver/"

log "Running the web page's tests in headless Chromium"
cd "$driver"
TARVEL_WEB_ROOT=$web TARVEL_CONTENT=$content TARVEL_CAPTURE=$native/tools/capture/tarvel-capture \
  TARVEL_WEB_WORK=$work/work TARVEL_CHROMIUM=/usr/bin/chromium \
  node --test --test-reporter=spec web_show.test.mjs
