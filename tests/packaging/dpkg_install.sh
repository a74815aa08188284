#!/usr/bin/env bash
# The .deb as a user installs it: apt installs it (waiting for the dpkg lock rather than failing
# while another apt runs), every file lands, the hack runs, and mate-screensaver finds its theme
# entry and draws it; purging removes every file, and every package the install added is gone again.
# Only those: on a shared machine another job may install packages meanwhile, which stay. Skipped
# (77) without root, and when a smokedrift package is installed already: that one is the user's,
# and the test leaves it alone.
# usage: dpkg_install.sh PACKAGE.deb
set -uo pipefail
deb=$(realpath "$1")
[ "$(id -u)" = 0 ] || { echo "not root: the package is not installed"; exit 77; }
if dpkg-query -W -f='${db:Status-Status}' smokedrift 2>/dev/null | grep -qv '^not-installed$'; then
  echo "a smokedrift package is on this system already; not touching it"
  exit 77
fi
source "$(dirname "$0")/../support/inputs.sh"
require_input "$deb" "make package"
work=$(mktemp -d)
export DEBIAN_FRONTEND=noninteractive
apt_opts=(-y -q -o DPkg::Lock::Timeout=900 -o Dpkg::Use-Pty=0)
# Names as dpkg prints them when it unpacks (an architecture suffix on Multi-Arch: same packages).
packages() { dpkg-query -W -f='${db:Status-Status} ${binary:Package}\n' | awk '$1 != "not-installed" {print $2}' | sort; }
before=$(packages)
# ours: the packages our apt run unpacked that were not installed before it (not upgrades).
ours() { sed -n 's/^Unpacking \([^ ]*\) .*/\1/p' "$work/install" | sort -u | comm -23 - <(echo "$before"); }
: >"$work/install"
restore() {
  # What this test added goes again: the package, and any dependency apt had to fetch for it.
  local added
  added=$(ours)
  [ -z "$added" ] || apt-get purge "${apt_opts[@]}" $added >/dev/null 2>&1
  rm -rf "$work"
}
trap restore EXIT
fail=0
say() { echo "FAIL: $*"; fail=1; }

apt-get install "${apt_opts[@]}" --no-install-recommends "$deb" >"$work/install" 2>&1 ||
  say "apt install: $(cat "$work/install")"
ours | grep -qx smokedrift || say "apt did not unpack smokedrift: $(tail -5 "$work/install")"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||')
while read -r f; do [ -e "/$f" ] || [ -L "/$f" ] || say "not installed: /$f"; done <<<"$files"
/usr/libexec/xscreensaver/smokedrift --version | grep -q "^smokedrift " || say "the installed hack does not run"

# mate-screensaver with the theme chosen as its settings program would: it starts smokedrift -root
# from the entry, and the screen shows smoke. Its own session bus, settings and X server.
mate_draws() (
  export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" NO_AT_BRIDGE=1
  mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  Xvfb -displayfd 3 -screen 0 320x240x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill "$xvfb"; wait "$xvfb"' EXIT
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$work/display")"
  dbus-run-session -- bash -c '
    gsettings set org.mate.screensaver mode single
    gsettings set org.mate.screensaver themes "[\"screensavers-smokedrift\"]"
    gsettings set org.mate.screensaver lock-enabled false
    mate-screensaver --no-daemon >"$HOME/mate.log" 2>&1 &
    mate=$!
    for _ in $(seq 100); do mate-screensaver-command --activate >/dev/null 2>&1 && break; sleep 0.1; done
    status=1
    for _ in $(seq 100); do
      hack=$(pgrep -P "$mate" -xf "smokedrift -root")
      if [ -n "$hack" ] && [ "$(xwd -root -silent | convert xwd:- -format "%[fx:mean>0.05]" info:)" = 1 ]; then
        status=0
        break
      fi
      sleep 0.2
    done
    kill "$mate" $hack 2>/dev/null
    wait "$mate"
    exit $status' >/dev/null 2>&1
)
if command -v mate-screensaver >/dev/null; then
  mate_draws || say "mate-screensaver did not draw smokedrift: $(tail -3 "$work/home/mate.log" 2>/dev/null)"
else
  say "mate-screensaver is not installed (scripts/setup tests)"
fi
added=$(ours)
apt-get purge "${apt_opts[@]}" $added >"$work/apt" 2>&1 || say "apt purge: $(cat "$work/apt")"
while read -r f; do [ ! -e "/$f" ] && [ ! -L "/$f" ] || say "left after removal: /$f"; done <<<"$files"
left=$(comm -12 <(echo "$added") <(packages))
[ -z "$left" ] || say "packages the install added are still there: $left"
[ "$fail" = 0 ] && echo "apt install and purge of the package: ok"
exit $fail
