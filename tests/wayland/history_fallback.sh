#!/usr/bin/env bash
# The frame history kept in a buffer of the saver's own and presented as a copy
# (SMOKEDRIFT_FRAME_HISTORY=copy) shows the smoke between black bands as the normal path does
# (=direct), with the --fps figures too, and a key ends either with 0.
source "$(dirname "$0")/lib.sh"
start_sway 1 640x480

# The figures in the lower-left corner, in the bottom band.
fps_shows() {
  screenshot_output HEADLESS-1 "$WORK/fps.png" &&
    awk -v v="$(convert "$WORK/fps.png" -crop 160x24+0+452 +repage -format "%[fx:maxima.intensity]" info:)" \
      'BEGIN { exit !(v > 0.1) }'
}

for history in copy direct; do
  for fps in "" --fps; do
    echo "SMOKEDRIFT_FRAME_HISTORY=$history /s $fps"
    # Until sway draws the output again it shows the last saver's picture.
    poll 10 middle_row_black HEADLESS-1 640x480 || fail "the last saver's surface stayed"
    SMOKEDRIFT_FRAME_HISTORY=$history start_saver /s $fps
    wait_for_smoke HEADLESS-1 640x480
    if [ -n "$fps" ]; then
      poll 10 fps_shows || fail "no frame rate in the corner"
    elif fps_shows; then
      fail "figures in the corner without --fps"
    fi
    press_key Escape
    expect_exit 0
    [ ! -s "$WORK/saver.err" ] || fail "unexpected output: $(cat "$WORK/saver.err")"
  done
done
echo "history fallback: ok"
