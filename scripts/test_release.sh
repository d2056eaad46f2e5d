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
  "${TARVEL_RELEASE_PACKAGES[@]}" debootstrap

dist=$TARVEL_ROOT/build/dist
"$TARVEL_ROOT/scripts/release.sh" --out "$dist"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$TARVEL_ROOT/build/release/CMakeCache.txt")
deb=tarvel_${version}_amd64.deb

mirror=${TARVEL_DEBIAN_MIRROR:-http://deb.debian.org/debian}
base=$TARVEL_ROOT/build/debian12-base.tar
root=$TARVEL_ROOT/build/debian12-root
source "$TARVEL_ROOT/scripts/test_common.sh"
show_setup "$TARVEL_ROOT/build/debian12-test"
unmount_proc() { if mountpoint -q "$root/proc"; then umount "$root/proc"; fi; }
trap 'show_cleanup; unmount_proc' EXIT

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
unmount_proc
rm -rf --one-file-system "$root"
mkdir -p "$root"
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

help=$(in_root tarvel --help 2>&1)
check "tarvel --help" "$([ $? -eq 0 ] && grep -q '^Usage: tarvel' <<<"$help" || echo "$help")"

clocks=0,2720,7800,12500
in_root tarvel-capture frames --content /usr/share/games/tarvel --clocks $clocks --out /tmp/frames >"$work/capture.log" 2>&1
"$TARVEL_ROOT/build/release/tools/capture/tarvel-capture" frames --content "$TARVEL_ROOT/build/release/content" \
  --clocks $clocks --out "$work/frames" >/dev/null
check "tarvel-capture frames on the installed content: the build's frames" \
  "$(diff -r "$root/tmp/frames" "$work/frames" 2>&1 | head -3; [ "$(ls "$work/frames" | wc -l)" -eq 4 ] || echo "not 4 frames")"

# The launcher as the menu starts it; the X server's abstract socket is
# reachable from the root.
start_screen 800x600x24
in_root env DISPLAY="$DISPLAY" SDL_AUDIODRIVER=dummy TARVEL_DEBUG_LOG=/tmp/show.log tarvel >"$work/show.out" 2>&1 &
show_pid=$!
wait_for 60 frames_logged "$root/tmp/show.log" 100
clock=$(last_clocks "$root/tmp/show.log" 1)
check "the launcher plays the show (window TARVEL, clock at ${clock:-none} after 100 frames)" \
  "$(window_shown TARVEL || echo "no window TARVEL"; [ "${clock:-0}" -gt 0 ] || tail -3 "$work/show.out")"
press_to_end TARVEL Escape 0
check "Escape ends the show with exit code 0" "$why"

unmount_proc
show_summary release || { echo "The root stays in $root for a look" >&2; exit 1; }
rm -rf --one-file-system "$root"
