#!/usr/bin/env bash
# The gallery starts, shows each of its five pages with real key presses (Ctrl+Tab), opens a styled message box from
# the message box page with Tab and Enter and closes it with Enter, and ends cleanly on Alt+F4.
set -euo pipefail
source "$QUINTARO_SOURCE/tests/e2e/common.bash"
source "$QUINTARO_SOURCE/scripts/lib/demo-gallery.sh"
e2e_fresh_prefix gallery
GALLERY_EXIT_FILE=$E2E_OUT/gallery-exit-code
rm -f "$GALLERY_EXIT_FILE"

gallery_start "$QUINTARO_BUILD/examples/gallery/Gallery.exe" || e2e_fail "the gallery did not appear"
gallery_shoot_pages "$E2E_OUT/gallery"
sums=$(for n in $(seq 1 $GALLERY_PAGES); do md5sum < "$E2E_OUT/gallery-$n.png"; done | sort -u | wc -l)
[ "$sums" = $GALLERY_PAGES ] || e2e_fail "the pages do not all look different ($sums distinct screenshots)"

# Back to the message box page; its first button: "0 确定", the styled box with one button.
demo_key ctrl+shift+Tab Tab Return
box=""
for i in $(seq 1 50); do
  for id in $(xdotool search --onlyvisible --classname 'gallery.exe' 2>/dev/null); do
    [ "$id" != "$GALLERY_WID" ] && box=$id
  done
  [ -n "$box" ] && break
  sleep 0.2
done
[ -n "$box" ] || e2e_fail "no message box opened"
sleep 1
demo_screenshot "$E2E_OUT/gallery-box.png"
demo_key Return
e2e_wait_for "the message box to close" 20 bash -c "! xdotool search --onlyvisible --classname gallery.exe 2>/dev/null | grep -qx '$box'"
sleep 1
demo_screenshot "$E2E_OUT/gallery-result.png"

gallery_close || e2e_fail "the gallery did not end on Alt+F4"
[ "$(cat "$GALLERY_EXIT_FILE")" = 0 ] || e2e_fail "exit code $(cat "$GALLERY_EXIT_FILE")"
echo "ok: five pages, a message box, a clean end"
