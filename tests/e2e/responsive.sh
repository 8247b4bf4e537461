#!/usr/bin/env bash
# A long removal, as a user with a large installation sees it: 50,000 files more in the installation folder. From the
# Enter on "卸载" to the completion box the window answers every message at once (a probe in another process sends
# WM_NULL with a time-out every 50 ms), its progress bar moves, Escape and Alt+F4 do not close it, and the removal is
# complete.
set -euo pipefail
source "$QUINTARO_SOURCE/tests/e2e/common.bash"
e2e_fresh_prefix responsive
demo_lay_out
demo_place_uninstaller "$QUINTARO_EXE"
e2e_wait_for "two running copies" 20 e2e_copies_running
python3 - "$(demo_unix "$DEMO_INSTALL_DIR")" <<'PY'
import os, sys
root = sys.argv[1]
for d in range(100):
    folder = os.path.join(root, "资料", "%03d" % d)
    os.makedirs(folder)
    for f in range(500):
        with open(os.path.join(folder, "%03d.dat" % f), "w") as out:
            out.write("x")
PY

e2e_start_uninstaller
wid=$(demo_wait_window 'Quintaro卸载' 60) || e2e_fail "the confirmation window did not appear"
e2e_wait_until_focused "$wid" "the confirmation window"
"$WINE_LOADER" "$HELPERS/Probe.exe" 'Quintaro卸载' > "$E2E_OUT/probe.txt" 2>/dev/null &
probe=$!
demo_key Return
sleep 2
demo_screenshot "$E2E_OUT/under-way.png"
# Until the job is done, the window cannot be closed: Escape and Alt+F4 do nothing, and the removal goes on.
demo_key Escape alt+F4
box=$(demo_wait_message_box 300 "$wid") || e2e_fail "the completion message did not appear"
wait "$probe" || e2e_fail "the probe found no window"
read -r longest probes positions < <(tr -d "\r" < "$E2E_OUT/probe.txt")
echo "probe: longest answer $longest ms, $probes probes, $positions positions of the bar"
[ "$longest" -lt 250 ] || e2e_fail "the window took $longest ms to answer"
[ "$probes" -ge 10 ] || e2e_fail "only $probes probes: the removal was over too soon to tell"
[ "$positions" -ge 3 ] || e2e_fail "the progress bar showed $positions positions"
demo_key Return
e2e_wait_for "the uninstaller to end" 30 e2e_uninstaller_ended
[ ! -e "$(demo_unix "$DEMO_INSTALL_DIR")" ] || e2e_fail "the installation folder is left"
echo "1 passed, 0 failed"
