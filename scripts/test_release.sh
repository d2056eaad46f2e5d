#!/usr/bin/env bash
# The Debian package as a user meets it. In a fresh Debian 12 root made with
# debootstrap, `apt-get install ./tarvel_VERSION_amd64.deb` fetches its
# dependencies from Debian's archive; then:
#   help      `tarvel --help` prints the usage, exit code 0
#   capture   `tarvel-capture frames` on the installed content makes the
#             same frames as the build's own capture tool on the build's
#   launcher  `tarvel`, as the menu entry starts it, plays the show full
#             screen on an Xvfb screen (the clock rising with the soundtrack
#             on SDL's dummy audio driver) until Escape ends it with 0
# Needs root and Debian's archive. The base system is downloaded once and
# kept in build/debian12-base.tar; each run unpacks a fresh copy into
# build/debian12-root, removed again when every check passes. Too slow for
# the test command (a few minutes and about 150 MB of downloads on the first
# run), so it runs on its own:
#
#   scripts/test_release.sh      (TARVEL_DEBIAN_MIRROR=URL, default
#                                 http://deb.debian.org/debian)
source "$(dirname "$0")/common.sh"
positional_arguments 0 "$@"

if [ "$(id -u)" -ne 0 ]; then
  echo "scripts/test_release.sh makes a Debian root with debootstrap and chroot: run it as root" >&2
  exit 1
fi
ensure_packages "${TARVEL_BUILD_PACKAGES[@]}" "${TARVEL_TEST_PACKAGES[@]}" "${TARVEL_WINDOWS_PACKAGES[@]}" \
  "${TARVEL_RELEASE_PACKAGES[@]}" debootstrap xvfb xdotool x11-utils

dist=$TARVEL_ROOT/build/dist
"$TARVEL_ROOT/scripts/release.sh" --out "$dist"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$TARVEL_ROOT/build/release/CMakeCache.txt")
deb=tarvel_${version}_amd64.deb

mirror=${TARVEL_DEBIAN_MIRROR:-http://deb.debian.org/debian}
base=$TARVEL_ROOT/build/debian12-base.tar
root=$TARVEL_ROOT/build/debian12-root
work=$TARVEL_ROOT/build/debian12-test

xvfb_pid=""
show_pid=""
cleanup() {
  [ -n "$show_pid" ] && kill "$show_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  if mountpoint -q "$root/proc"; then umount "$root/proc"; fi
  return 0
}
trap cleanup EXIT

if [ ! -f "$base" ]; then
  log "Making a Debian 12 base system with debootstrap from $mirror (once)"
  rm -rf "$base.d"
  debootstrap --variant=minbase bookworm "$base.d" "$mirror" >"$base.log" 2>&1 ||
    { tail -20 "$base.log" >&2; exit 1; }
  tar -C "$base.d" -cf "$base.part" .
  mv "$base.part" "$base"
  rm -rf --one-file-system "$base.d"
fi

log "A fresh Debian 12 root in $root"
if mountpoint -q "$root/proc"; then umount "$root/proc"; fi
rm -rf --one-file-system "$root" "$work"
mkdir -p "$root" "$work"
tar -C "$root" -xf "$base"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
cp "$dist/$deb" "$root/tmp/"

# in_root COMMAND...: runs COMMAND in the root with a user's PATH (which
# holds /usr/games) and a clean environment.
in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive \
    PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games:/usr/sbin:/sbin "$@"
}

log "apt-get install ./$deb"
in_root apt-get update -qq >"$work/apt.log" 2>&1 &&
  in_root sh -c "cd /tmp && apt-get install -y -q ./$deb" >>"$work/apt.log" 2>&1 ||
  { tail -30 "$work/apt.log" >&2; echo "apt-get could not install $deb" >&2; exit 1; }

# From here on a failing check is counted, not fatal.
set +e
passed=0
failed=0
pass() { passed=$((passed + 1)); echo "PASS $1"; }
fail() { failed=$((failed + 1)); echo "FAIL $1: $2"; }

# ---------------------------------------------------------------- help
help=$(in_root tarvel --help 2>&1)
code=$?
if [ $code -eq 0 ] && grep -q '^Usage: tarvel' <<<"$help"; then
  pass "tarvel --help"
else
  fail "tarvel --help" "exit code $code: $help"
fi

# ---------------------------------------------------------------- capture
clocks=0,2720,7800,12500
if in_root tarvel-capture frames --content /usr/share/games/tarvel --clocks $clocks --out /tmp/frames \
    >"$work/capture.log" 2>&1; then
  "$TARVEL_ROOT/build/release/tools/capture/tarvel-capture" frames --content "$TARVEL_ROOT/build/release/content" \
    --clocks $clocks --out "$work/frames" >/dev/null
  if diff -r "$root/tmp/frames" "$work/frames" >/dev/null && [ "$(ls "$work/frames" | wc -l)" -eq 4 ]; then
    pass "tarvel-capture frames on the installed content: the build's frames"
  else
    fail "tarvel-capture frames" "its frames differ from those of the build's capture tool"
  fi
else
  fail "tarvel-capture frames" "$(tail -3 "$work/capture.log")"
fi

# ---------------------------------------------------------------- launcher
fdfile=$work/display
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$fdfile" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for i in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
display=:$(tr -d '[:space:]' <"$fdfile")
# The X server's abstract socket is reachable from the root.
in_root env DISPLAY="$display" SDL_AUDIODRIVER=dummy TARVEL_FRAME_LOG=/tmp/frames.log tarvel \
  >"$work/show.out" 2>"$work/show.err" &
show_pid=$!
frames_logged() { [ "$(grep -c '^[0-9]' "$root/tmp/frames.log" 2>/dev/null)" -ge "$1" ]; }
for i in $(seq 300); do frames_logged 100 && break; kill -0 $show_pid 2>/dev/null || break; sleep 0.2; done
if frames_logged 100; then
  last_clock=$(awk '/^[0-9]/ && NF == 11 { clock = $9 } END { print clock + 0 }' "$root/tmp/frames.log")
  window=$(DISPLAY=$display xwininfo -root -tree | grep -c '"TARVEL"')
  if [ "$last_clock" -gt 0 ] && [ "$window" -ge 1 ]; then
    pass "the launcher plays the show (window TARVEL, clock at $last_clock after 100 frames)"
  else
    fail "the launcher" "window TARVEL: $window, clock $last_clock"
  fi
else
  fail "the launcher" "fewer than 100 frames: $(tail -3 "$work/show.err")"
fi
DISPLAY=$display xdotool key Escape
for i in $(seq 75); do kill -0 $show_pid 2>/dev/null || break; sleep 0.2; done
if kill -0 $show_pid 2>/dev/null; then
  fail "Escape" "the show still runs 15 s after Escape"
else
  wait $show_pid
  code=$?
  show_pid=""
  [ $code -eq 0 ] && pass "Escape ends the show with exit code 0" || fail "Escape" "exit code $code"
fi

echo "release: $passed passed, $failed failed"
cleanup
if [ $failed -eq 0 ]; then
  rm -rf --one-file-system "$root"
else
  echo "The root stays in $root for a look" >&2
fi
[ $failed -eq 0 ]
