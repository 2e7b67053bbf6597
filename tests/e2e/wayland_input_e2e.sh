#!/usr/bin/env bash
# kestrix --simulate as a Wayland client of weston, with weston's X11 backend inside Xvfb so that
# xdotool can move weston's pointer and press its buttons:
#   - the DPI indicator comes and goes without taking the keyboard focus from the main window;
#   - the profile pop-up opens directly above the profile control;
#   - a drag on the window's right edge resizes the window;
#   - a second launch brings the minimised window back.
# What the compositor did is read from the client's Wayland protocol trace (keyboard focus,
# pop-up placement) and from pictures of the screen (window size, minimised or shown).
# Usage: wayland_input_e2e.sh KESTRIX [PICTURE_FOLDER]; with a folder, pictures of the main
# window, the open profile pop-up and the DPI indicator are saved there as well.
set -uo pipefail
exe="$1"
shots="${2:-}"
for tool in Xvfb xdotool weston import convert; do
  command -v "$tool" >/dev/null || { echo "skipped: no $tool"; exit 77; }
done

. "$(dirname "$0")/session.sh"
fail_details() {
  echo "window last seen at ${WW:-?}x${WH:-?}+${WX:-?}+${WY:-?}" >&2
  echo "--- Wayland trace" >&2
  tail -20 "$work/trace.txt" >&2
  echo "--- log" >&2
  tail -20 "$work/kestrix.log" >&2
  [ -n "${KESTRIX_E2E_KEEP:-}" ] && cp "$work"/*.png "$KESTRIX_E2E_KEEP"/ 2>/dev/null
}

# One screen, as large as weston's output, so that screen and compositor coordinates agree.
SW=1600
SH=960
start_xvfb "${SW}x${SH}" || { echo "skipped: Xvfb did not start"; exit 77; }

# A plain background without a panel or animations: whatever differs from it is a window.
background="#204060"
cat >"$work/weston.ini" <<EOF
[core]
idle-time=0
[shell]
background-color=0xff204060
panel-position=none
locking=false
animation=none
close-animation=none
startup-animation=none
focus-animation=none
EOF
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
socket="kestrix-input-$$"
weston --backend=x11-backend.so --socket="$socket" --width="$SW" --height="$SH" \
  --config="$work/weston.ini" >"$work/weston.log" 2>&1 &
weston_pid=$!
if ! wait_for 10 test -S "$XDG_RUNTIME_DIR/$socket"; then
  echo "skipped: weston's X11 backend did not start:"
  tail -5 "$work/weston.log"
  exit 77
fi

# The program under test and its second launch: a Wayland client only (no X display).
kestrix() {
  env -u DISPLAY -u no_proxy -u NO_PROXY all_proxy=http://127.0.0.1:9 ALL_PROXY=http://127.0.0.1:9 \
    WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland \
    XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" "$exe" "$@"
}
# The protocol trace keeps only keyboard focus, pop-up and resize lines. Random DPI changes of
# the simulated mice, about every 0.5 s from the start, keep the DPI indicator coming (every 4 s
# for pictures, so that the window can be pictured without it).
input_ms=500
[ -n "$shots" ] && input_ms=4000
WAYLAND_DEBUG=client kestrix --simulate=default:random-input-ms=$input_ms \
  --log "$work/kestrix.log" >"$work/stdout" \
  2> >(grep --line-buffered -E 'wl_keyboard@[0-9]+\.(enter|leave)|xdg_popup|xdg_toplevel@[0-9]+\.resize' >"$work/trace.txt") &
app_pid=$!

# Pop-ups in the trace, one line each: "ID grab|plain open|closed X Y W H", in creation order.
popups() {
  awk '
    match($0, /new id xdg_popup@[0-9]+/) {
      n++; id[n] = substr($0, RSTART + 17, RLENGTH - 17); kind[n] = "plain"; state[n] = "open"
      geo[n] = "- - - -"; open[id[n]] = n; next
    }
    match($0, /xdg_popup@[0-9]+\./) {
      i = open[substr($0, RSTART + 10, RLENGTH - 11)]
      if (!i) next
      if ($0 ~ /\.grab\(/) kind[i] = "grab"
      if ($0 ~ /\.destroy\(/ || $0 ~ /\.popup_done\(/) state[i] = "closed"
      if (match($0, /\.configure\([-0-9, ]+\)/)) {
        g = substr($0, RSTART + 11, RLENGTH - 12); gsub(/,/, "", g); geo[i] = g
      }
    }
    END { for (i = 1; i <= n; i++) print id[i], kind[i], state[i], geo[i] }
  ' "$work/trace.txt"
}
indicator_open() { popups | grep -q "plain open [0-9]"; }
indicator_closed() { ! indicator_open; }

# The window's rectangle on screen (WX WY WW WH): the box around everything that is not
# background, with the pointer parked in the bottom-right corner and painted over.
park_pointer() { xdotool mousemove $((SW - 1)) $((SH - 1)); sleep 0.2; }
window_rect() {
  import -window root "$work/screen.png" || return 1
  local box
  box=$(convert "$work/screen.png" -fill "$background" \
    -draw "rectangle $((SW - 40)),$((SH - 40)) $SW $SH" -bordercolor "$background" -border 1 \
    -format '%@' info: 2>/dev/null)
  if ! [[ "$box" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || [ "${BASH_REMATCH[1]}" -le 100 ]; then
    WW=0; WH=0
    return 1
  fi
  WH=${BASH_REMATCH[2]}; WY=$((BASH_REMATCH[4] - 1))
  # Left and width from the caption rows only: the DPI indicator near the bottom may still
  # stand where the window's corner was before a resize.
  box=$(convert "$work/screen.png" -crop "${SW}x40+0+$((WY + 4))" +repage \
    -bordercolor "$background" -border 1 -format '%@' info: 2>/dev/null)
  [[ "$box" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 1
  WW=${BASH_REMATCH[1]}; WX=$((BASH_REMATCH[3] - 1))
  return 0
}
window_gone() { park_pointer; ! window_rect; }
window_back() { window_rect; }
# The window and a margin of the desktop around it.
picture() {
  [ -n "$shots" ] || return 0
  park_pointer
  import -window root "$work/picture.png" &&
    convert "$work/picture.png" -crop "$((WW + 48))x$((WH + 48))+$((WX - 24))+$((WY - 24))" \
      +repage "$shots/$1"
}
s() { awk -v v="$1" -v h="$WH" 'BEGIN { printf "%d", v * h / 788 + 0.5 }'; }
click() { xdotool mousemove $((WX + $1)) $((WY + $2)) click 1; sleep 0.3; }

wait_for 30 log_has "device read shown" || fail "the first read never reached the window"
wait_for 10 grep -q "wl_keyboard@[0-9]*\.enter" "$work/trace.txt" || fail "the window never got the keyboard focus"
park_pointer
wait_for 10 window_rect || fail "no window on the screen"

# The DPI indicator shows while the keyboard focus stays with the window that had it at start
# (one enter, no leave).
wait_for 25 indicator_open || fail "the DPI indicator never showed"
sleep 0.5
picture wayland-dpi.png
focus=$(grep -E "wl_keyboard@[0-9]+\.(enter|leave)" "$work/trace.txt")
[ "$(grep -c . <<<"$focus")" -eq 1 ] || { echo "$focus" >&2; fail "the DPI indicator took the keyboard focus"; }
# Each time in the window's bottom-right corner, 16 px inside, also when shown at start-up.
misplaced=$(popups | awk -v x=$((WW - 316)) -v y=$((WH - 146)) '$2 == "plain" && $4 != "-" && ($4 != x || $5 != y)')
[ -z "$misplaced" ] || fail "DPI indicator away from the corner: $misplaced"

# The first card of the device list opens the buttons page.
open_first_card "$WW" "$WH"
if [ -n "$shots" ]; then
  park_pointer
  wait_for 8 indicator_closed
  picture wayland-main.png
fi

# The profile pop-up (the grabbing pop-up) sits directly above the profile control: the
# control's button lies within its width, its bottom edge within 24 px above the control.
profile_x=$(( $(s 284) - $(s 42) ))
profile_y=$(( WH - $(s 50) - $(s 188) ))
sleep 0.3
for _ in 1 2 3; do
  click "$profile_x" "$profile_y"
  wait_for 3 eval 'popups | grep -q "grab open [0-9]"' && break
done
popups | grep -q "grab open [0-9]" || fail "no profile pop-up"
read -r _ _ _ px py pw ph < <(popups | grep "grab open" | tail -1)
if [ "$px" -gt "$profile_x" ] || [ $((px + pw)) -lt "$profile_x" ] ||
   [ $((py + ph)) -gt $((profile_y - $(s 12))) ] || [ $((py + ph)) -lt $((profile_y - $(s 36))) ]; then
  fail "profile pop-up at ${pw}x${ph}+${px}+${py}, the profile control at ${profile_x},${profile_y}"
fi
sleep 0.3
picture wayland-profile-popup.png
# A click elsewhere closes it.
click $(( WW / 2 )) "$(s 40)"
wait_for 5 eval '! popups | grep -q "grab open"' || fail "the profile pop-up stayed open"

# A drag on the right edge, 150 px inwards, narrows the window; its left edge stays. The DPI
# indicator, on screen during the drag, follows the window's corner.
x0=$WX; w0=$WW; h0=$WH
wait_for 10 indicator_open || fail "the DPI indicator did not show again"
# The compositor takes the drag over once the program has asked it to (after the press).
xdotool mousemove $((WX + WW - 2)) $((WY + WH / 2)) sleep 0.2 mousedown 1
wait_for 3 grep -q "xdg_toplevel@[0-9]*\.resize" "$work/trace.txt" || fail "a press on the right edge started no resize"
sleep 0.1
for step in 1 2 3 4 5; do xdotool mousemove $((WX + WW - 2 - step * 30)) $((WY + WH / 2)); sleep 0.05; done
xdotool mouseup 1
sleep 0.2
read -r _ _ _ ix _ < <(popups | grep "plain open" | tail -1)
park_pointer
sleep 0.1
window_rect || fail "no window after the edge drag"
if [ "$WX" -ne "$x0" ] || [ "$WH" -ne "$h0" ] || [ $((w0 - WW)) -lt 130 ] || [ $((w0 - WW)) -gt 160 ]; then
  fail "an edge drag of 150 px made ${w0}x${h0}+${x0} into ${WW}x${WH}+${WX}"
fi
# The indicator, 300 px wide, stands 16 px inside the right edge (unless it has gone meanwhile).
[ -z "${ix:-}" ] || [ "$ix" -eq $((WW - 316)) ] || fail "the DPI indicator at x $ix in ${WW} px"

# Minimised with its own button, the window goes; a second launch brings it back.
click $(( WW - $(s 24) - 2 * $(s 35) )) "$(s 32)"
wait_for 5 window_gone || fail "the minimise button left the window on the screen"
kestrix --simulate >/dev/null 2>&1 || fail "the second launch ended with $?"
wait_for 5 window_back || fail "the second launch did not bring the minimised window back"

# The close button ends the program with 0.
click $(( WW - $(s 24) )) "$(s 32)"
wait_for 10 eval '! kill -0 "$app_pid" 2>/dev/null' || fail "close did not end the program"
wait "$app_pid"; code=$?
app_pid=""
[ "$code" -eq 0 ] || fail "exit code $code"
echo "wayland input ok"
