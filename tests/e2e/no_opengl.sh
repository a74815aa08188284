#!/usr/bin/env bash
# A display either draws the smoke or is refused: without OpenGL window formats (an 8-bit screen,
# a server without GLX) /s says so in one "GLX:" line and fails with -1 (255) at once, so that
# whoever started it can tell; it never sits there black. Depth 16 has formats, and draws.
source "$(dirname "$0")/lib.sh"

for row in "320x240x8 refused" "320x240x16 draws" "320x240x24 refused -extension GLX"; do
  read -r screen outcome xvfbArgs <<<"$row"
  start_xvfb "$screen" $xvfbArgs
  start_saver /s
  case "$outcome" in
    draws)
      wait_for_full_screen
      poll 30 draws_between_bands 320 240 || fail "no smoke on $row"
      xdotool key a
      expect_exit 0
      [ ! -s "$WORK/saver.err" ] || fail "output on $row: $(cat "$WORK/saver.err")"
      ;;
    refused)
      expect_exit 255
      [ "$(wc -l <"$WORK/saver.err")" -eq 1 ] && grep -q '^GLX: ' "$WORK/saver.err" ||
        fail "expected one GLX line on $row, got: $(cat "$WORK/saver.err")"
      ;;
  esac
  stop_xvfb
done
echo "no OpenGL: ok"
