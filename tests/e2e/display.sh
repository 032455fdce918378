#!/usr/bin/env bash
# Display modes in the real game under Xvfb (one mode: the screen's own): a mode that does not
# exist is reported in the log and the game keeps drawing; the screen's own mode takes the window
# full screen; set_windowed brings back the window's size, and leaves a window that is not full
# screen where and as large as it is; after each switch the textures still draw and fog is back
# on; a size word that is not a number shows the error in a message box and the game goes on.
source "$(dirname "$0")/lib.inc"
read -r sw sh < <(xdpyinfo | awk '/dimensions:/{split($2, d, "x"); print d[1], d[2]}')

# fogged CLEAR FOGGY: the second picture is the first blended toward the fog colour (0.7, 0.7,
# 0.5). Over the top two-thirds (the HUD stays clear), each channel's mean must keep the same
# part of its distance to the fog colour (within 0.05), and that part must be well below 1.
# The pictures are compared only at the end, so that the switches follow each other closely.
means() {
  convert "$1" -crop "$(identify -format '%wx%[fx:int(h * 2 / 3)]' "$1")+0+0" +repage \
    -format '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]' info:
}
fogged() {
  awk -v a="$(means "$1")" -v b="$(means "$2")" 'BEGIN {
    split(a, x, " "); split(b, y, " "); split("0.7 0.7 0.5", f, " "); lo = 9; hi = -9
    for (i = 1; i <= 3; i++) {
      k = (f[i] - y[i]) / (f[i] - x[i])
      lo = k < lo ? k : lo; hi = k > hi ? k : hi
    }
    printf "mean colour %s, then %s: %.2f to %.2f of the way to the fog colour left\n", a, b, lo, hi
    exit !(hi - lo < 0.05 && lo > 0.1 && hi < 0.9) }'
}
textured() {  # textured PICTURE WHEN: a picture of the arena shows many colours
  local colours
  colours=$(convert "$1" -format '%k\n' info:)
  [ "$colours" -gt 500 ] || fail "the picture $2 has only $colours colours"
}
size_is() { [ "$(geometry "$1" | cut -d' ' -f3-)" = "$2 $3" ]; }  # size_is ID W H

start_and_wait
sleep 1
shot "$main" "$WORK/before.png"

console_command "$main" "$con" "set_fullscreen 801 601 16"
wait_ocr "$con" 'no such display mode \(status 2\)'
close_console "$con"
sleep 1
shot "$main" "$WORK/fogged.png"  # re-initialising OpenGL turns fog on again

console_command "$main" "$con" "set_fullscreen $sw $sh 24"
close_console "$con"
until_ok 50 0.1 size_is "$main" "$sw" "$sh" || fail "full screen gave $(geometry "$main")"
[ "$(geometry "$main")" = "0 0 $sw $sh" ] || fail "full screen gave $(geometry "$main")"

console_command "$main" "$con" "set_windowed 640 480"
close_console "$con"
until_ok 50 0.1 size_is "$main" 642 456 || fail "windowed size is $(geometry "$main")"
sleep 1
shot "$main" "$WORK/windowed.png"
press "$main" 1  # bound to "fog -": the same view without fog
sleep 1
shot "$main" "$WORK/windowed-clear.png"

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
dismiss_box
grep -q '"7x" is not a valid' "$WORK/stderr" || fail "no conversion error: $(cat "$WORK/stderr")"
close_console "$con"
still_drawing "$main" "the game stopped drawing after the message box"

close_window "$main"
wait_exit "closing the main window"

textured "$WORK/fogged.png" "after the switch"
fog=$(fogged "$WORK/before.png" "$WORK/fogged.png") || fail "no fog after the switch: $fog"
echo "after the switch: $fog"
textured "$WORK/windowed.png" "after set_windowed"
fog=$(fogged "$WORK/windowed-clear.png" "$WORK/windowed.png") ||
  fail "no fog after set_windowed: $fog"
echo "after set_windowed: $fog"
echo "display: ok"
