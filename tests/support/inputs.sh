# Sourced by tests that check what another build makes (the windows preset's .scr, the .deb of
# `make package`). require_input FILE HOW: without FILE the test skips (77) in a plain build and
# fails where the build asked for every input (SMOKEDRIFT_MISSING_INPUTS=fail, the default preset);
# HOW says what makes it.
require_input() {
  [ -e "$1" ] && return 0
  if [ "${SMOKEDRIFT_MISSING_INPUTS:-fail}" = skip ]; then
    echo "skipped: $1 is missing ($2; a plain build does not make it)"
    exit 77
  fi
  echo "FAIL: $1 is missing ($2; make test does it first)"
  exit 1
}
