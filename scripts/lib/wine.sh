# Shared by the scripts that run Windows programs: the private prefix, the locale and the X display.
# Source it; it defines wine_env, wine_prefix_ready, wine_display and wine64.

QUINTARO_ROOT=${QUINTARO_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
WINE_LOADER=/usr/lib/wine/wine64

wine_env() {
  export WINEPREFIX=${QUINTARO_WINEPREFIX:-$QUINTARO_ROOT/build/wineprefix}
  export WINEDEBUG=${WINEDEBUG:--all}
  # Code page 936 for ANSI and OEM, as on the target systems.
  export LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8
  # No Mono/Gecko installers, no desktop menu entries.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export WINEARCH=win64
}

# Starts an Xvfb of our own unless DISPLAY names one; reuses it across calls.
wine_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local state=$WINEPREFIX.display n
  if [ -f "$state" ]; then
    n=$(cat "$state")
    if [ -S "/tmp/.X11-unix/X$n" ] && pgrep -f "Xvfb :$n " >/dev/null; then
      export DISPLAY=:$n; return 0
    fi
  fi
  for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    setsid nohup Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 < /dev/null &
    for _ in $(seq 1 50); do [ -S "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    if [ -S "/tmp/.X11-unix/X$n" ]; then
      echo "$n" > "$state"; export DISPLAY=:$n; return 0
    fi
  done
  echo "wine: no X display could be started" >&2; return 1
}

# Creates the prefix on first use (once, under a lock) and maps the Song font names to the CJK font.
wine_prefix_ready() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.quintaro-ready" ]; then
      "$WINE_LOADER" wineboot -i >/dev/null 2>&1 || true
      local key='HKCU\Software\Wine\Fonts\Replacements'
      for name in 宋体 新宋体 SimSun NSimSun; do
        "$WINE_LOADER" reg add "$key" /v "$name" /t REG_SZ /d "AR PL UMing CN" /f >/dev/null 2>&1
      done
      "$WINE_LOADER" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      /usr/lib/wine/wineserver -w 2>/dev/null || true
      touch "$WINEPREFIX/.quintaro-ready"
    fi
    # The forms paint their own frame: Wine must not cut the non-client area off for window-manager decorations
    # (its X window would then start below where a system caption would be). Also applied to older prefixes.
    [ -f "$WINEPREFIX/.quintaro-undecorated" ] && exit 0
    "$WINE_LOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
    touch "$WINEPREFIX/.quintaro-undecorated"
  ) 9>"$WINEPREFIX.lock"
}

wine64() {
  "$WINE_LOADER" "$@"
}
