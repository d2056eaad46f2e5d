# The Windows program under Wine: its loader, a private prefix, a null ALSA
# device, 32-bit Wine, over scripts/test_common.sh. Sourced after common.sh.
source "$TARVEL_ROOT/scripts/test_common.sh"

# Debian's Wine 8 keeps its loaders off the PATH: wine64, and wine (wine32:i386).
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

# wine_setup ARCH WORK: show_setup WORK; build/ARCH's loader in RUN_WITH, the prefix
# build/ARCH/wine-prefix, no installer dialogs and a null ALSA device (DirectSound needs one).
wine_setup() {
  show_setup "$2"
  RUN_WITH=("$WINE64")
  [ "$1" = win32 ] && RUN_WITH=(/usr/lib/wine/wine)
  export WINEPREFIX=$TARVEL_ROOT/build/$1/wine-prefix WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer dialogs
  printf 'pcm.!default { type null }\n' >"$work/asound.conf"
  export ALSA_CONFIG_PATH=$work/asound.conf
}

# wine_prepare_prefix: an 800x600 screen and a fresh copy of the prefix wineboot made for this Wine.
wine_prepare_prefix() {
  local pristine=$WINEPREFIX.pristine version
  log "Preparing the Wine prefix"
  start_screen 800x600x24
  "$WINESERVER" -k 2>/dev/null || true
  version=$("$WINE64" --version)
  if [ "$(cat "$pristine.version" 2>/dev/null)" != "$version" ]; then
    rm -rf "$pristine"
    WINEPREFIX=$pristine "$WINE64" wineboot -i >"$work/wineboot.log" 2>&1
    WINEPREFIX=$pristine "$WINESERVER" -w
    echo "$version" >"$pristine.version"
  fi
  rm -rf "$WINEPREFIX"
  cp -a "$pristine" "$WINEPREFIX"
  "$WINESERVER" -w
  time_check
}

# enable_32bit_programs: 32-bit Wine beside the 64-bit one (the i386 architecture as root). Where
# that cannot be done, or 32-bit x86 programs run only through an emulator (qemu-i386 gives a thread
# that takes a signal another thread's TLS descriptor, and Wine stalls), it prints SKIP and ends with 0.
enable_32bit_programs() {
  local probe=$work/exit-i386 entry
  skip() { echo "SKIP 32-bit Windows program under Wine: $*"; exit 0; }
  if [[ " $(dpkg --print-foreign-architectures | tr '\n' ' ') " != *" i386 "* ]]; then
    [ "$(id -u)" -eq 0 ] || skip "enabling the i386 architecture needs root"
    dpkg --add-architecture i386
    apt-get update -qq
  fi
  ensure_packages "${TARVEL_WINE32_PACKAGES[@]}"
  # A 32-bit x86 program that only exits, run by the kernel itself, not by a binfmt_misc interpreter.
  printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' | as --32 -o "$probe.o" -
  ld -m elf_i386 -o "$probe" "$probe.o"
  "$probe" 2>/dev/null || skip "this kernel does not run 32-bit x86 programs"
  for entry in /proc/sys/fs/binfmt_misc/*; do
    [ -f "$entry" ] && [ "$(head -1 "$entry")" = enabled ] &&
      grep -q '^magic 7f454c4601010100000000000000000002000300' "$entry" &&
      skip "32-bit x86 programs run through $(sed -n 's/^interpreter //p' "$entry")"
  done
  return 0
}
