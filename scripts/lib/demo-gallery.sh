# The gallery of the framework, shared by scripts/demo --gallery and its end-to-end test: started, each page shown
# in turn with real key presses (Ctrl+Tab, XTEST into the focused window) and saved as a screenshot, then closed.
# Needs wine.sh sourced, wine_env/wine_prefix_ready/wine_display done, and demo-install.sh (waiting, keys, shots).

GALLERY_CAPTION='框架样式'
GALLERY_PAGES=5

gallery_start() {  # unix path of Gallery.exe
  ( cd "$(dirname "$1")" && wine "$(basename "$1")"; echo $? > "$GALLERY_EXIT_FILE" ) &
  GALLERY_PID=$!
  GALLERY_WID=$(demo_wait_window "$GALLERY_CAPTION" 60)
}

# Saves page n as <prefix>-n.png, n = 1 .. 5.
gallery_shoot_pages() {  # prefix
  local n
  for n in $(seq 1 $GALLERY_PAGES); do
    [ "$n" -gt 1 ] && demo_key ctrl+Tab
    sleep 1
    demo_screenshot "$1-$n.png"
  done
}

gallery_ended() { ! kill -0 "$GALLERY_PID" 2>/dev/null; }

# Closes the gallery as a user does (Alt+F4) and waits for it to end; fails when it does not.
gallery_close() {
  local i
  demo_key alt+F4
  for i in $(seq 1 100); do gallery_ended && { wait "$GALLERY_PID" 2>/dev/null || true; return 0; }; sleep 0.2; done
  return 1
}
