#!/usr/bin/env bash
# Makes the release packages into build/dist with scripts/release.sh (which
# also runs lintian on the .deb) and checks them:
#   zips     each holds exactly, in one folder named after the zip,
#            tarvel.exe for its processor importing only Windows' own DLLs,
#            graph\ with every picture of the content byte for byte,
#            music\music00.mp3, and README.txt, LICENSE.txt and
#            THIRD-PARTY-NOTICES.txt with Windows line ends
#   Wine     the 64-bit program started from the unzipped folder (its
#            soundtrack cut short, so the clock comes to rest) shows
#            tarvel-capture's frame for that clock, and Escape ends it with 0
#   deb      exactly the files of an installation, and dependencies on the
#            libraries the programs link
#   source   every file Git tracks, no build output
#   web zip  when made: the site's five files, its README and licence files
source "$(dirname "$0")/common.sh"
positional_arguments 0 "$@"

ensure_packages "${TARVEL_BUILD_PACKAGES[@]}" "${TARVEL_TEST_PACKAGES[@]}" "${TARVEL_WINDOWS_PACKAGES[@]}" \
  "${TARVEL_WINE_PACKAGES[@]}" "${TARVEL_RELEASE_PACKAGES[@]}"

dist=$TARVEL_ROOT/build/dist
"$TARVEL_ROOT/scripts/release.sh" --out "$dist"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$TARVEL_ROOT/build/release/CMakeCache.txt")
native=$TARVEL_ROOT/build/release
capture=$native/tools/capture/tarvel-capture
content=$native/content
source "$TARVEL_ROOT/scripts/wine_common.sh"
wine_setup win64 "$TARVEL_ROOT/build/dist-test"

# From here on a failing check is counted, not fatal.
set +e

# same_list NAME EXPECTED ACTUAL: passes when the two sorted lists agree,
# otherwise names what is missing and what is extra.
same_list() {
  local missing extra
  missing=$(comm -23 <(sort <<<"$2") <(sort <<<"$3") | head -5 | tr '\n' ' ')
  extra=$(comm -13 <(sort <<<"$2") <(sort <<<"$3") | head -5 | tr '\n' ' ')
  if [ -z "$missing$extra" ]; then
    pass "$1"
  else
    fail "$1" "missing: ${missing:-none}; extra: ${extra:-none}"
  fi
}

pictures=$(cd "$content" && find graph music -type f | sort)

# ---------------------------------------------------------------- zips
for bits in 32 64; do
  name=tarvel-$version-win$bits
  zip=$dist/$name.zip
  log "Checking $name.zip"
  expected=$(printf '%s\n' tarvel.exe README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt $pictures | sed "s|^|$name/|")
  same_list "$name.zip: the files of the show" "$expected" "$(unzip -Z1 "$zip" | grep -v '/$')"

  unzip -q -o -d "$work" "$zip"
  folder=$work/$name
  if diff -r "$content/graph" "$folder/graph" >/dev/null && cmp -s "$content/music/music00.mp3" "$folder/music/music00.mp3"; then
    pass "$name.zip: the pictures and soundtrack are the content's"
  else
    fail "$name.zip" "the pictures or the soundtrack differ from $content"
  fi
  unix_lines=$(cat "$folder"/README.txt "$folder"/LICENSE.txt "$folder"/THIRD-PARTY-NOTICES.txt | grep -c -v $'\r$')
  if [ "$unix_lines" -eq 0 ]; then
    pass "$name.zip: text files with Windows line ends"
  else
    fail "$name.zip" "$unix_lines lines of its text files end without CR"
  fi
  format=$([ $bits = 32 ] && echo pei-i386 || echo pei-x86-64)
  imports=$(x86_64-w64-mingw32-objdump -p "$folder/tarvel.exe" | sed -n 's/^\tDLL Name: //p' | tr 'a-z' 'A-Z' | sort -u | tr '\n' ' ')
  if ! x86_64-w64-mingw32-objdump -f "$folder/tarvel.exe" | grep -q "file format $format"; then
    fail "$name.zip: tarvel.exe" "not a $format program"
  elif [ "$imports" != "DDRAW.DLL DSOUND.DLL KERNEL32.DLL MSVCRT.DLL OLE32.DLL USER32.DLL WINMM.DLL " ]; then
    fail "$name.zip: tarvel.exe" "imports $imports"
  else
    pass "$name.zip: tarvel.exe is $format and imports only Windows' own DLLs"
  fi
done

# ---------------------------------------------------------------- Wine
log "Wine: the 64-bit program from its unzipped folder"
folder=$work/tarvel-$version-win64
wine_prepare_prefix
shorten_soundtrack "$folder" "$folder"
start_show "$folder" zipshow "$folder/tarvel.exe"
if wait_for 120 clock_stopped "$work/zipshow.log"; then
  clock=$(last_clocks "$work/zipshow.log" 1)
  if why=$(screen_equals_capture zipshow "$clock" "$folder"); then
    pass "tarvel.exe from the zip shows the capture's frame at clock $clock"
  else
    fail "tarvel.exe from the zip" "$why"
  fi
else
  fail "tarvel.exe from the zip" "its clock did not come to rest within 120 s: $(last_clocks "$work/zipshow.log" 3 | tr '\n' ' ')"
fi
escape_ends_show "tarvel.exe from the zip"

# ---------------------------------------------------------------- deb
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
if [ -z "$missing" ]; then
  pass "$(basename "$deb"): depends on the libraries its programs link"
else
  fail "$(basename "$deb"): dependencies" "no $missing in: $depends"
fi

# ---------------------------------------------------------------- source
source_archive=$dist/tarvel-$version.tar.gz
log "Checking $(basename "$source_archive")"
archived=$(tar -tzf "$source_archive" | grep -v '/$' | sed "s|^tarvel-$version/||")
if git -C "$TARVEL_ROOT" rev-parse --git-dir >/dev/null 2>&1; then
  untracked=$(comm -23 <(git -C "$TARVEL_ROOT" ls-files | sort) <(sort <<<"$archived") | head -5 | tr '\n' ' ')
  [ -z "$untracked" ] && pass "source archive: every file Git tracks" || fail "source archive" "lacks $untracked"
fi
outputs=$(grep -E '^(build[^/]*|dist|out|\.git)(/|$)' <<<"$archived" | head -3 | tr '\n' ' ')
[ -z "$outputs" ] && pass "source archive: no build output" || fail "source archive" "holds $outputs"

# ---------------------------------------------------------------- web
web=$dist/tarvel-$version-web.zip
if [ -f "$web" ]; then
  expected=$(printf "tarvel-$version-web/%s\n" tarvel.html tarvel.js tarvel.wasm tarvel.data tarvel.data.js README.txt LICENSE.txt \
    THIRD-PARTY-NOTICES.txt)
  same_list "$(basename "$web"): the site" "$expected" "$(unzip -Z1 "$web" | grep -v '/$')"
fi

echo "packages: $passed passed, $failed failed"
[ $failed -eq 0 ]
