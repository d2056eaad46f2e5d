# Shared machinery of the tests that run the Windows program under Wine:
# the private prefix, Xvfb screens, a null ALSA device, starting and ending
# the show, pressing keys, and comparing the screen with tarvel-capture's
# frame. Sourced after common.sh by scripts/test_wine.sh and
# scripts/test_packages.sh; not meant to be run on its own.
#
# wine_setup WORK sets it up, with WORK as the folder of the test's files.

# Wine 8 on Debian installs its 64-bit loader off the PATH; 32-bit programs
# cannot run on this kernel, so the 64-bit build is the one tested.
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "PASS $1"; }
fail() { failed=$((failed + 1)); echo "FAIL $1: $2"; }

xvfb_pids=()
wine_cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  for pid in "${xvfb_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}

# wine_setup WORK: the prefix build/win64/wine-prefix, no installer dialogs,
# a null ALSA device (DirectSound needs one), WORK made empty; everything is
# ended when the script exits.
wine_setup() {
  work=$1
  rm -rf "$work"
  mkdir -p "$work"
  export WINEPREFIX=$TARVEL_ROOT/build/win64/wine-prefix
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer dialogs
  printf 'pcm.!default { type null }\n' >"$work/asound.conf"
  export ALSA_CONFIG_PATH=$work/asound.conf
  trap wine_cleanup EXIT
}

# wine_prepare_prefix: an 800x600 screen, and the prefix made or brought up
# to date.
wine_prepare_prefix() {
  log "Preparing the Wine prefix"
  start_screen 800x600x24
  "$WINE" wineboot -i >"$work/wineboot.log" 2>&1
}

# start_screen WxHxD: an Xvfb server of that size; sets DISPLAY.
start_screen() {
  local fdfile=$work/display.$1 i
  : >"$fdfile"
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$fdfile" >"$work/xvfb.$1.log" 2>&1 &
  xvfb_pids+=($!)
  for i in $(seq 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  [ -s "$fdfile" ] || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=:$(tr -d '[:space:]' <"$fdfile")
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
  finish_show 30
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
