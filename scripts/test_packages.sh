#!/usr/bin/env bash
# Makes the release packages into build/dist (scripts/release.sh, which runs
# lintian on the .deb) and checks that each zip holds exactly its folder:
# tarvel.exe for its processor importing only Windows' own DLLs, the content
# byte for byte; the .deb exactly an installation's files and its libraries'
# dependencies; the source archive every tracked file and no build output.
source "$(dirname "$0")/common.sh"
positional_arguments 0 "$@"

ensure_packages "${TARVEL_BUILD_PACKAGES[@]}" "${TARVEL_TEST_PACKAGES[@]}" "${TARVEL_WINDOWS_PACKAGES[@]}" \
  "${TARVEL_RELEASE_PACKAGES[@]}"

dist=$TARVEL_ROOT/build/dist
"$TARVEL_ROOT/scripts/release.sh" --out "$dist"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$TARVEL_ROOT/build/release/CMakeCache.txt")
content=$TARVEL_ROOT/build/release/content
source "$TARVEL_ROOT/scripts/test_common.sh"
show_setup "$TARVEL_ROOT/build/dist-test"
set +e # from here on a failing check is counted

# same_list NAME EXPECTED ACTUAL: the two lists agree, in any order.
same_list() {
  local missing extra
  missing=$(comm -23 <(sort <<<"$2") <(sort <<<"$3") | head -5 | tr '\n' ' ')
  extra=$(comm -13 <(sort <<<"$2") <(sort <<<"$3") | head -5 | tr '\n' ' ')
  check "$1" "${missing:+missing: $missing}${extra:+extra: $extra}"
}

pictures=$(cd "$content" && find graph music -type f | sort)

for bits in 32 64; do
  name=tarvel-$version-win$bits
  zip=$dist/$name.zip
  log "Checking $name.zip"
  expected=$(printf '%s\n' tarvel.exe README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt $pictures | sed "s|^|$name/|")
  same_list "$name.zip: the files of the show" "$expected" "$(unzip -Z1 "$zip" | grep -v '/$')"

  unzip -q -o -d "$work" "$zip"
  folder=$work/$name
  check "$name.zip: the pictures and soundtrack are the content's" \
    "$(diff -rq "$content/graph" "$folder/graph" 2>&1; diff -rq "$content/music" "$folder/music" 2>&1)"
  format=$([ $bits = 32 ] && echo pei-i386 || echo pei-x86-64)
  imports=$(x86_64-w64-mingw32-objdump -p "$folder/tarvel.exe" | sed -n 's/^\tDLL Name: //p' | tr 'a-z' 'A-Z' | sort -u | tr '\n' ' ')
  x86_64-w64-mingw32-objdump -f "$folder/tarvel.exe" | grep -q "file format $format" || imports="not $format"
  check "$name.zip: tarvel.exe is $format and imports only Windows' own DLLs" \
    "$([ "$imports" = "DDRAW.DLL DSOUND.DLL KERNEL32.DLL MSVCRT.DLL OLE32.DLL USER32.DLL WINMM.DLL " ] || echo "$imports")"
done

deb=$dist/tarvel_${version}_amd64.deb
log "Checking $(basename "$deb")"
expected=$(printf '%s\n' usr/games/tarvel usr/lib/games/tarvel/tarvel usr/bin/tarvel-capture \
  usr/share/applications/tarvel.desktop usr/share/man/man6/tarvel.6.gz usr/share/man/man1/tarvel-capture.1.gz \
  usr/share/doc/tarvel/copyright usr/share/doc/tarvel/changelog.gz; \
  for size in 32 64 128 256; do echo "usr/share/icons/hicolor/${size}x$size/apps/tarvel.png"; done; \
  sed 's|^|usr/share/games/tarvel/|' <<<"$pictures")
same_list "$(basename "$deb"): the files of an installation" "$expected" \
  "$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||')"
depends=$(dpkg-deb -f "$deb" Depends)
missing=""
for library in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libcdio19 libcdio-paranoia2 libcdio-cdda2 libdeflate0 libstdc++6; do
  grep -q "\b$library (" <<<"$depends" || missing+="$library "
done
check "$(basename "$deb"): depends on the libraries its programs link" "${missing:+no $missing in: $depends}"

log "Checking tarvel-$version.tar.gz"
archived=$(tar -tzf "$dist/tarvel-$version.tar.gz" | grep -v '/$' | sed "s|^tarvel-$version/||")
check "source archive: every file Git tracks" \
  "$(comm -23 <(git -C "$TARVEL_ROOT" ls-files | sort) <(sort <<<"$archived") | head -5 | tr '\n' ' ')"
check "source archive: no build output" "$(grep -E '^(build[^/]*|dist|out|\.git)(/|$)' <<<"$archived" | head -3 | tr '\n' ' ')"

show_summary packages
