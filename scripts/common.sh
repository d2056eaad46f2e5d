# Shared set-up for the play and test commands: Debian packages, configure, build.
# Sourced by scripts/play.sh and scripts/test.sh; not meant to be run on its own.
set -euo pipefail

TARVEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TARVEL_JOBS=${TARVEL_JOBS:-$(nproc 2>/dev/null || echo 2)}

# Packages every build needs: compiler, CMake, Ninja, the Linux platform's
# libraries, the capture tool's command-line parser and the content
# generator's libraries.
TARVEL_BUILD_PACKAGES=(
  g++ cmake ninja-build pkg-config
  libsdl2-dev libsdl2-mixer-dev libcdio-dev libcdio-paranoia-dev libcli11-dev
  libfreetype-dev fonts-dejavu-core libmp3lame-dev zlib1g-dev
)

# Packages only the test command needs.
TARVEL_TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev
  ffmpeg
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

log() { printf '\033[1m==> %s\033[0m\n' "$*" >&2; }

# Installs the missing packages when run as root; otherwise prints the exact
# apt-get line to run and stops.
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
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
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
