#!/usr/bin/env bash
# /c, /c:HWND and an empty command line show the configuration dialog (template 2003):
# OK ends with 1, Cancel with 0.
source "$(dirname "$0")/lib.sh"
start_xvfb

# The dialog is mapped and has the keyboard focus (a key sent before would be lost).
dialog_focused() {
  local id
  id=$(xdotool search --onlyvisible --name '^smokedrift$' | head -n 1)
  [ -n "$id" ] || return 1
  [ "$(xdotool getwindowfocus)" = "$id" ] && return 0
  xdotool windowfocus "$id"
  return 1
}

answer() {  # answer NAME KEY EXPECTED ARGS...
  local name=$1 key=$2 expected=$3
  shift 3
  start_wine "$name" "$SCR" "$@"
  wait_for 120 dialog_focused || fail "$name: the dialog did not open or take the focus"
  xdotool key "$key"
  local code
  code=$(wait_exit "$name" 30)
  [ "$code" = "$expected" ] || fail "$name: expected exit $expected, got $code"
}

answer ok Return 1 /c
answer cancel Escape 0 /c
answer empty Return 1
answer owner Escape 0 /c:12345
echo "configuration dialog under Wine: ok"
