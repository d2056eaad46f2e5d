#!/usr/bin/env bash
# A first run of tarvel on an ordinary desktop, on a private Xvfb screen:
#   SilentWithoutSoundDevice  no sound server or ALSA device can be opened and
#                             SDL_AUDIODRIVER is unset: the show says so on
#                             stderr and plays silently, its clock rising
#   SignalEndsFatalBox        SIGTERM while the fatal message box is open (no
#                             pictures) ends the program with exit code 255
#   NoDisplayEndsWith1        no display and no SDL_VIDEODRIVER: exit code 1
#                             with the reason, not a show played unseen
#
#   tests/sdl/first_run_test.sh CHECK PROGRAM CONTENT
source "$(dirname "$0")/../../scripts/common.sh"
positional_arguments 3 "$@"
check=$1 program=$(realpath "$2") content=$(realpath "$3")
work=$(mktemp -d)
show=
# Everything started here ends with the script, also when a signal ends it.
clean_up() {
  set +e
  [ -z "$show" ] || { kill -KILL "$show"; wait "$show"; } 2>/dev/null
  kill "${XVFB_PID:-}" 2>/dev/null
  rm -rf "$work"
}
trap clean_up EXIT
trap 'exit 1' INT TERM HUP
start_xvfb 800x600x24 "$work"
fail() { echo "FAIL $check: $1" >&2; exit 1; }

# Polls COMMAND every 0.1 s for up to SECONDS.
within() {
  local tries=$(($1 * 10)); shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}
clock_rose() { awk 'NR > 1 && $9 >= 50 { found = 1 } END { exit !found }' "$work/frames.log" 2>/dev/null; }
box_open() { xwininfo -root -tree 2>/dev/null | grep -q '"fichero no encontrado'; }
# Ended: gone, or a zombie not yet waited for.
ended() { case $(ps -o stat= -p "$show" 2>/dev/null) in "" | Z*) return 0 ;; esac; return 1; }

case $check in
  SilentWithoutSoundDevice)
    : >"$work/empty-alsa.conf"
    (cd "$content" && unset SDL_AUDIODRIVER && ALSA_CONFIG_PATH=$work/empty-alsa.conf PULSE_SERVER=unix:/nonexistent \
       PIPEWIRE_REMOTE=/nonexistent TARVEL_FRAME_LOG=$work/frames.log exec "$program") 2>"$work/err" &
    show=$!
    within 60 eval 'clock_rose || ended'
    clock_rose || fail "the clock did not reach 0.5 s within 60 s: $(cat "$work/err")"
    grep -q '^tarvel: no sound device (.*); playing silently$' "$work/err" || fail "no warning: $(cat "$work/err")"
    ;;
  SignalEndsFatalBox)
    mkdir "$work/no-content"
    (cd "$work/no-content" && SDL_AUDIODRIVER=dummy exec "$program") 2>"$work/err" &
    show=$!
    within 60 box_open || fail "no fatal message box: $(cat "$work/err")"
    kill -TERM "$show"
    within 5 ended || fail "still running 5 s after SIGTERM"
    code=0
    wait "$show" || code=$?
    show=
    [ "$code" -eq 255 ] || fail "exit code $code, not 255"
    ;;
  NoDisplayEndsWith1)
    code=0
    (cd "$content" && exec env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy \
       timeout 20 "$program") 2>"$work/err" || code=$?
    [ "$code" -eq 1 ] && grep -q '^tarvel: the window cannot be created: no display' "$work/err" \
      || fail "exit code $code: $(cat "$work/err")"
    ;;
  *) usage_error "unknown check: $check" ;;
esac
echo "PASS $check"
