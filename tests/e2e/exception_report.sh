#!/usr/bin/env bash
# The system's own message box that reports a failure is readable on the screen: an "AppData" value of the wrong
# type stops the uninstall with the stop box over the confirmation window, and the screenshot shows that box painted
# (not a black rectangle) with its text drawn; after "确定" the program still ends normally on Escape.
set -euo pipefail
source "$QUINTARO_SOURCE/tests/e2e/common.bash"
e2e_fresh_prefix exception-report
demo_lay_out
demo_place_uninstaller "$QUINTARO_EXE"
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v AppData \
  /t REG_DWORD /d 1 /f >/dev/null 2>&1

e2e_start_uninstaller
wid=$(demo_wait_window 'Quintaro卸载' 60) || e2e_fail "the confirmation window did not appear"
e2e_wait_until_focused "$wid" "the confirmation window"
demo_key Return
box=$(demo_wait_message_box 60 "$wid") || e2e_fail "the failure was not reported"
sleep 1
shot=$E2E_OUT/exception-report.png
demo_screenshot "$shot"
eval "$(xdotool getwindowgeometry --shell "$box")" || e2e_fail "the report's place could not be read"

share_darker() {  # percent width height x y: the share of pixels of that area darker than percent
  convert "$shot" -crop "$2x$3+$4+$5" +repage -colorspace gray -threshold "$1%" -negate -format '%[fx:mean]' info:
}
between() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v > lo && v < hi) }'; }
black=$(share_darker 10 "$WIDTH" "$HEIGHT" "$X" "$Y")
between "$black" -1 0.5 || e2e_fail "the report is a dark rectangle ($black of it black; see $shot)"
# The text stands right of the icon, between the caption and the button.
ink=$(share_darker 80 $((WIDTH - 70)) $((HEIGHT - 62)) $((X + 60)) $((Y + 22)))
between "$ink" 0.01 0.5 || e2e_fail "the report shows no text ($ink of its text area inked; see $shot)"
echo "ok: the report is painted ($black black) with its text ($ink inked)"

report_closed() { ! demo_wait_message_box 1 "$wid" >/dev/null; }
demo_key Return
e2e_wait_for "the report to close" 30 report_closed
demo_key Escape
e2e_wait_for "the uninstaller to end" 30 e2e_uninstaller_ended
wait "$E2E_PID" 2>/dev/null || true
[ "$(cat "$E2E_OUT/exit-code")" = 0 ] || e2e_fail "exit code $(cat "$E2E_OUT/exit-code")"
echo "1 passed, 0 failed"
