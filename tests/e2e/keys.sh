#!/usr/bin/env bash
# Real key events reach the console and the player: the console key opens the console, "about"
# and Enter shows the about text, Escape hides it; in the main window, holding W walks forward
# (the HUD's position changes) and releasing it stops the walk.
source "$(dirname "$0")/lib.inc"
need_display

start_and_wait
sleep 1

console_command "$main" "$con" "about"
wait_ocr "$con" 'About Orvalis 3D'
grep -q 'End\.' "$WORK/ocr.txt" || fail "about text incomplete: $(cat "$WORK/ocr.txt")"
close_console "$con"

focus "$main"
y0=$(hud_value "$main" Y)
[ -n "$y0" ] || fail "the HUD shows no Y value"
xdotool keydown w
sleep 1.5
xdotool keyup w
sleep 1
y1=$(hud_value "$main" Y)
sleep 1
y2=$(hud_value "$main" Y)
echo "Y: $y0 -> $y1 -> $y2"
[ -n "$y1" ] && [ "$y1" != "$y0" ] || fail "holding W did not move the player ($y0 -> $y1)"
[ "$y2" = "$y1" ] || fail "the player kept walking after W was released ($y1 -> $y2)"

press "$main" Escape  # bound to "exit"
wait_exit
[ "$GAME_RC" = 0 ] || fail "exit ended with status $GAME_RC"
echo "keys: ok"
