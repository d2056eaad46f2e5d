#!/usr/bin/env bash
# The Debian package as a user meets it: `apt-get install ./tarvel_VERSION_amd64.deb`
# in a fresh Debian 12 root (debootstrap) fetches its dependencies; then
# `tarvel` as the menu starts it plays the show on an Xvfb screen until Escape
# ends it with 0. Needs root and Debian's archive
# (TARVEL_DEBIAN_MIRROR, default http://deb.debian.org/debian), so it is not
# part of scripts/test.sh. The base system is kept in build/debian12-base.tar;
# build/debian12-root is removed when all pass.
#   scripts/test_release.sh
source "$(dirname "$0")/common.sh"
positional_arguments 0 "$@"
[ "$(id -u)" -eq 0 ] || { echo "scripts/test_release.sh uses debootstrap and chroot: run it as root" >&2; exit 1; }
ensure_packages "${TARVEL_BUILD_PACKAGES[@]}" "${TARVEL_TEST_PACKAGES[@]}" "${TARVEL_WINDOWS_PACKAGES[@]}" \
  "${TARVEL_RELEASE_PACKAGES[@]}" debootstrap

dist=$TARVEL_ROOT/build/dist
"$TARVEL_ROOT/scripts/release.sh" --out "$dist"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$TARVEL_ROOT/build/release/CMakeCache.txt")
deb=tarvel_${version}_amd64.deb base=$TARVEL_ROOT/build/debian12-base.tar root=$TARVEL_ROOT/build/debian12-root
source "$TARVEL_ROOT/scripts/test_common.sh"
show_setup "$TARVEL_ROOT/build/debian12-test"
unmount_proc() { if mountpoint -q "$root/proc"; then umount "$root/proc"; fi; }
trap 'show_cleanup; unmount_proc' EXIT

if [ ! -f "$base" ]; then
  log "Making a Debian 12 base system with debootstrap (once)"
  rm -rf "$base.d"
  debootstrap --variant=minbase bookworm "$base.d" "${TARVEL_DEBIAN_MIRROR:-http://deb.debian.org/debian}" \
    >"$base.log" 2>&1 || { tail -20 "$base.log" >&2; exit 1; }
  tar -C "$base.d" -cf "$base.part" . && mv "$base.part" "$base" && rm -rf --one-file-system "$base.d"
fi
log "apt-get install ./$deb in a fresh Debian 12 root ($root)"
unmount_proc
rm -rf --one-file-system "$root"
mkdir -p "$root"
tar -C "$root" -xf "$base"
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$dist/$deb" "$root/tmp/"
mount -t proc proc "$root/proc"
# in_root COMMAND...: COMMAND in the root, in a clean environment with a user's PATH.
in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive \
    PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games:/usr/sbin:/sbin "$@"
}
{ in_root apt-get update -qq && in_root sh -c "cd /tmp && apt-get install -y -q ./$deb"; } >"$work/apt.log" 2>&1 ||
  { tail -30 "$work/apt.log" >&2; echo "apt-get could not install $deb" >&2; exit 1; }

set +e # from here on a failing check is counted
start_screen 800x600x24 # its abstract socket is reachable from the root
in_root env DISPLAY="$DISPLAY" SDL_AUDIODRIVER=dummy TARVEL_DEBUG_LOG=/tmp/show.log tarvel >"$work/show.out" 2>&1 &
show_pid=$!
wait_for 60 clock_reached "$root/tmp/show.log" 1 || rose="the clock did not rise: $(tail -3 "$work/show.out");"
press_to_end TARVEL Escape 0
check "the launcher plays the show until Escape ends it with exit code 0" "${rose:-}$why"

unmount_proc
show_summary release || { echo "The root stays in $root for a look" >&2; exit 1; }
rm -rf --one-file-system "$root"
