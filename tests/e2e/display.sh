#!/usr/bin/env bash
# Display modes in the real game under Xvfb (one mode: the screen's own): a mode that does not
# exist is reported in the log and the game keeps drawing; the screen's own mode takes the window
# full screen; set_windowed brings back the window's size, and leaves a window that is not full
# screen where and as large as it is; after each switch the textures still draw and fog is back
# on; a size word that is not a number shows the error in a message box and the game goes on.
source "$(dirname "$0")/lib.inc"
read -r sw sh < <(xdpyinfo | awk '/dimensions:/{split($2, d, "x"); print d[1], d[2]}')

start_and_wait
sleep 1
shot "$main" "$WORK/before.png"

console_command "$main" "$con" "set_fullscreen 801 601 16"
wait_ocr "$con" 'no such display mode \(status 2\)'
close_console "$con"
sleep 1
shot "$main" "$WORK/fogged.png"
# Re-initialising OpenGL turns fog on again: the picture changes, and it is still textured.
fog_diff=$(compare -metric AE "$WORK/before.png" "$WORK/fogged.png" /dev/null 2>&1 || true)
[ "${fog_diff%% *}" -gt 10000 ] || fail "no fog after the switch ($fog_diff pixels changed)"
colours=$(convert "$WORK/fogged.png" -format '%k\n' info:)
[ "$colours" -gt 500 ] || fail "the picture after the switch has only $colours colours"

console_command "$main" "$con" "set_fullscreen $sw $sh 24"
close_console "$con"
sleep 1
[ "$(geometry "$main")" = "0 0 $sw $sh" ] || fail "full screen gave $(geometry "$main")"

console_command "$main" "$con" "set_windowed 640 480"
close_console "$con"
sleep 1
read -r _ _ w h < <(geometry "$main")
[ "$w $h" = "642 456" ] || fail "windowed size is ${w}x$h"
shot "$main" "$WORK/windowed.png"
colours=$(convert "$WORK/windowed.png" -format '%k\n' info:)
[ "$colours" -gt 500 ] || fail "the picture after set_windowed has only $colours colours"

# A window that is not full screen keeps the place and size the user gave it.
xdotool windowsize "$main" 700 500 windowmove "$main" 60 80
sleep 0.5
console_command "$main" "$con" "set_windowed 640 480"
close_console "$con"
sleep 1
[ "$(geometry "$main")" = "60 80 700 500" ] || fail "set_windowed moved the window: $(geometry "$main")"

# A size word that is not a number reaches the error handler's message box; after it is closed
# the game goes on.
console_command "$main" "$con" "set_fullscreen 7x 600 16"
box_id() { xwininfo -root -tree | awk '$2 == "\"Tamberlo\":" && !f {print $1; f = 1} END {exit !f}'; }
box=$(until_ok 100 0.1 box_id) || fail "no message box"
box=$((box))  # decimal, as xdotool gives window ids
grep -q '"7x" is not a valid' "$WORK/stderr" || fail "no conversion error: $(cat "$WORK/stderr")"
press "$box" Return
until_ok 50 0.1 viewable_is "$box" no 2>/dev/null || fail "the message box did not close"
close_console "$con"
still_drawing "$main" "the game stopped drawing after the message box"

close_window "$main"
wait_exit "closing the main window"
echo "display: ok"
