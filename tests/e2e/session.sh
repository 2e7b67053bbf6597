# shellcheck shell=bash
# Sourced by the end-to-end scripts: a scratch folder $work, removed on exit together with the
# processes the script started (app_pid, weston_pid, xvfb_pid, ended in that order), fail(),
# wait_for(), log_has(), start_xvfb() and open_first_card().
work="$(mktemp -d)"
xvfb_pid=""
weston_pid=""
app_pid=""
cleanup() {
  local pid
  for pid in "$app_pid" "$weston_pid" "$xvfb_pid"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT

# What a failure shows after its reason; a script may define its own after sourcing this file.
fail_details() {
  echo "--- stdout" >&2
  tail -20 "$work/stdout" >&2
  echo "--- log" >&2
  tail -40 "$work/kestrix.log" >&2
}
fail() {
  echo "FAIL: $*" >&2
  fail_details
  exit 1
}

wait_for() {  # wait_for SECONDS COMMAND...
  local limit=$(( $1 * 10 )); shift
  for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.1; done
  return 1
}

# start_xvfb WIDTHxHEIGHT: Xvfb on a display it picks itself, named in DISPLAY; false when it
# did not start within 5 s.
start_xvfb() {
  exec 3<> "$work/display"
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  wait_for 5 test -s "$work/display" || return 1
  DISPLAY=":$(head -1 "$work/display")"
  export DISPLAY
}

log_has() { grep -q -- "$1" "$work/kestrix.log" 2>/dev/null; }

# open_first_card WIDTH HEIGHT: clicks the first card of the device list (the Vireo, by cable)
# with the script's click X Y (window coordinates) until the buttons page shows. The layout
# scales with the window's height from 788 px. Leaves the card's place in card_x and card_y.
open_first_card() {
  local card_h
  card_h=$(awk -v h="$2" 'BEGIN { c = 376 * h / 788 - 16; if (c > 360) c = 360; print c }')
  card_x=$(awk -v w="$1" -v c="$card_h" 'BEGIN { printf "%d", w / 2 - (c * 0.78 + 24) }')
  card_y=$(awk -v h="$2" 'BEGIN { printf "%d", (int(64 * h / 788 + 0.5) + h - int(50 * h / 788 + 0.5)) / 2 }')
  for _ in 1 2 3; do
    click "$card_x" "$card_y"
    wait_for 3 log_has "page 2 shown" && return 0
  done
  fail "choosing the mouse did not open the buttons page"
}
