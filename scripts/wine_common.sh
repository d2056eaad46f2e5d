# Shared machinery of the tests that run the Windows program under Wine:
# the private prefix, Xvfb screens, a null ALSA device, starting and ending
# the show, pressing keys, and comparing the screen with tarvel-capture's
# frame; 32-bit programs natively or through qemu-i386. Sourced after
# common.sh by scripts/test_wine.sh and scripts/test_packages.sh; not meant
# to be run on its own.
#
# wine_setup ARCH WORK sets it up, with WORK as the folder of the test's files.

# Wine 8 on Debian installs its loaders off the PATH: wine64 for 64-bit
# programs, wine (from wine32:i386) for 32-bit ones.
WINE=/usr/lib/wine/wine64
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

# Set by enable_32bit_programs when 32-bit programs run through an emulator
# (its path), and whether it is known to give threads each other's TLS
# descriptors (1), which makes 32-bit Wine stall at times.
emulator=
tls_shared=0
# How many times longer than natively the checks may take.
patience=1

passed=0
failed=0
known=0
started=$(date +%s.%N)
# Sets `took` to the seconds since the last check ended, and starts again.
time_check() {
  local now
  now=$(date +%s.%N)
  took=$(awk -v a="$started" -v b="$now" 'BEGIN { printf "%.1f s", b - a }')
  started=$now
}
pass() { time_check; passed=$((passed + 1)); echo "PASS $1 ($took)"; }
# A failure through an emulator known to lose threads' TLS descriptors is
# reported, but not counted: it is the emulator's (tests/wine/qemu_*).
fail() {
  time_check
  if [ $tls_shared -eq 1 ]; then
    known=$((known + 1))
    echo "KNOWN $1: $2; $emulator gives threads each other's TLS descriptors, see tests/wine/qemu_tls_reload.s ($took)"
  else
    failed=$((failed + 1))
    echo "FAIL $1: $2 ($took)"
  fi
}
# wine_summary NAME: the counts, and the script's result.
wine_summary() {
  echo "$1: $passed passed, $failed failed${emulator:+, $known failed through $emulator}"
  [ $failed -eq 0 ]
}

xvfb_pids=()
wine_cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  for pid in "${xvfb_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}

# wine_setup ARCH WORK: for the program of build/ARCH (win64 or win32), its
# loader and the prefix build/ARCH/wine-prefix, no installer dialogs, a null
# ALSA device (DirectSound needs one), WORK made empty; everything is ended
# when the script exits.
wine_setup() {
  arch=$1
  work=$2
  rm -rf "$work"
  mkdir -p "$work"
  [ "$arch" = win32 ] && WINE=/usr/lib/wine/wine
  export WINEPREFIX=$TARVEL_ROOT/build/$arch/wine-prefix
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer dialogs
  printf 'pcm.!default { type null }\n' >"$work/asound.conf"
  export ALSA_CONFIG_PATH=$work/asound.conf
  trap wine_cleanup EXIT
}

# wine_prepare_prefix: an 800x600 screen, and a fresh copy of a prefix that
# wineboot made for this version of Wine and nothing has used since (made
# once, by the 64-bit loader: 32-bit programs set up its 32-bit half).
wine_prepare_prefix() {
  local pristine=$WINEPREFIX.pristine version
  log "Preparing the Wine prefix"
  start_screen 800x600x24
  "$WINESERVER" -k 2>/dev/null || true
  version=$("$WINE64" --version)
  if [ ! -d "$pristine" ] || [ "$(cat "$pristine.version" 2>/dev/null)" != "$version" ]; then
    rm -rf "$pristine" "$pristine.version"
    WINEPREFIX=$pristine "$WINE64" wineboot -i >"$work/wineboot.log" 2>&1
    WINEPREFIX=$pristine "$WINESERVER" -w
    echo "$version" >"$pristine.version"
  fi
  rm -rf "$WINEPREFIX"
  cp -a "$pristine" "$WINEPREFIX"
  if [ -n "$emulator" ]; then
    # Through qemu a thread that takes a signal can go on with another
    # thread's TEB (enable_32bit_programs). The main thread takes one when a
    # device driver (in a native 64-bit process) completes its synchronous
    # I/O before the slower emulated thread waits for it: the joystick
    # calls' requests and the cdaudio MCI driver's drive queries. So wined3d
    # runs in the calling thread and draws with GDI (OpenGL would compile
    # its shaders under emulation for minutes), and the cdaudio driver is
    # left out: the MCI commands then fail at once, as without a CD drive.
    "$WINE64" reg add 'HKCU\Software\Wine\Direct3D' /v csmt /t REG_DWORD /d 0 /f >>"$work/wineboot.log" 2>&1
    "$WINE64" reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d gdi /f >>"$work/wineboot.log" 2>&1
    sed -i '/^cdaudio=/Id' "$WINEPREFIX/drive_c/windows/system.ini"
  fi
  "$WINESERVER" -w
  time_check
}

# enable_32bit_programs: 32-bit Wine and its packages beside the amd64 ones,
# and 32-bit x86 programs runnable: natively where the kernel runs them,
# else through qemu-i386, registered with binfmt_misc (as root; an existing
# registration is left alone). Where that cannot be done it prints one SKIP
# line and ends the script with 0. TARVEL_WINE32_QEMU=1 uses qemu-i386 on any
# kernel, with a binfmt_misc of the script's own in a user namespace (Linux
# 6.7 or later); the script is then started again there, with the arguments
# given here.
enable_32bit_programs() {
  local binfmt=/proc/sys/fs/binfmt_misc qemu=/usr/bin/qemu-i386 probe
  skip() { echo "SKIP 32-bit Windows program under Wine: $*"; exit 0; }
  is_root() { [ "$(id -u)" -eq 0 ]; }
  installed() {
    local p
    for p in "$@"; do
      dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || return 1
    done
  }
  if [[ " $(dpkg --print-foreign-architectures | tr '\n' ' ') " != *" i386 "* ]]; then
    is_root || skip "the i386 architecture is not enabled, and only root can enable it"
    log "Enabling the i386 architecture"
    dpkg --add-architecture i386
    apt-get update -qq
  fi
  is_root || installed "${TARVEL_WINE32_PACKAGES[@]}" || skip "packages are missing, and only root can install them"
  ensure_packages "${TARVEL_WINE32_PACKAGES[@]}"

  # A 32-bit x86 program that only exits: whether this kernel runs such
  # programs, natively or through a binfmt_misc interpreter.
  mkdir -p "$work"
  probe=$work/exit-i386
  printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' | as --32 -o "$probe.o" -
  ld -m elf_i386 -o "$probe" "$probe.o"

  register_qemu() {
    is_root || skip "this kernel does not run 32-bit x86 programs, and only root can register qemu-i386"
    ensure_packages qemu-user
    [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
      skip "binfmt_misc cannot be mounted"
    if [ ! -e "$binfmt/qemu-i386" ]; then
      log "Registering $qemu for 32-bit x86 programs"
      # 32-bit x86 ELF executables and shared objects; the interpreter is
      # opened at registration (F), so that it serves every mount namespace.
      echo ":qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:$qemu:F" \
        >"$binfmt/register" || skip "qemu-i386 cannot be registered with binfmt_misc"
    fi
  }
  if [ "${TARVEL_WINE32_QEMU:-0}" = 1 ] && [ -z "${TARVEL_WINE32_NAMESPACE:-}" ]; then
    is_root || skip "TARVEL_WINE32_QEMU=1 needs root"
    ensure_packages qemu-user
    exec unshare --user --map-root-user --mount --fork env TARVEL_WINE32_NAMESPACE=1 "$0" "$@"
  elif [ -n "${TARVEL_WINE32_NAMESPACE:-}" ]; then
    mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
      skip "no binfmt_misc of its own in a user namespace (it needs Linux 6.7 or later)"
    register_qemu
  elif ! "$probe" 2>/dev/null; then
    register_qemu
  fi
  "$probe" 2>/dev/null || skip "32-bit x86 programs do not run here, not even through binfmt_misc"

  # The interpreter of the enabled binfmt_misc entry for 32-bit x86 programs.
  local entry
  for entry in "$binfmt"/*; do
    [ -f "$entry" ] && [ "$(head -1 "$entry")" = enabled ] || continue
    grep -q '^magic 7f454c4601010100000000000000000002000300' "$entry" || continue
    emulator=$(sed -n 's/^interpreter //p' "$entry")
  done
  if [ -z "$emulator" ]; then
    log "32-bit programs run natively"
    return
  fi
  # Emulated, everything takes longer, and qemu must reserve the guest's
  # address space up front (3 GB): otherwise Wine cannot map its shared user
  # data at the fixed address it needs.
  patience=4
  export QEMU_RESERVED_VA=0xc0000000
  as --32 -o "$work/tls-reload.o" "$TARVEL_ROOT/tests/wine/qemu_tls_reload.s"
  ld -m elf_i386 -o "$work/tls-reload" "$work/tls-reload.o"
  "$work/tls-reload" || tls_shared=1
  if [ $tls_shared -eq 1 ]; then
    log "32-bit programs run through $emulator, which gives threads each other's TLS descriptors: 32-bit Wine stalls at times under it"
  else
    log "32-bit programs run through $emulator"
  fi
}

# start_screen WxHxD: an Xvfb server of that size; sets DISPLAY.
start_screen() {
  start_xvfb "$1" "$work"
  xvfb_pids+=("$XVFB_PID")
}

# wait_for SECONDS COMMAND...: true once COMMAND succeeds, polled every 0.2 s.
wait_for() {
  local tries=$(($1 * 5)); shift
  while [ $tries -gt 0 ]; do
    "$@" && return 0
    sleep 0.2
    tries=$((tries - 1))
  done
  return 1
}

# start_show DIR NAME [EXE]: the program (default $exe) with DIR as its
# working folder, its log in $work/NAME.log, its output in $work/NAME.out
# and .err; sets show_pid.
start_show() {
  local program=${3:-$exe}
  (cd "$1" && TARVEL_DEBUG_LOG=$work/$2.log exec "$WINE" "$program") >"$work/$2.out" 2>"$work/$2.err" &
  show_pid=$!
}

# finish_show SECONDS: the program's exit code once it has ended, 124 when it
# is still running after SECONDS (it is then ended).
finish_show() {
  if wait_for "$1" bash -c "! kill -0 $show_pid 2>/dev/null"; then
    wait "$show_pid"
    return $?
  fi
  "$WINESERVER" -k 2>/dev/null || true
  # Under qemu a Wine process can outlive its server.
  wait_for 10 bash -c "! kill -0 $show_pid 2>/dev/null" || kill -9 "$show_pid" 2>/dev/null
  wait "$show_pid" 2>/dev/null || true
  return 124
}

log_has() { grep -q -F -- "$2" "$1" 2>/dev/null; }

# The clocks of the last N frames in the log, one a line.
# (The Windows program ends its lines with CR LF.)
last_clocks() { grep '^frame ' "$1" | tail -n "$2" | awk '{sub(/\r$/, ""); print $4}'; }

# clock_stopped LOG: the last 15 frames were all drawn at one clock above 0.
clock_stopped() {
  local clocks
  clocks=$(last_clocks "$1" 15)
  [ "$(wc -l <<<"$clocks")" -eq 15 ] && [ "$(sort -u <<<"$clocks" | wc -l)" -eq 1 ] && [ "$(head -1 <<<"$clocks")" -gt 0 ]
}

# press WINDOW_NAME KEY: gives the named window the focus and presses KEY.
press() {
  local id
  id=$(xdotool search --name "$1" | head -1)
  [ -n "$id" ] || return 1
  xdotool windowfocus "$id" 2>/dev/null || true
  xdotool key "$2"
}

# escape_ends_show WHAT: presses Escape in the show's window; passes when
# the show then ends with exit code 0 (WHAT names the show in the message).
escape_ends_show() {
  local code
  press '^TARVEL$' Escape || true
  finish_show $((30 * patience))
  code=$?
  if [ $code -eq 0 ]; then
    pass "$1: Escape ends it with exit code 0"
  else
    fail "$1: Escape" "exit code $code"
  fi
}

window_shown() { xdotool search --name "$1" >/dev/null 2>&1; }

# rgb24 INPUT OUTPUT [ffmpeg input options...]: raw 800x600 RGB bytes.
rgb24() {
  local in=$1 out=$2; shift 2
  ffmpeg -loglevel error -y "$@" -i "$in" -frames:v 1 -f rawvideo -pix_fmt rgb24 "$out"
}

# shorten_soundtrack CONTENT DIR: DIR becomes a show folder whose graph/ is
# CONTENT's and whose soundtrack is CONTENT's cut to 15.6 s. The clock then
# stops near 1560, inside a scene window whose picture is a function of the
# clock alone (no noise).
shorten_soundtrack() {
  mkdir -p "$2/music"
  [ -e "$2/graph" ] || ln -s "$1/graph" "$2/graph"
  ffmpeg -loglevel error -y -i "$1/music/music00.mp3" -t 15.6 -c copy -f mp3 "$2/music/music00.mp3.cut"
  mv "$2/music/music00.mp3.cut" "$2/music/music00.mp3"
}

# screen_equals_capture NAME CLOCK CONTENT: the screen, grabbed as
# $work/NAME.png, equals tarvel-capture's frame at CLOCK on CONTENT pixel for
# pixel; otherwise prints how many bytes differ.
screen_equals_capture() {
  local name=$1 clock=$2 content=$3 reference differing
  ffmpeg -loglevel error -y -f x11grab -draw_mouse 0 -video_size 800x600 -i "$DISPLAY" -frames:v 1 "$work/$name.png"
  rgb24 "$work/$name.png" "$work/$name.rgb"
  rm -rf "$work/$name-reference"
  "$capture" frames --content "$content" --clocks "$clock" --out "$work/$name-reference" --raw >/dev/null
  reference=$(ls "$work/$name-reference"/*.rgb32 | head -1)
  rgb24 "$reference" "$work/$name-reference.rgb" -f rawvideo -pix_fmt bgr0 -video_size 800x600
  differing=$(cmp -l "$work/$name.rgb" "$work/$name-reference.rgb" 2>/dev/null | wc -l)
  if [ -s "$work/$name.rgb" ] && [ "$(stat -c %s "$work/$name.rgb")" -eq 1440000 ] && [ "$differing" -eq 0 ]; then
    return 0
  fi
  echo "$differing bytes differ from the capture's frame at clock $clock (see $work/$name.png)"
  return 1
}
