#!/usr/bin/env bash
# The arena as a person sees it: after start-up, looking up from the floor until the sky shows
# gives textured walls, and the HUD's X, Y and FPS lines read back in red at the bottom left. Real
# key events move the player: holding W walks forward and releasing it stops the walk (first, with
# the view still on the floor); walking on into a wall stops the player at the wall while the key
# is still held. Then islands replace the arena; Escape quits.
source "$(dirname "$0")/lib.inc"

start_and_wait
sleep 1
focus "$main"
y0=$(hud_value "$main" Y) || fail "the HUD's Y line did not read before the walk"
xdotool keydown w
sleep 1
xdotool keyup w
# The walk slows down over frames, so a slow machine takes longer to come to rest: the player
# must stand still (two readings a second apart agree) within a few seconds of the release. From
# the first spawn's start point, (0, -44) facing north, a second of W walks about 11 units; with
# W held the walk goes on until the central tower stops it near Y -17.
sleep 1
y1=$(hud_value "$main" Y) || fail "the HUD's Y line did not read after the walk"
[ "$y1" != "$y0" ] || fail "holding W did not move the player (Y stayed $y0)"
came_to_rest() {
  sleep 1
  rest=$(hud_value "$main" Y) || rest="unread"
  [ "$rest" = "$y1" ] && return 0
  y1=$rest
  return 1
}
until_ok 8 0 came_to_rest || fail "the player kept walking after W was released (Y reached $rest)"
awk -v y="$rest" 'BEGIN { exit !(y < -22) }' ||
  fail "the player walked on toward the tower after W was released (Y $y0 to $rest)"

look_level "$main"
sleep 0.3
shot "$main" "$WORK/arena.png"
read -r _ _ w h < <(geometry "$main")

walls=$(count_colours "$WORK/arena.png" "$SKY || $GRASS")
[ "$walls" -gt 1000 ] || fail "walls look untextured ($walls colours besides the sky and the grass)"
# HUD: the three lines read back (only red text is read).
for line in X Y FPS; do
  hud_value "$main" "$line" >/dev/null || fail "the HUD has no $line line"
done

# Walk on until the position stops changing while W is still held: a wall stopped us.
focus "$main"
xdotool keydown w
prev=$rest
stopped=""
for _ in $(seq 40); do
  sleep 0.5
  now=$(hud_value "$main" Y) || now=""
  if [ -n "$now" ] && [ "$now" = "$prev" ]; then stopped=$now; break; fi
  prev=$now
done
xdotool keyup w
[ -n "$stopped" ] || fail "the player never stopped walking forward"

# The island generator: "create_map" prints its Cyrillic line in the console, and the view from
# where the player stands changes to the island's textured land and cliffs; the arena's panels
# are no longer drawn. (The soak makes island after island.)
shot "$main" "$WORK/at-wall.png"
console_command "$main" "$con" "create_map"
OCR_LANG=rus+eng wait_ocr "$con" 'Карта создана'
close_console "$con"
sleep 0.5
shot "$main" "$WORK/island.png"
changed=$(pixels_differing "$WORK/at-wall.png" "$WORK/island.png" 5) || fail "no picture to compare"
[ "$changed" -gt $((w * h / 10)) ] || fail "the view hardly changed after create_map ($changed pixels)"
colours=$(convert "$WORK/island.png" -crop "${w}x$((h * 2 / 3))+0+0" +repage -format '%k\n' info:)
[ "$colours" -gt 1000 ] || fail "the island looks untextured ($colours colours)"

press "$main" Escape  # bound to "exit"
wait_exit Escape
echo "arena: ok"
