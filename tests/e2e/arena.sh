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
y0=$(hud_value "$main" Y)
xdotool keydown w
sleep 1.5
xdotool keyup w
# The walk slows down over frames, so a slow machine takes longer to come to rest: the player
# must stand still (two readings a second apart agree) within a few seconds of the release.
sleep 1
y1=$(hud_value "$main" Y)
for _ in $(seq 6); do
  sleep 1
  y2=$(hud_value "$main" Y)
  [ "$y2" = "$y1" ] && break
  y1=$y2
done
[ -n "$y1" ] && [ "$y1" != "$y0" ] || fail "holding W did not move the player ($y0 -> $y1)"
[ "$y2" = "$y1" ] || fail "the player kept walking after W was released ($y1 -> $y2)"

look_level "$main"
sleep 0.3
shot "$main" "$WORK/arena.png"
read -r _ _ w h < <(geometry "$main")

colours=$(convert "$WORK/arena.png" -crop "${w}x$((h * 2 / 3))+0+0" +repage -format '%k\n' info:)
[ "$colours" -gt 1000 ] || fail "walls look untextured ($colours colours)"
# HUD: the three lines read back (only red text is read).
for line in X Y FPS; do
  [ -n "$(hud_value "$main" "$line")" ] || fail "the HUD has no $line line"
done

# Walk on until the position stops changing while W is still held: a wall stopped us.
focus "$main"
xdotool keydown w
prev=$y2
stopped=""
for _ in $(seq 40); do
  sleep 0.5
  now=$(hud_value "$main" Y)
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
changed=$(compare -metric AE -fuzz 5% "$WORK/at-wall.png" "$WORK/island.png" /dev/null 2>&1 || true)
[ "${changed%% *}" -gt $((w * h / 10)) ] || fail "the view hardly changed after create_map ($changed pixels)"
colours=$(convert "$WORK/island.png" -crop "${w}x$((h * 2 / 3))+0+0" +repage -format '%k\n' info:)
[ "$colours" -gt 1000 ] || fail "the island looks untextured ($colours colours)"

press "$main" Escape  # bound to "exit"
wait_exit Escape
echo "arena: ok"
