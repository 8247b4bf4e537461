# Shared by the end-to-end scripts: a fresh prefix, the demo installation, waiting, and checks.
source "$QUINTARO_SOURCE/scripts/lib/wine.sh"
HELPERS=$QUINTARO_HELPERS
# A run in a 32-bit prefix (QUINTARO_WINEARCH=win32) keeps its prefix and its output apart from the 64-bit one's.
E2E_ARCH=${QUINTARO_WINEARCH:+-$QUINTARO_WINEARCH}
E2E_OUT=$QUINTARO_BUILD/e2e$E2E_ARCH
mkdir -p "$E2E_OUT"

e2e_fail() { echo "FAIL: $*" >&2; exit 1; }
# A command that fails unexpectedly says where.
trap 'echo "FAIL: unexpected failure at ${BASH_SOURCE[0]}:$LINENO: $BASH_COMMAND" >&2' ERR

e2e_fresh_prefix() {  # name
  export QUINTARO_WINEPREFIX=$QUINTARO_BUILD/e2e-$1$E2E_ARCH-prefix
  wine_env
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"  # its display stays: one Xvfb per prefix name, not one per run
  wine_prefix_ready
  wine_display
  source "$QUINTARO_SOURCE/scripts/lib/demo-install.sh"
  trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
}

e2e_wait_for() {  # what seconds command...
  local what=$1 seconds=$2 i; shift 2
  for i in $(seq 1 $(( seconds * 5 ))); do "$@" && return 0; sleep 0.2; done
  e2e_fail "timed out waiting for $what"
}

# A key typed the moment the confirmation window maps can come before the window has taken the focus (seen with the
# i686 build on a busy machine: the Enter was lost). The tests wait until it has the focus, and then this long more
# for its focused control, as a user would.
E2E_SETTLE=0.5

e2e_has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

e2e_wait_until_focused() {  # window-id what
  e2e_wait_for "$2 to have the focus" 20 e2e_has_focus "$1"
  sleep "$E2E_SETTLE"
}

e2e_start_uninstaller() {
  ( cd "$(demo_unix "$DEMO_UNINSTALLER_DIR")" && wine "$DEMO_UNINSTALLER_DIR\\Uninstall.exe"; echo $? > "$E2E_OUT/exit-code" ) &
  E2E_PID=$!
  rm -f "$E2E_OUT/exit-code"
}

e2e_uninstaller_ended() { ! kill -0 "$E2E_PID" 2>/dev/null; }

# Conditions for e2e_wait_for: functions, so that each try looks again (a "$(...)" argument is read only once).
e2e_copies_running() { [ "$(demo_running_copies)" -ge 2 ]; }
e2e_nothing_left() { [ -z "$(demo_leftovers)" ]; }
e2e_no_private_folder() { ! ls "$WINEPREFIX/drive_c/windows/temp" | grep -q QuintaroUninstall; }

# Checksums of every file of the prefix's drive that is not the product's, the uninstaller's, or a temp file.
e2e_checksums() {
  ( cd "$WINEPREFIX/drive_c" && find . -type f \
      -not -path './Program Files/Corvane软件/*' -not -path '*/Temp/*' -not -path './windows/temp/*' \
      -not -path './ProgramData/Microsoft/Windows/Start Menu/Programs/Quintaro/*.lnk' \
      -not -name 'Quintaro.lnk' -print0 | sort -z | xargs -0 -r sha1sum )
}

e2e_same_files() {  # before after
  local missing
  missing=$(comm -23 <(sort <<<"$1") <(sort <<<"$2"))
  [ -z "$missing" ] || e2e_fail "files outside the product changed or vanished: $missing"
}
