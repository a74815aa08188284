#!/usr/bin/env bash
# Makes the one Wine prefix a test run shares (setup), or stops its server (cleanup).
set -euo pipefail
export WINEPREFIX=${SMOKEDRIFT_WINEPREFIX:?}
# Without the Windows build no test needs a prefix.
source "$(dirname "$0")/../support/inputs.sh"
require_input "${SMOKEDRIFT_WINDOWS_BUILD:?}/smokedrift.scr" "build the windows preset"
export WINEDEBUG=-all
case "$1" in
  setup)
    rm -rf "$WINEPREFIX"
    # No display: wineboot must not try to open windows.
    DISPLAY= wineboot --init >/dev/null 2>&1
    wineserver -w
    [ -f "$WINEPREFIX/system.reg" ] || { echo "FAIL: the Wine prefix was not created"; exit 1; }
    echo "Wine prefix ready: $WINEPREFIX"
    ;;
  cleanup)
    wineserver -k 2>/dev/null || true
    ;;
esac
