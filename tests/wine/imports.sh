#!/usr/bin/env bash
# The .scr is self-contained: it imports only DLLs that every Windows has.
set -euo pipefail
scr=${SMOKEDRIFT_WINDOWS_BUILD:?}/smokedrift.scr
source "$(dirname "$0")/../support/inputs.sh"
require_input "$scr" "build the windows preset"
allowed="ADVAPI32.dll GDI32.dll GLU32.dll KERNEL32.dll msvcrt.dll OPENGL32.dll USER32.dll"
bad=0
for dll in $(x86_64-w64-mingw32-objdump -p "$scr" | awk '/DLL Name:/{print $3}'); do
  case " $allowed " in
    *" $dll "*) echo "imports $dll" ;;
    *) echo "FAIL: imports $dll, which not every Windows has"; bad=1 ;;
  esac
done
file "$scr" | grep -q 'PE32+ executable (GUI) x86-64' || { echo "FAIL: not a 64-bit GUI PE: $(file "$scr")"; bad=1; }
exit $bad
