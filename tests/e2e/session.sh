# shellcheck shell=bash
# Sourced by the end-to-end scripts: a scratch folder $work, removed on exit together with the
# processes the script started (app_pid, weston_pid, xvfb_pid, ended in that order), fail(),
# wait_for() and start_xvfb().
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
