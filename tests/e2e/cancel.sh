#!/usr/bin/env bash
# Every way of saying no ends the program with exit code 0 and touches nothing: Escape, "取消", and the caption
# bar's close button (a real mouse click at its place); also when another program holds the instance mutex.
set -euo pipefail
source "$QUINTARO_SOURCE/tests/e2e/common.bash"
e2e_fresh_prefix cancel
demo_lay_out
demo_place_uninstaller "$QUINTARO_EXE"
e2e_wait_for "two running copies" 20 e2e_copies_running
before=$(e2e_checksums)
batch=$(demo_unix "$DEMO_UNINSTALLER_DIR\\deleteFile.bat")

cancel_by() {  # how
  local wid
  e2e_start_uninstaller
  wid=$(demo_wait_window 'Quintaro卸载' 60) || e2e_fail "$1: the window did not appear"
  e2e_wait_until_focused "$wid" "$1: the window"
  # Only a program still waiting for its answer shows that the answer, and nothing else, ended it.
  ! e2e_uninstaller_ended || e2e_fail "$1: the program ended before it was answered"
  case $1 in
    escape|"squatted name") demo_key Escape ;;
    cancel-button) demo_key Tab space ;;  # Tab moves the focus from "卸载" to "取消", Space presses it
    close-button)
      local X Y WIDTH HEIGHT SCREEN WINDOW
      eval "$(xdotool getwindowgeometry --shell "$wid")" || e2e_fail "$1: the window's place could not be read"
      # The close button is the last 17 pixels of the 22-pixel bar, inside the 2-pixel frame.
      xdotool mousemove $(( X + WIDTH - 2 - 9 )) $(( Y + 2 + 11 )) click 1 || true ;;
  esac
  e2e_wait_for "$1 to end the program" 30 e2e_uninstaller_ended
  wait "$E2E_PID" 2>/dev/null || true
  [ "$(cat "$E2E_OUT/exit-code")" = 0 ] || e2e_fail "$1: exit code $(cat "$E2E_OUT/exit-code")"
  [ ! -e "$batch" ] || e2e_fail "$1: a batch file was written"
  [ "$(demo_running_copies)" -ge 2 ] || e2e_fail "$1: the running copies were ended"
  [ -e "$(demo_unix "$DEMO_INSTALL_DIR\\Quintaro.exe")" ] || e2e_fail "$1: the installation was touched"
  echo "ok: $1"
}

# A second start while the window is open ends at once with 0 and brings the first one's window to the front.
second_start() {
  local wid code
  e2e_start_uninstaller
  wid=$(demo_wait_window 'Quintaro卸载' 60) || e2e_fail "second start: the window did not appear"
  # The focus elsewhere (the bare X root), as when the user has gone on to another program.
  xdotool windowfocus --sync "$(xwininfo -root | awk '/Window id:/ { print $4 }')" 2>/dev/null || true
  sleep 1  # until Wine has seen its window lose the focus
  code=$(cd "$(demo_unix "$DEMO_UNINSTALLER_DIR")" && timeout 60 "$WINE_LOADER" Uninstall.exe; echo $?)
  [ "$code" = 0 ] || e2e_fail "second start: exit code $code"
  ! e2e_uninstaller_ended || e2e_fail "second start: the first one ended"
  [ "$(xdotool search --onlyvisible --classname 'uninstall.exe' 2>/dev/null | wc -l)" = 1 ] ||
    e2e_fail "second start: a second window showed"
  e2e_wait_for "the first window to come to the front" 10 e2e_has_focus "$wid"
  demo_key Escape
  e2e_wait_for "the first one to end" 30 e2e_uninstaller_ended
  echo "ok: second start"
}

# Any program of the user may take the instance mutex first: without a first uninstaller's window, the uninstaller
# still shows its own and is answered.
squatted_name() {
  local ready=$E2E_OUT/squatter-ready squatter
  rm -f "$ready"
  "$WINE_LOADER" "$HELPERS/Squatter.exe" 'Local\Quintaro卸载' > "$ready" 2>/dev/null < /dev/null &
  squatter=$!
  e2e_wait_for "the squatter to take the name" 30 grep -q ready "$ready"
  cancel_by "squatted name"
  kill "$squatter" 2>/dev/null || true
  wait "$squatter" 2>/dev/null || true
}

passed=0
for how in escape cancel-button close-button; do cancel_by "$how"; passed=$((passed + 1)); done
second_start; passed=$((passed + 1))
squatted_name; passed=$((passed + 1))
e2e_same_files "$before" "$(e2e_checksums)"
[ -e "$(demo_unix "$DEMO_UNINSTALLER_DIR\\Uninstall.exe")" ] || e2e_fail "the uninstaller vanished"
echo "$passed passed, 0 failed"
