#!/usr/bin/env bash
# Makes the release packages, with CPack, into dist/ (or DIR):
#   tarvel-VERSION-win32.zip   tarvel.exe (32-bit) beside graph\ and music\,
#   tarvel-VERSION-win64.zip   (64-bit) with README.txt and the licence files
#   tarvel_VERSION_amd64.deb   Debian 12: the show and its launcher,
#                              tarvel-capture, the content, menu entry, icons,
#                              man pages; checked with lintian
#   tarvel-VERSION.tar.gz      the source
#   tarvel-VERSION-web.zip     the browser build, when the tree has one
#                              (scripts/build_web.sh)
#   SHA256SUMS
# VERSION is project(VERSION) in CMakeLists.txt. The packages come from the
# build folders build/release (the .deb, the source archive, the content for
# the zips), build/win32 and build/win64.
#
#   scripts/release.sh [--out DIR]
source "$(dirname "$0")/common.sh"

out=$TARVEL_ROOT/dist
case ${1:-} in
  --out) [ $# -eq 2 ] || { echo "usage: scripts/release.sh [--out DIR]" >&2; exit 2; }; out=$(realpath -m "$2") ;;
  "") ;;
  *) echo "usage: scripts/release.sh [--out DIR]" >&2; exit 2 ;;
esac

ensure_packages "${TARVEL_BUILD_PACKAGES[@]}" "${TARVEL_TEST_PACKAGES[@]}" "${TARVEL_WINDOWS_PACKAGES[@]}" \
  "${TARVEL_RELEASE_PACKAGES[@]}"

# The shipped programs are those the test command builds and tests.
configure_and_build release
"$TARVEL_ROOT/scripts/build_windows.sh"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$TARVEL_ROOT/build/release/CMakeCache.txt")
changelog_version=$(sed -n '1s/^tarvel (\([^)]*\)).*/\1/p' "$TARVEL_ROOT/packaging/debian/changelog")
if [ "$changelog_version" != "$version" ]; then
  echo "packaging/debian/changelog begins with version '$changelog_version', not $version: add an entry" >&2
  exit 1
fi

mkdir -p "$out"
rm -f "$out"/tarvel[-_]"$version"* "$out/SHA256SUMS"

# package BUILD [CONFIG]: runs CPack in build/BUILD with CONFIG (default
# CPackConfig.cmake) and copies what it makes to the output folder.
package() {
  local build=$TARVEL_ROOT/build/$1 config=${2:-CPackConfig.cmake}
  local dir=$build/packages/${config%.cmake}
  log "Packaging build/$1 ($config)"
  rm -rf "$dir"
  mkdir -p "$dir"
  (cd "$build" && cpack --config "$config" -B "$dir" >"$dir.log") || { cat "$dir.log" >&2; exit 1; }
  find "$dir" -maxdepth 1 -type f -name 'tarvel*' -exec cp {} "$out"/ \;
}

package win32
package win64
package release
package release CPackSourceConfig.cmake

# The web site, once the tree has the browser build.
if [ -x "$TARVEL_ROOT/scripts/build_web.sh" ]; then
  "$TARVEL_ROOT/scripts/build_web.sh"
  site=$(find "$TARVEL_ROOT/build/web" -name tarvel.html -not -path '*/CMakeFiles/*' -printf '%h\n' | head -1)
  [ -n "$site" ] || { echo "The web build made no tarvel.html under build/web" >&2; exit 1; }
  cmake -B "$TARVEL_ROOT/build/release" -D TARVEL_WEB_OUTPUT="$site" >/dev/null
  package release CPackWebConfig.cmake
fi

# No errors and no warnings but the one explained here: tarvel-capture, a
# tool beside the game, lives in /usr/bin with its man page in section 1.
log "Checking the Debian package with lintian"
lintian --fail-on error,warning --suppress-tags package-section-games-but-has-usr-bin \
  "$out/tarvel_${version}_amd64.deb" 2> >(grep -v 'running with root privileges' >&2)

(cd "$out" && sha256sum tarvel[-_]"$version"* >SHA256SUMS)
log "Packages in $out:"
(cd "$out" && ls -l tarvel[-_]"$version"* SHA256SUMS)
