#!/usr/bin/env bash
# /p HWND draws into a window another program owns and ends with 0 when that window is destroyed;
# /p 0 and /p with a number that is no window end with -1 without opening a window.
source "$(dirname "$0")/lib.sh"
start_xvfb

stop="$WORK/stop"
start_wine parent "$HELPERS/preview_parent.exe" "$SCR" "$(winepath -w "$stop")" "$(winepath -w "$WORK/parent.log")"
wait_for 120 grep -q child "$WORK/parent.log" || fail "no preview window appeared in the parent ($(cat "$WORK/parent.log" 2>/dev/null))"
# Wine draws OpenGL child windows into an X window of their own that the Composite extension keeps
# off screen (Xvfb runs no compositor), so the picture is read from that window: the unnamed
# 320x240 child inside the parent's client area.
shot="$WORK/preview.png"
drawn=0
for _ in $(seq 1 60); do
  for id in $(xwininfo -root -tree | awk '/\(has no name\): \(\)  320x240/{print $1}'); do
    import -window "$id" "png24:$shot" 2>/dev/null || continue
    s=$(max_saturation "$shot" "300x60+10+90")
    if awk "BEGIN{exit !($s > 0.25)}"; then drawn=1; break 2; fi
  done
  sleep 0.5
done
[ "$drawn" = 1 ] || { cp "$shot" /tmp/smokedrift-wine-preview.png; fail "the preview drew no smoke into its parent"; }
touch "$stop"
code=$(wait_exit parent 60)
[ "$code" = 0 ] || fail "preview: expected exit 0 after the parent went away, got $code ($(cat "$WORK/parent.log"))"

for tail in "/p 0" "/p 99999" "/p"; do
  # shellcheck disable=SC2086
  start_wine bad "$SCR" $tail
  code=$(wait_exit bad 30)
  [ "$code" = 255 ] || fail "'$tail': expected exit -1 (255), got $code"
  window_exists "Preview" && fail "'$tail' opened a window"
  rm -f "$WORK/bad.rc"
done
echo "preview under Wine: ok"
