#!/usr/bin/env bash
# The 32-bit Windows program under 32-bit Wine, on the generated content, in
# a fresh private Wine prefix (build-win32/wine-prefix, 64-bit with its 32-bit
# half; the program is the only 32-bit process in it) and an Xvfb screen of
# 800x600x24:
#   show    start-up order; the soundtrack drives the clock through
#           DirectShow and stops it at the end of a shortened soundtrack; the
#           screen then equals the capture tool's frame at that clock;
#           Escape closes with exit code 0; shutdown order
#   fatal   a missing picture shows the fatal message box, exit code -1
# Each check prints the time it took.
#
# Where the kernel cannot run 32-bit x86 programs, they run through
# qemu-i386: as root the script mounts binfmt_misc and registers qemu-i386
# for them (an existing registration is left as it is). Where that cannot be
# done it prints one SKIP line and exits 0.
#
#   scripts/test_wine32.sh      (TARVEL_NATIVE_BUILD=DIR: the native build
#                                holding content and tarvel-capture, default build;
#                                TARVEL_WINE32_QEMU=1: through qemu-i386 even on a
#                                kernel that runs 32-bit programs, with a binfmt_misc
#                                of its own in a user namespace (Linux 6.7 or later))
source "$(dirname "$0")/common.sh"

skip() { echo "SKIP 32-bit Windows program under Wine: $*"; exit 0; }
is_root() { [ "$(id -u)" -eq 0 ]; }

work=$TARVEL_ROOT/build-win32/wine-test
binfmt=/proc/sys/fs/binfmt_misc
qemu=/usr/bin/qemu-i386
# qemu-i386 for 32-bit x86 ELF executables and shared objects, opened once at
# registration (F) so that it also serves other mount namespaces.
qemu_entry=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'$qemu':F'

# ---------------------------------------------------------------- set-up
installed() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || return 1
  done
}

# Packages: the i386 architecture, then 32-bit Wine (see common.sh).
packages=("${TARVEL_BUILD_PACKAGES[@]}" "${TARVEL_WINDOWS_PACKAGES[@]}" "${TARVEL_WINE_PACKAGES[@]}"
  "${TARVEL_WINE32_PACKAGES[@]}")
if [[ " $(dpkg --print-foreign-architectures | tr '\n' ' ') " != *" i386 "* ]]; then
  is_root || skip "the i386 architecture is not enabled, and only root can enable it"
  log "Enabling the i386 architecture"
  dpkg --add-architecture i386
  apt-get update -qq
fi
installed "${packages[@]}" || is_root || skip "packages are missing, and only root can install them"
ensure_packages "${packages[@]}"

# A 32-bit x86 program that only exits: whether this kernel runs such
# programs, natively or through a binfmt_misc interpreter.
mkdir -p "$work"
probe=$work/exit-i386
if [ ! -x "$probe" ]; then
  printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' | as --32 -o "$probe.o" -
  ld -m elf_i386 -o "$probe" "$probe.o"
fi
i386_runs() { "$probe" 2>/dev/null; }

# The interpreter of an enabled binfmt_misc entry for 32-bit x86 programs.
i386_interpreter() {
  local entry
  for entry in "$binfmt"/*; do
    [ -f "$entry" ] && [ "$(head -1 "$entry")" = enabled ] || continue
    grep -q '^magic 7f454c4601010100000000000000000002000300' "$entry" || continue
    sed -n 's/^interpreter //p' "$entry"
    return 0
  done
  return 1
}

# Mounts binfmt_misc if need be and registers qemu-i386, unless an entry of
# that name exists already.
register_qemu() {
  installed qemu-user || is_root || skip "qemu-user is missing, and only root can install it"
  ensure_packages qemu-user
  [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
    skip "binfmt_misc cannot be mounted"
  if [ ! -e "$binfmt/qemu-i386" ]; then
    log "Registering $qemu for 32-bit x86 programs"
    echo "$qemu_entry" >"$binfmt/register" || skip "qemu-i386 cannot be registered with binfmt_misc"
  fi
}

if [ "${TARVEL_WINE32_QEMU:-0}" = 1 ] && [ -z "${TARVEL_WINE32_NAMESPACE:-}" ]; then
  # A user namespace with a mount namespace of its own gets a binfmt_misc of
  # its own: the registration is seen by this script's processes only.
  is_root || skip "TARVEL_WINE32_QEMU=1 needs root"
  ensure_packages qemu-user
  exec unshare --user --map-root-user --mount --fork env TARVEL_WINE32_NAMESPACE=1 "$0" "$@"
elif [ -n "${TARVEL_WINE32_NAMESPACE:-}" ]; then
  mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
    skip "no binfmt_misc of its own in a user namespace (it needs Linux 6.7 or later)"
  register_qemu
elif ! i386_runs; then
  is_root || skip "this kernel does not run 32-bit x86 programs, and only root can register qemu-i386"
  register_qemu
fi
i386_runs || skip "32-bit x86 programs do not run here, not even through binfmt_misc"
emulator=$(i386_interpreter || true)

# qemu-i386 7.2 keeps one GDT for all of a program's threads: a thread that
# reloads a segment register gets the TLS descriptor the newest thread set.
# Wine's signal handlers reload %fs, the segment of the thread's TEB, so a
# signal can leave a thread running with another thread's TEB, and the
# program stalls or crashes (tools/qemu-i386). Where that is so, every
# failure says so.
tls_shared=0
if [ -n "$emulator" ]; then
  as --32 -o "$work/tls-reload.o" "$TARVEL_ROOT/tools/qemu-i386/tls_reload.s"
  ld -m elf_i386 -o "$work/tls-reload" "$work/tls-reload.o"
  "$work/tls-reload" || tls_shared=1
fi

native=$TARVEL_ROOT/${TARVEL_NATIVE_BUILD:-build}
if [ ! -f "$native/build.ninja" ]; then
  log "Configuring $native"
  cmake -S "$TARVEL_ROOT" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVEL_WERROR=ON >/dev/null
fi
log "Building the content and tarvel-capture in $native"
cmake --build "$native" -j "$TARVEL_JOBS" --target content tarvel-capture
# The configuration of scripts/build_windows.sh; only the program is built.
win32=$TARVEL_ROOT/build-win32
if [ ! -f "$win32/build.ninja" ]; then
  log "Configuring $win32"
  cmake -S "$TARVEL_ROOT" -B "$win32" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TARVEL_ROOT/cmake/mingw-w64-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DTARVEL_WERROR=ON -DTARVEL_TESTS=ON >/dev/null
fi
log "Building $win32/src/app/win32/tarvel.exe"
cmake --build "$win32" -j "$TARVEL_JOBS" --target tarvel

exe=$win32/src/app/win32/tarvel.exe
capture=$native/src/app/capture/tarvel-capture
content=$native/content
rm -rf "$work/show" "$work/fatal" "$work"/*.log "$work"/*.out "$work"/*.err "$work/reference"

WINE=/usr/lib/wine/wine
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINEPREFIX=$win32/wine-prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer dialogs
unset WINEARCH
# DirectSound needs an ALSA device: a null one that discards the sound.
printf 'pcm.!default { type null }\n' >"$work/asound.conf"
export ALSA_CONFIG_PATH=$work/asound.conf
# Emulated, everything takes longer, and qemu must reserve the guest's
# address space up front (3 GB): otherwise Wine cannot map its shared user
# data at the fixed address it needs.
patience=1
if [ -n "$emulator" ]; then
  patience=4
  export QEMU_RESERVED_VA=0xc0000000
fi

xvfb_pid=
cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

passed=0
failed=0
started=$(date +%s.%N)
# Sets took to the seconds since the last check ended (or the set-up), and
# starts the count again.
time_check() {
  local now
  now=$(date +%s.%N)
  took=$(awk -v a="$started" -v b="$now" 'BEGIN { printf "%.1f s", b - a }')
  started=$now
}
# A failure's suffix when the emulator is known to lose threads' TEBs.
emulator_note() {
  [ $tls_shared -eq 0 ] || printf '%s' "; $emulator shares TLS descriptors between threads (tools/qemu-i386)"
}
pass() { time_check; passed=$((passed + 1)); echo "PASS $1 ($took)"; }
fail() { time_check; failed=$((failed + 1)); echo "FAIL $1: $2$(emulator_note) ($took)"; }

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

# start_show DIR NAME: the program with DIR as its working folder, its log in
# $work/NAME.log, its output in $work/NAME.out and .err; sets show_pid.
start_show() {
  (cd "$1" && TARVEL_DEBUG_LOG=$work/$2.log exec "$WINE" "$exe") >"$work/$2.out" 2>"$work/$2.err" &
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

# in_order LOG STEP...: true when every STEP begins a line of LOG, each after
# the line of the step before; otherwise prints the first step not found.
in_order() {
  local log=$1 line=0 step found; shift
  for step in "$@"; do
    found=$(tail -n +$((line + 1)) "$log" | grep -n -F -m1 -- "$step" | cut -d: -f1)
    if [ -z "$found" ]; then
      echo "missing or out of order: $step"
      return 1
    fi
    line=$((line + found))
  done
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

window_shown() { xdotool search --name "$1" >/dev/null 2>&1; }

# rgb24 INPUT OUTPUT [ffmpeg input options...]: raw 800x600 RGB bytes.
rgb24() {
  local in=$1 out=$2; shift 2
  ffmpeg -loglevel error -y "$@" -i "$in" -frames:v 1 -f rawvideo -pix_fmt rgb24 "$out"
}

if [ $tls_shared -eq 1 ]; then
  log "32-bit programs run through $emulator, which shares TLS descriptors between threads: 32-bit Wine stalls or crashes at times under it (tools/qemu-i386)"
elif [ -n "$emulator" ]; then
  log "32-bit programs run through $emulator"
else
  log "32-bit programs run natively"
fi
log "Preparing a fresh Wine prefix"
"$WINESERVER" -k 2>/dev/null || true
: >"$work/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_for 20 test -s "$work/display" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(tr -d '[:space:]' <"$work/display")
# Each run gets a copy of a prefix that wineboot made for this version of
# Wine and nothing used since (under qemu, making one takes minutes). The
# 64-bit loader makes it: only its 32-bit half is set up by 32-bit programs.
pristine=$win32/wine-prefix.pristine
wine_version=$("$WINE64" --version)
if [ ! -d "$pristine" ] || [ "$(cat "$pristine.version" 2>/dev/null)" != "$wine_version" ]; then
  rm -rf "$pristine" "$pristine.version"
  if WINEPREFIX=$pristine "$WINE64" wineboot -i >"$work/wineboot.log" 2>&1 && WINEPREFIX=$pristine "$WINESERVER" -w; then
    echo "$wine_version" >"$pristine.version"
  fi
fi
rm -rf "$WINEPREFIX"
cp -a "$pristine" "$WINEPREFIX"
if [ -n "$emulator" ]; then
  # Through qemu a thread that takes a signal can go on with the TEB of the
  # newest thread (see tls_shared above). The main thread takes one when a
  # device driver (in a native 64-bit winedevice.exe) completes its
  # synchronous I/O before the slower emulated thread waits for it: the
  # joystick calls' HID requests, and the MCI cdaudio device's drive queries,
  # on every "cdaudio" command. So here wined3d runs in the calling thread
  # (no command-stream thread that would be the newest during start-up) and
  # draws with GDI (OpenGL would be Mesa's llvmpipe compiling its shaders
  # under emulation for minutes), and the cdaudio MCI driver is left out of
  # system.ini: the program's MCI commands then fail at once, as they do
  # without a CD drive, instead of querying the drives.
  "$WINE64" reg add 'HKCU\Software\Wine\Direct3D' /v csmt /t REG_DWORD /d 0 /f >>"$work/wineboot.log" 2>&1
  "$WINE64" reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d gdi /f >>"$work/wineboot.log" 2>&1
  sed -i '/^cdaudio=/Id' "$WINEPREFIX/drive_c/windows/system.ini"
fi
"$WINESERVER" -w
time_check
echo "prefix ready ($took)"

# From here on a failing check is counted, not fatal.
set +e

# ---------------------------------------------------------------- show
# The soundtrack cut to 15.6 s: the clock stops near 1560, inside a scene
# window whose picture is a function of the clock alone (no noise).
log "Wine 32-bit: the show on a shortened soundtrack"
mkdir -p "$work/show/music"
ln -s "$content/graph" "$work/show/graph"
ffmpeg -loglevel error -y -i "$content/music/music00.mp3" -t 15.6 -c copy "$work/show/music/music00.mp3"
start_show "$work/show" show
showlog=$work/show.log

if wait_for $((120 * patience)) log_has "$showlog" "frame 1 clock 0"; then
  if why=$(in_order "$showlog" "RegisterClassA MOVIRA" "CreateWindowExA TARVEL 800x600 created" \
      "DirectDrawCreate 00000000" "CalcMathTables" "SetCooperativeLevel 00000000" "SetDisplayMode 00000000" \
      "CreateSurface 00000000" "GetAttachedSurface 00000000" "Lock 00000000 pitch 3200 bits 32" "InitSubsystems" \
      "joyGetNumDevs" 'mciSendStringA "open cdaudio"' 'mciSendStringA "set cdaudio time format tmsf"' \
      "CoInitialize 00000000" "CoCreateInstance FilterGraph 00000000" "InitSound" "DirectSoundCreate 00000000" \
      "IDirectSound SetCooperativeLevel 00000000" "start-up done" "DemoFrame pictures loaded" \
      'RenderFile music\music00.mp3' "Run " "DemoFrame show started" "frame 1 clock 0"); then
    if in_order "$showlog" "WM_ACTIVATEAPP" "frame 1 clock 0" >/dev/null; then
      pass "start-up order"
    else
      fail "start-up order" "no WM_ACTIVATEAPP before the first frame"
    fi
  else
    fail "start-up order" "$why"
  fi
else
  fail "start-up order" "no frame within $((120 * patience)) s; the log ends with: $(tail -1 "$showlog" 2>/dev/null)"
fi

if wait_for $((60 * patience)) clock_stopped "$showlog"; then
  clock=$(last_clocks "$showlog" 1)
  if ! log_has "$showlog" 'RenderFile music\music00.mp3 00000000'; then
    fail "soundtrack clock" "RenderFile did not render the soundtrack"
  elif [ "$clock" -lt 1470 ] || [ "$clock" -gt 1639 ]; then
    fail "soundtrack clock" "the clock stopped at $clock, not near the soundtrack's end (1560)"
  else
    pass "soundtrack clock (rose from 0 to $clock and stopped there)"
  fi
  # The frame on screen against the capture tool's at the same clock.
  ffmpeg -loglevel error -y -f x11grab -draw_mouse 0 -video_size 800x600 -i "$DISPLAY" -frames:v 1 "$work/screen.png"
  rgb24 "$work/screen.png" "$work/screen.rgb"
  "$capture" frames --content "$work/show" --clocks "$clock" --out "$work/reference" --raw >/dev/null
  reference=$(ls "$work"/reference/*.rgb32 | head -1)
  rgb24 "$reference" "$work/reference.rgb" -f rawvideo -pix_fmt bgr0 -video_size 800x600
  differing=$(cmp -l "$work/screen.rgb" "$work/reference.rgb" 2>/dev/null | wc -l)
  if [ -s "$work/screen.rgb" ] && [ "$(stat -c %s "$work/screen.rgb")" -eq 1440000 ] && [ "$differing" -eq 0 ]; then
    pass "frame on screen equals the capture's frame at clock $clock"
  else
    fail "frame on screen" "$differing bytes differ from the capture's frame at clock $clock (see $work/screen.png)"
  fi
else
  fail "soundtrack clock" "the clock did not rise and stop within $((60 * patience)) s: $(last_clocks "$showlog" 3 | tr '\n' ' ')"
  fail "frame on screen" "no still frame to compare"
fi

press '^TARVEL$' Escape || true
finish_show $((30 * patience))
code=$?
if [ $code -eq 0 ]; then
  pass "Escape closes the show with exit code 0"
else
  fail "Escape" "exit code $code"
fi
if why=$(in_order "$showlog" "WM_KEYDOWN VK_ESCAPE" "WM_CLOSE" "WM_DESTROY" "ShutdownApp" \
    "Release PrimarySurface" "Release DDraw" "Release music graph" "CoUninitialize" "Release IDirectSound 0" \
    'mciSendStringA "stop cdaudio"' 'mciSendStringA "close cdaudio"' "exit 0"); then
  pass "shutdown order"
else
  fail "shutdown order" "$why"
fi

# ---------------------------------------------------------------- fatal
log "Wine 32-bit: a missing picture"
mkdir -p "$work/fatal/graph" "$work/fatal/music"
start_show "$work/fatal" fatal
caption='fichero no encontrado en LoadTGA:'
if wait_for $((120 * patience)) window_shown "^$caption\$"; then
  press "^$caption\$" Return || true
  finish_show $((30 * patience))
  code=$?
  if ! log_has "$work/fatal.log" "FatalError \"$caption\" \"graph\\fondo.tga\""; then
    fail "fatal error" "the message box did not show the caption and graph\\fondo.tga"
  elif ! log_has "$work/fatal.err" "$caption graph\\fondo.tga"; then
    fail "fatal error" "stderr lacks the message"
  elif [ $code -ne 255 ]; then
    fail "fatal error" "exit code $code, not -1 (255)"
  else
    pass "fatal error: message box \"$caption\" with graph\\fondo.tga, exit code -1"
  fi
else
  finish_show 1
  fail "fatal error" "no message box titled \"$caption\""
fi

echo "wine32: $passed passed, $failed failed"
[ $failed -eq 0 ]
