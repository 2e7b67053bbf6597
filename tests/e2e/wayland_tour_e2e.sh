#!/usr/bin/env bash
# kestrix --simulate --tour as a native Wayland client of a headless weston: every view is
# shown, the program ends with 0, and neither the log nor the Qt output shows an error.
# Skipped (77) only when weston or its headless backend cannot start here.
set -uo pipefail
exe="$1"
command -v weston >/dev/null || { echo "skipped: no weston"; exit 77; }

. "$(dirname "$0")/session.sh"

# The compositor's socket and the program's runtime files live in a private runtime folder.
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
socket="kestrix-test-$$"
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 --width=1366 \
  --height=768 --no-config >"$work/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
  [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
  kill -0 "$weston_pid" 2>/dev/null || break
  sleep 0.05
done
if [ ! -S "$XDG_RUNTIME_DIR/$socket" ]; then
  echo "skipped: headless weston did not start:"
  tail -5 "$work/weston.log"
  exit 77
fi

# No X display: Qt must talk Wayland or fail. The update checks go through a proxy address
# nobody listens on, so they fail at once instead of asking the update server.
env -u DISPLAY -u no_proxy -u NO_PROXY all_proxy=http://127.0.0.1:9 ALL_PROXY=http://127.0.0.1:9 \
  WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland \
  XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  "$exe" --simulate --tour=300 --log "$work/kestrix.log" >"$work/stdout" 2>&1 &
app_pid=$!
for _ in $(seq 600); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the tour did not end within 60 s"
wait "$app_pid"; code=$?
app_pid=""
[ "$code" -eq 0 ] || fail "exit code $code"

shown=$(sed -n 's/.* view \(.*\) shown$/\1/p' "$work/kestrix.log" | tr '\n' ' ')
[ "$shown" = "home buttons performance macros lighting device-settings settings " ] ||
  fail "views shown: $shown"
grep -q "view tour done" "$work/kestrix.log" || fail "the tour did not finish"
if grep -iE "fail|error|could not" "$work/kestrix.log" | grep -v -e "tray icon not shown" \
    -e "GET http[^ ]*/version failed"; then
  fail "errors in the log"
fi
# Qt's Wayland client reports protocol errors and a lost compositor on its output.
if grep -iE "wayland|protocol error|qt\.qpa" "$work/stdout"; then fail "Wayland warnings"; fi
echo "wayland tour ok"
