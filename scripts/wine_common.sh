# The Windows program under Wine: its loader, a private prefix, a null ALSA
# device, 32-bit programs natively or through qemu-i386, over
# scripts/test_common.sh. Sourced after common.sh.
source "$TARVEL_ROOT/scripts/test_common.sh"

# Debian's Wine 8 keeps its loaders off the PATH: wine64, and wine (wine32:i386).
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
emulator= # what runs 32-bit programs (enable_32bit_programs), if anything

# wine_setup ARCH WORK: show_setup WORK; the loader of build/ARCH's program
# (win64 or win32) in RUN_WITH, the prefix build/ARCH/wine-prefix, no
# installer dialogs and a null ALSA device (DirectSound needs one).
wine_setup() {
  show_setup "$2"
  RUN_WITH=("$WINE64")
  [ "$1" = win32 ] && RUN_WITH=(/usr/lib/wine/wine)
  export WINEPREFIX=$TARVEL_ROOT/build/$1/wine-prefix WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer dialogs
  printf 'pcm.!default { type null }\n' >"$work/asound.conf"
  export ALSA_CONFIG_PATH=$work/asound.conf
}

# wine_prepare_prefix: an 800x600 screen and a fresh copy of the prefix
# wineboot made once for this version of Wine.
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
  if [ -n "$emulator" ]; then
    # Under qemu the main thread must take no signals (enable_32bit_programs):
    # wined3d draws with GDI in the calling thread, and there is no cdaudio
    # driver, whose drive queries would send them.
    "$WINE64" reg add 'HKCU\Software\Wine\Direct3D' /v csmt /t REG_DWORD /d 0 /f >>"$work/wineboot.log" 2>&1
    "$WINE64" reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d gdi /f >>"$work/wineboot.log" 2>&1
    sed -i '/^cdaudio=/Id' "$WINEPREFIX/drive_c/windows/system.ini"
  fi
  "$WINESERVER" -w
  time_check
}

# enable_32bit_programs ARGS...: 32-bit Wine beside the 64-bit one, and 32-bit
# x86 programs runnable: natively, else through qemu-i386 registered with
# binfmt_misc (as root; an existing registration is kept). Where that cannot
# be done it prints SKIP and ends the script with 0. TARVEL_WINE32_QEMU=1
# uses qemu-i386 on any kernel, with a binfmt_misc of its own in a user
# namespace (Linux 6.7 or later), where the script starts again with ARGS.
enable_32bit_programs() {
  local binfmt=/proc/sys/fs/binfmt_misc qemu=/usr/bin/qemu-i386 probe=$work/exit-i386 entry
  skip() { echo "SKIP 32-bit Windows program under Wine: $*"; exit 0; }
  root() { [ "$(id -u)" -eq 0 ] || skip "$* needs root"; }
  if [[ " $(dpkg --print-foreign-architectures | tr '\n' ' ') " != *" i386 "* ]]; then
    root "enabling the i386 architecture"
    dpkg --add-architecture i386
    apt-get update -qq
  fi
  [ "$(dpkg-query -W -f='${Status}\n' "${TARVEL_WINE32_PACKAGES[@]}" 2>/dev/null | grep -c 'install ok installed')" \
    -eq ${#TARVEL_WINE32_PACKAGES[@]} ] || root "installing ${TARVEL_WINE32_PACKAGES[*]}"
  ensure_packages "${TARVEL_WINE32_PACKAGES[@]}"

  # A 32-bit x86 program that only exits: does this kernel run such programs?
  printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' | as --32 -o "$probe.o" -
  ld -m elf_i386 -o "$probe" "$probe.o"
  register_qemu() {
    root "registering qemu-i386"
    ensure_packages qemu-user
    [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || skip "no binfmt_misc"
    [ -e "$binfmt/qemu-i386" ] && return
    log "Registering $qemu for 32-bit x86 programs"
    # 32-bit x86 ELF files; the interpreter opened now (F), for every mount namespace.
    echo ":qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:$qemu:F" \
      >"$binfmt/register" || skip "qemu-i386 cannot be registered with binfmt_misc"
  }
  if [ "${TARVEL_WINE32_QEMU:-0}" = 1 ] && [ -z "${TARVEL_WINE32_NAMESPACE:-}" ]; then
    root "TARVEL_WINE32_QEMU=1"
    ensure_packages qemu-user
    exec unshare --user --map-root-user --mount --fork env TARVEL_WINE32_NAMESPACE=1 "$0" "$@"
  elif [ -n "${TARVEL_WINE32_NAMESPACE:-}" ]; then
    mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || skip "no binfmt_misc of its own in a user namespace"
    register_qemu
  elif ! "$probe" 2>/dev/null; then
    register_qemu
  fi
  "$probe" 2>/dev/null || skip "32-bit x86 programs do not run here, not even through binfmt_misc"

  # The interpreter of the enabled binfmt_misc entry for 32-bit x86 programs.
  for entry in "$binfmt"/*; do
    [ -f "$entry" ] && [ "$(head -1 "$entry")" = enabled ] &&
      grep -q '^magic 7f454c4601010100000000000000000002000300' "$entry" &&
      emulator=$(sed -n 's/^interpreter //p' "$entry")
  done
  [ -n "$emulator" ] || { log "32-bit programs run natively"; return 0; }
  # Emulated, all takes longer, and qemu must reserve the guest's 3 GB up
  # front, or Wine cannot map its shared user data at its fixed address.
  patience=4
  export QEMU_RESERVED_VA=0xc0000000
  known_fault="$emulator gives a thread that takes a signal another thread's TLS descriptor"
  log "32-bit programs run through $emulator; $known_fault: 32-bit Wine stalls at times under it"
}
