# Shared by the scripts that run Windows programs: the private prefix, the locale and the X display.
# Source it; it defines wine_env, wine_prefix_ready, wine_display, wine, wine_prefix_tidy, and wine_run_begin for the
# scripts that should leave nothing running behind them.

QUINTARO_ROOT=${QUINTARO_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
# The loader that starts a 32-bit program as 64-bit Windows does, under WoW64 (and in a 32-bit prefix as 32-bit
# Windows does); it hands a 64-bit program on to wine64. Its built-in programs (reg, cmd) are the 32-bit ones.
# That loader is itself a 32-bit Linux program: on a kernel that runs none (some sandboxes refuse them), wine64 is
# the loader, and only 64-bit Windows programs run.
WINE_LOADER=/usr/lib/wine/wine
wine_runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
wine_runs_32bit || WINE_LOADER=/usr/lib/wine/wine64

wine_env() {
  export WINEPREFIX=${QUINTARO_WINEPREFIX:-$QUINTARO_ROOT/build/wineprefix}
  export WINEDEBUG=${WINEDEBUG:--all}
  # Code page 936 for ANSI and OEM, as on the target systems.
  export LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8
  # Default-quality text drawn as the target systems draw the Song face at window sizes (see fonts.conf).
  export FONTCONFIG_FILE=$QUINTARO_ROOT/scripts/lib/fonts.conf
  # No Mono/Gecko installers, no desktop menu entries.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # A 64-bit prefix unless the caller asks for 32-bit Windows (QUINTARO_WINEARCH=win32).
  export WINEARCH=${QUINTARO_WINEARCH:-win64}
  # A run that cleans up after itself learns which prefixes it used.
  if [ -n "${QUINTARO_RUN:-}" ]; then echo "$WINEPREFIX" >> "$QUINTARO_RUN/prefixes"; fi
}

# Starts an Xvfb of our own unless DISPLAY names one; reuses it across calls.
wine_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local state=$WINEPREFIX.display n pid
  if [ -f "$state" ]; then
    read -r n pid < "$state" || true
    if [ -S "/tmp/.X11-unix/X$n" ] && [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
      export DISPLAY=:$n; return 0
    fi
  fi
  for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    setsid nohup Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 < /dev/null &
    for _ in $(seq 1 50); do [ -S "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    if [ -S "/tmp/.X11-unix/X$n" ]; then
      pid=$(tr -dc 0-9 < "/tmp/.X$n-lock")  # the server's own lock file names it
      echo "$n $pid" > "$state"; export DISPLAY=:$n; return 0
    fi
  done
  echo "wine: no X display could be started" >&2; return 1
}

# Creates the prefix on first use (once, under a lock) and sets it up: the Song font names map to the CJK font,
# and Wine draws whole windows itself (there is no window manager to decorate them, and a decorated window would
# lose its top band to the missing caption), with no crash dialog.
wine_prefix_ready() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    # A 64-bit prefix made before wine32 was installed has no 32-bit system for WoW64. An update adds it once the
    # prefix's update stamp is gone; the 64-bit wineboot runs it, as the 32-bit one cannot start there yet.
    # (Where no 32-bit program runs, the update cannot add it: it would only run again at every start.)
    if [ "$WINEARCH" = win64 ] && [ -f "$WINEPREFIX/system.reg" ] && wine_runs_32bit &&
       [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
      rm -f "$WINEPREFIX/.update-timestamp"
      /usr/lib/wine/wine64 wineboot -u >/dev/null 2>&1 || true
    fi
    [ -f "$WINEPREFIX/.quintaro-ready-2" ] && exit 0
    [ -f "$WINEPREFIX/system.reg" ] || "$WINE_LOADER" wineboot -i >/dev/null 2>&1 || true
    local key='HKCU\Software\Wine\Fonts\Replacements'
    for name in 宋体 新宋体 SimSun NSimSun; do
      "$WINE_LOADER" reg add "$key" /v "$name" /t REG_SZ /d "AR PL UMing CN" /f >/dev/null 2>&1
    done
    for value in Decorated Managed; do
      "$WINE_LOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v $value /t REG_SZ /d N /f >/dev/null 2>&1
    done
    "$WINE_LOADER" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    /usr/lib/wine/wineserver -w 2>/dev/null || true
    touch "$WINEPREFIX/.quintaro-ready-2"
  ) 9>"$WINEPREFIX.lock"
}

wine() {
  "$WINE_LOADER" "$@"
}

# Clears what the unit tests leave in their prefix: scratch folders (every run makes new ones and never clears one it
# finds), and drive letters that a killed run left mapped to them. From the Unix side, which never follows a link.
wine_prefix_tidy() {  # prefix
  local link
  rm -rf "$1"/drive_c/users/*/Temp/quintaro-tests
  for link in "$1"/dosdevices/[m-y]:; do
    if [ -L "$link" ] && [[ $(readlink "$link") == */quintaro-tests/* ]]; then rm -f "$link"; fi
  done
}

# Makes the calling script a run that leaves no wineserver and no display of its own behind, whether it ends, fails
# or is interrupted. Within the run each prefix keeps its one display for all its programs (a display per program
# made the tests flaky); at the end every prefix the run used loses its wineserver first and its display after, as a
# display must outlive the Wine processes drawing on it. Displays are ended only when the run started without one.
wine_run_begin() {
  QUINTARO_RUN=$(mktemp -d "${TMPDIR:-/tmp}/quintaro-run.XXXXXX")
  export QUINTARO_RUN
  if [ -z "${DISPLAY:-}" ]; then touch "$QUINTARO_RUN/own-displays"; fi
  trap wine_run_end EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
}

wine_run_end() {
  [ -n "${QUINTARO_RUN:-}" ] && [ -d "$QUINTARO_RUN" ] || return 0
  local prefixes prefix n pid
  prefixes=$(sort -u "$QUINTARO_RUN/prefixes" 2>/dev/null || true)
  while IFS= read -r prefix; do
    [ -n "$prefix" ] || continue
    WINEPREFIX=$prefix /usr/lib/wine/wineserver -k </dev/null 2>/dev/null || true
    WINEPREFIX=$prefix /usr/lib/wine/wineserver -w </dev/null 2>/dev/null || true
  done <<< "$prefixes"
  if [ -f "$QUINTARO_RUN/own-displays" ]; then
    while IFS= read -r prefix; do
      [ -n "$prefix" ] && [ -f "$prefix.display" ] || continue
      read -r n pid < "$prefix.display" || true
      rm -f "$prefix.display"
      [ -n "$pid" ] && kill "$pid" 2>/dev/null || continue
      for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    done <<< "$prefixes"
  fi
  rm -rf "$QUINTARO_RUN"
}
