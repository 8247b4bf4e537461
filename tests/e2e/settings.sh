#!/usr/bin/env bash
# The settings example driven by real key presses into its focused window: Ctrl+Tab to the network page, Alt+P
# checks the proxy button (and enables its fields), Alt+A goes to the address, typed text replaces it, and Enter
# presses the default button, whose message box Enter closes, ending the program. A second start ends on Escape
# (the cancel button) without a box.
set -euo pipefail
source "$QUINTARO_SOURCE/tests/e2e/common.bash"
e2e_fresh_prefix settings
exe=$QUINTARO_BUILD/examples/settings/Settings.exe

settings_windows() { xdotool search --onlyvisible --classname 'settings.exe' 2>/dev/null || true; }
start_settings() {
  ( cd "$(dirname "$exe")" && wine Settings.exe; echo $? > "$E2E_OUT/settings-exit-code" ) &
  SETTINGS_PID=$!
  SETTINGS_WID=$(demo_wait_window '设置' 60) || e2e_fail "the settings window did not appear"
  e2e_wait_until_focused "$SETTINGS_WID" "the settings window"
}
settings_ended() { ! kill -0 "$SETTINGS_PID" 2>/dev/null; }
settings_box() { settings_windows | grep -vx "$SETTINGS_WID" | head -1; }

start_settings
demo_key ctrl+Tab alt+p alt+a
xdotool type --delay 80 'proxy.corvane.cn'
sleep 0.5
demo_screenshot "$E2E_OUT/settings-network.png"
demo_key Return
e2e_wait_for "the box of the default button" 20 bash -c "[ -n \"\$(xdotool search --onlyvisible --classname settings.exe | grep -vx $SETTINGS_WID)\" ]"
sleep 1
demo_screenshot "$E2E_OUT/settings-box.png"
demo_key Return
e2e_wait_for "the program to end after its box" 20 settings_ended
[ "$(cat "$E2E_OUT/settings-exit-code")" = 0 ] || e2e_fail "exit code $(cat "$E2E_OUT/settings-exit-code")"

start_settings
demo_key Escape
e2e_wait_for "Escape to end the program" 20 settings_ended
echo "ok: pages, mnemonics, typing, Enter and Escape by real keys"
