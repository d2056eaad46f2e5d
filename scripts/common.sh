# Shared set-up for the project's scripts: --help, arguments, Debian
# packages, configure, build. Sourced by every script in scripts/; not meant
# to be run on its own.
set -euo pipefail

# script_help: the running script's header comment, the lines after "#!" up
# to the first that is not a comment. Every script answers --help or -h with
# it (the check below, run as the script sources this file).
script_help() {
  awk 'NR > 1 && !/^#/ { exit } NR > 1 { sub(/^# ?/, ""); print }' "$0"
}
case ${1:-} in -h | --help) script_help; exit 0 ;; esac

# usage_error MESSAGE: stops the script with exit code 2.
usage_error() {
  echo "$(basename "$0"): $1 (see --help)" >&2
  exit 2
}

# positional_arguments MAX ARGS...: for a script whose arguments are all
# positional, stops with exit code 2 on an option or more than MAX of them.
positional_arguments() {
  local max=$1 arg; shift
  for arg in "$@"; do
    case $arg in -*) usage_error "unknown option: $arg" ;; esac
  done
  [ $# -le "$max" ] || usage_error "too many arguments"
}

TARVEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TARVEL_JOBS=${TARVEL_JOBS:-$(nproc 2>/dev/null || echo 2)}

# Packages every build needs: compiler, CMake, Ninja, the Linux platform's
# libraries, the capture tool's command-line parser, the tools' PNG
# compressor and the content generator's libraries.
TARVEL_BUILD_PACKAGES=(
  g++ cmake ninja-build pkg-config
  libsdl2-dev libsdl2-mixer-dev libcdio-dev libcdio-paranoia-dev libcli11-dev libdeflate-dev
  libfreetype-dev fonts-dejavu-core libmp3lame-dev zlib1g-dev
)

# Packages only the test command needs.
TARVEL_TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev libpng-dev
  clang libclang-rt-dev
  ffmpeg python3
  xvfb xfonts-base xdotool x11-utils x11-apps
)

# Packages the Windows build needs: the mingw-w64 cross compilers.
TARVEL_WINDOWS_PACKAGES=(
  cmake ninja-build
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
)

# Packages the Windows program's tests under Wine need: Wine itself, an X
# server without a screen and a way to press its keys, the GStreamer plugins
# with which Wine's DirectShow decodes MP3, and ffmpeg for screenshots.
TARVEL_WINE_PACKAGES=(
  wine64 xvfb xdotool
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly gstreamer1.0-libav
  ffmpeg
)

# Packages the release command needs: Debian's package tools, for the
# dependencies of the .deb (dpkg-shlibdeps) and its checks.
TARVEL_RELEASE_PACKAGES=(
  dpkg-dev lintian
)

# Packages the 32-bit Windows program's tests under Wine need on amd64 (with
# the i386 architecture enabled): 32-bit Wine, its ALSA plugins and the 32-bit
# GStreamer plugins with which it decodes MP3. JACK comes as libjack0 on both
# architectures (Multi-Arch: same): apt would otherwise pick
# libjack-jackd2-0:i386, which conflicts with the libjack0:amd64 that
# libsdl2-mixer-dev needs.
TARVEL_WINE32_PACKAGES=(
  wine32:i386 libjack0:i386 libasound2-plugins:i386
  gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386 gstreamer1.0-plugins-ugly:i386 gstreamer1.0-libav:i386
)

# Packages the web build needs: emscripten with binaryen and the acorn parser
# that its JavaScript optimiser loads, and Python for its file packager.
TARVEL_WEB_PACKAGES=(
  cmake ninja-build python3
  emscripten binaryen node-acorn
)

# use_emscripten: the web build's packages, and the module folder where
# Debian keeps acorn for emscripten's JavaScript optimiser, which a Node.js
# from elsewhere does not search (the web preset sets it too).
use_emscripten() {
  ensure_packages "${TARVEL_WEB_PACKAGES[@]}"
  export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs
}

# Packages the web page's tests need besides Node.js and npm: the browser.
TARVEL_WEB_TEST_PACKAGES=(
  chromium
)

log() { printf '\033[1m==> %s\033[0m\n' "$*" >&2; }

# Installs the missing packages when run as root (never removing one: apt
# stops instead); otherwise prints the exact apt-get line to run and stops.
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    log "Installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends --no-remove "${missing[@]}"
  else
    echo "Missing Debian packages. Run this, then start again:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
}

# configure_and_build PRESET [build options...]: configures build/PRESET
# from CMakePresets.json and builds it (all targets, or those given with
# --target).
configure_and_build() {
  local preset=$1; shift
  log "Configuring build/$preset"
  (cd "$TARVEL_ROOT" && cmake --preset "$preset" >/dev/null)
  log "Building build/$preset"
  (cd "$TARVEL_ROOT" && cmake --build --preset "$preset" -j "$TARVEL_JOBS" "$@")
}

# ensure_node: Node.js and npm, from Debian when the machine has neither.
ensure_node() {
  if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    ensure_packages nodejs npm
  fi
}

# pack_web_content CONTENT OUT: graph/ and music/ of the content folder
# CONTENT (either may be missing) as the web page's content package,
# OUT/tarvel.data with its loader OUT/tarvel.data.js, by emscripten's file
# packager (what --preload-file runs). The page loads whatever package lies
# beside it, so one build plays any content folder.
pack_web_content() {
  local content out parts=() part
  content=$(cd "$1" && pwd)
  out=$2
  for part in graph music; do
    if [ -d "$content/$part" ]; then parts+=("$content/$part@$part"); fi
  done
  [ ${#parts[@]} -gt 0 ] || { echo "pack_web_content: $content holds neither graph/ nor music/" >&2; return 1; }
  mkdir -p "$out"
  # The packager's reminder of -sFORCE_FILESYSTEM is heeded (src/CMakeLists.txt).
  (cd "$out" && python3 /usr/share/emscripten/tools/file_packager.py tarvel.data \
     --preload "${parts[@]}" --js-output=tarvel.data.js 2>&1 >/dev/null | { grep -v 'sFORCE_FILESYSTEM' >&2 || true; })
}

# install_web_driver: puppeteer-core, as tests/web/package-lock.json pins it,
# from the npm registry into build/web/test-driver (again only when the lock
# file changed); prints that folder.
install_web_driver() {
  local driver=$TARVEL_ROOT/build/web/test-driver
  if ! cmp -s "$TARVEL_ROOT/tests/web/package-lock.json" "$driver/package-lock.json" || [ ! -d "$driver/node_modules" ]; then
    log "Installing puppeteer-core into build/web/test-driver"
    rm -rf "$driver"
    mkdir -p "$driver"
    cp "$TARVEL_ROOT/tests/web/package.json" "$TARVEL_ROOT/tests/web/package-lock.json" "$driver/"
    (cd "$driver" && npm ci --no-audit --no-fund --loglevel=error >&2)
  fi
  echo "$driver"
}

# use_native_build: the native build whose content and tarvel-capture the
# Wine and web tests compare with, brought up to date: TARVEL_NATIVE_BUILD (a
# folder under the root) or build/release. Sets `native` to its folder.
use_native_build() {
  if [ -n "${TARVEL_NATIVE_BUILD:-}" ]; then
    native=$TARVEL_ROOT/$TARVEL_NATIVE_BUILD
    log "Building the content and tarvel-capture in $native"
    cmake --build "$native" -j "$TARVEL_JOBS" --target content tarvel-capture
  else
    native=$TARVEL_ROOT/build/release
    configure_and_build release --target content tarvel-capture
  fi
}

# start_xvfb WxHxD FOLDER: starts an Xvfb server with one screen of that size,
# its log and display number in FOLDER, and exports DISPLAY; its process id
# goes to XVFB_PID, for the caller to end.
start_xvfb() {
  local fdfile=$2/display.$1
  : >"$fdfile"
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$fdfile" >"$2/xvfb.$1.log" 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  [ -s "$fdfile" ] || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=:$(tr -d '[:space:]' <"$fdfile")
}
