# A demo installation of the product inside a Wine prefix, shared by scripts/demo and the end-to-end tests.
# Needs wine.sh sourced, wine_env/wine_prefix_ready/wine_display done, and HELPERS (Unix folder of the helper exes).

DEMO_INSTALL_DIR='C:\Program Files\Corvane软件\Com'
DEMO_UNINSTALLER_DIR='C:\Program Files\Corvane软件\卸载 程序'

# Unix path of a C: path of the prefix.
demo_unix() {
  local p=${1#C:\\}
  printf '%s/drive_c/%s' "$WINEPREFIX" "${p//\\//}"
}

# The registry view of the program under test (QUINTARO_ARCH, i686 unless x86_64): on 64-bit Windows a 32-bit program
# reads HKLM\Software through Wow6432Node, where a value set in the 64-bit view does not show. HKCU\Software is one
# key for both views. A 32-bit prefix has only the 32-bit view.
demo_view() {
  if [ "${QUINTARO_ARCH:-i686}" = x86_64 ]; then echo /reg:64; else echo /reg:32; fi
}

demo_reg_value() {  # key value [view] -> data
  wine reg query "$1" /v "$2" "${3:-$(demo_view)}" 2>/dev/null | tr -d '\r' | iconv -f GBK -t UTF-8 |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

demo_shell_folders() {
  local key='Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
  DEMO_PROGRAMS=$(demo_reg_value "HKLM\\$key" 'Common Programs')
  DEMO_DESKTOP=$(demo_reg_value "HKLM\\$key" 'Common Desktop')
  DEMO_APPDATA=$(demo_reg_value "HKCU\\$key" 'AppData')
  DEMO_QUICKLAUNCH="$DEMO_APPDATA\\Microsoft\\Internet Explorer\\Quick Launch"
}

demo_shortcut() {  # link target
  mkdir -p "$(dirname "$(demo_unix "$1")")"
  wine "$HELPERS/MakeShortcut.exe" "$1" "$2" >/dev/null 2>&1
}

# Lays out the product: program group, shortcuts, installation folder, and two running copies holding a file.
demo_lay_out() {
  demo_shell_folders
  local install; install=$(demo_unix "$DEMO_INSTALL_DIR")
  rm -rf "$install"
  mkdir -p "$install/数据/cache" "$install/plugins"
  cp "$HELPERS/Quintaro.exe" "$install/Quintaro.exe"
  printf 'settings\r\n' > "$install/Quintaro.ini"
  printf 'data' > "$install/数据/用户.dat"
  printf 'cache' > "$install/数据/cache/.index"
  printf 'plugin' > "$install/plugins/a.dll"
  chmod a-w "$install/plugins/a.dll"
  local exe="$DEMO_INSTALL_DIR\\Quintaro.exe"
  demo_shortcut "$DEMO_PROGRAMS\\Quintaro\\Quintaro.lnk" "$exe"
  demo_shortcut "$DEMO_PROGRAMS\\Quintaro\\Quintaro卸载.lnk" "$DEMO_UNINSTALLER_DIR\\Uninstall.exe"
  printf 'readme' > "$(demo_unix "$DEMO_PROGRAMS\\Quintaro")/说明.txt"
  demo_shortcut "$DEMO_DESKTOP\\Quintaro.lnk" "$exe"
  demo_shortcut "$DEMO_QUICKLAUNCH\\Quintaro.lnk" "$exe"
  # Read-only and hidden, as installers leave them.
  wine cmd /c attrib +r +h "$DEMO_INSTALL_DIR\\Quintaro.ini" >/dev/null 2>&1
  for n in 1 2; do
    setsid "$WINE_LOADER" "$install/Quintaro.exe" "$DEMO_INSTALL_DIR\\数据\\held$n.dat" >/dev/null 2>&1 < /dev/null &
  done
}

# Copies the uninstaller into its folder (with a blank and Chinese characters in the path).
demo_place_uninstaller() {  # unix path of Uninstall.exe
  local dir; dir=$(demo_unix "$DEMO_UNINSTALLER_DIR")
  mkdir -p "$dir"
  cp "$1" "$dir/Uninstall.exe"
}

demo_running_copies() {  # of this prefix only: another prefix's demo or test may run beside
  local p n=0
  for p in $(pgrep -f 'Com[\\/]Quintaro\.exe'); do
    tr '\0' '\n' < "/proc/$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && n=$((n + 1))
  done
  echo "$n"
}

# What is left of the product and of the uninstaller, one line per item.
demo_leftovers() {
  demo_shell_folders
  local p
  # The group's readme is no shortcut: it stays, with the group's folder.
  for p in "$DEMO_PROGRAMS\\Quintaro\\Quintaro.lnk" "$DEMO_PROGRAMS\\Quintaro\\Quintaro卸载.lnk" \
           "$DEMO_DESKTOP\\Quintaro.lnk" "$DEMO_QUICKLAUNCH\\Quintaro.lnk" "$DEMO_INSTALL_DIR" \
           "$DEMO_UNINSTALLER_DIR\\Uninstall.exe"; do
    [ -e "$(demo_unix "$p")" ] && echo "left: $p"
  done
  local n; n=$(demo_running_copies)
  [ "${n:-0}" -gt 0 ] && echo "left: $n running Quintaro.exe"
  return 0
}

# Waits for a top-level X window whose name contains the text; prints its id.
demo_wait_window() {  # name seconds
  local i id
  for i in $(seq 1 $(( $2 * 5 ))); do
    id=$(xdotool search --name "$1" 2>/dev/null | tail -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}

# A key typed as a user types it (XTEST), into the focused window. A key sent to a named window (--window) loses its
# release when the press closes that window; Wine then keeps the key down and hands it to the next program started.
demo_key() {  # key...
  local key
  for key in "$@"; do xdotool key "$key" 2>/dev/null || true; sleep 0.3; done
}

# A message box is the uninstaller's visible window other than the confirmation window; its name tells nothing (the
# system's own box has the application's title, the same as the confirmation window's).
demo_wait_message_box() {  # seconds confirmation-window-id
  local i id
  for i in $(seq 1 $(( $1 * 5 ))); do
    for id in $(xdotool search --onlyvisible --classname 'uninstall.exe' 2>/dev/null); do
      [ "$id" != "$2" ] && { echo "$id"; return 0; }
    done
    sleep 0.2
  done
  return 1
}

# The screen as it is shown: the root window read in one piece. (xwd reads each colormap's windows through one of
# them, and Wine gives every process a colormap of its own: a message box over its owner came out black.)
demo_screenshot() {  # png
  import -silent -window root "$1"
}
