#!/usr/bin/env bash
# End to end, as a user would: a fresh prefix with the demo installation, Uninstall.exe started from a folder whose
# path has a blank and Chinese characters, Enter on "卸载", Enter on "确定"; then nothing of the product or of the
# uninstaller is left but the group's readme, and every other file of the prefix is unchanged. In a 64-bit prefix the
# other registry view names other shell folders, whose group and shortcut of the same names stay: the program reads
# only its own view. Run once per build, and for the shipped i686 build once more in a 32-bit prefix
# (QUINTARO_WINEARCH=win32).
set -euo pipefail
source "$QUINTARO_SOURCE/tests/e2e/common.bash"
e2e_fresh_prefix uninstall

# The other view's shell folders: a group and a desktop shortcut of the product's names below a folder of their own.
DECOY_GROUP='C:\decoy\Programs\Quintaro\Quintaro.lnk'
DECOY_DESKTOP='C:\decoy\Desktop\Quintaro.lnk'
decoy_lay_out() {
  local key='HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' other=/reg:64
  [ "$(demo_view)" = /reg:64 ] && other=/reg:32
  wine reg add "$key" /v 'Common Programs' /d 'C:\decoy\Programs' /f "$other" >/dev/null 2>&1
  wine reg add "$key" /v 'Common Desktop' /d 'C:\decoy\Desktop' /f "$other" >/dev/null 2>&1
  demo_shortcut "$DECOY_GROUP" "$DEMO_INSTALL_DIR\\Quintaro.exe"
  demo_shortcut "$DECOY_DESKTOP" "$DEMO_INSTALL_DIR\\Quintaro.exe"
}
decoy_intact() { [ -e "$(demo_unix "$DECOY_GROUP")" ] && [ -e "$(demo_unix "$DECOY_DESKTOP")" ]; }

before=$(e2e_checksums)
[ "$WINEARCH" = win32 ] || decoy_lay_out
demo_lay_out
demo_place_uninstaller "$QUINTARO_EXE"
e2e_wait_for "two running copies" 20 e2e_copies_running

# A library the program loads by name, planted beside it, with Wine told to prefer such a copy (as Windows' search
# order would): the elevated process never loads it, from its first window to its completion box.
planted=$(demo_unix "$DEMO_UNINSTALLER_DIR")/riched20.dll
cp "$HELPERS/PlantedLibrary.dll" "$planted"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;riched20=n,b" QUINTARO_PLANTED_MARKER='C:\planted-loaded.txt'

start=$(date +%s.%N)
e2e_start_uninstaller
wid=$(demo_wait_window 'Quintaro卸载' 60) || e2e_fail "the confirmation window did not appear"
shown=$(date +%s.%N)
e2e_wait_until_focused "$wid" "the confirmation window"
answered=$(date +%s.%N)
demo_key Return
box=$(demo_wait_message_box 60 "$wid") || e2e_fail "the completion message did not appear"
boxed=$(date +%s.%N)
demo_screenshot "$E2E_OUT/completion.png"
demo_key Return
e2e_wait_for "the uninstaller to end" 30 e2e_uninstaller_ended
ended=$(date +%s.%N)
e2e_wait_for "the uninstaller to delete itself" 20 e2e_nothing_left
gone=$(date +%s.%N)

[ ! -e "$WINEPREFIX/drive_c/planted-loaded.txt" ] || e2e_fail "the library planted beside the uninstaller was loaded"
rm -f "$planted"
[ -z "$(demo_leftovers)" ] || e2e_fail "left behind: $(demo_leftovers)"
[ -e "$(demo_unix "$DEMO_PROGRAMS\\Quintaro")/说明.txt" ] || e2e_fail "the group's readme, no shortcut, was deleted"
e2e_wait_for "the self-removal's folder to go" 20 e2e_no_private_folder
[ "$WINEARCH" = win32 ] || decoy_intact || e2e_fail "the group or shortcut named by the other registry view was removed"
e2e_same_files "$before" "$(e2e_checksums)"
awk -v a="$start" -v b="$shown" -v q="$answered" -v c="$boxed" -v d="$ended" -v e="$gone" 'BEGIN {
  printf "e2e timings: window %.1fs, uninstall %.1fs, exit %.1fs, self-removal %.1fs after exit\n", b-a, c-q, d-c, e-d }'
echo "1 passed, 0 failed"
