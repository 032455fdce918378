#!/usr/bin/env bash
# The island generator in the real game: "create_map" prints its Cyrillic line in the console,
# and the view from the arena's start point changes to the island's rising land and cliffs; the
# arena's panels are no longer drawn. Three more islands leave the game running and drawing.
source "$(dirname "$0")/lib.inc"
need_display

start_and_wait
sleep 1
look_level "$main" 4
sleep 0.3
shot "$main" "$WORK/arena.png"

console_command "$main" "$con" "create_map"
OCR_LANG=rus+eng wait_ocr "$con" 'Карта создана'
close_console "$con"
sleep 0.5
shot "$main" "$WORK/island.png"
read -r _ _ w h < <(geometry "$main")

changed=$(compare -metric AE -fuzz 5% "$WORK/arena.png" "$WORK/island.png" /dev/null 2>&1 || true)
[ "${changed%% *}" -gt $((w * h / 10)) ] || fail "the view hardly changed after create_map ($changed pixels)"
colours=$(convert "$WORK/island.png" -crop "${w}x$((h * 2 / 3))+0+0" +repage -format '%k\n' info:)
[ "$colours" -gt 1000 ] || fail "the island looks untextured ($colours colours)"

for _ in 1 2 3; do
  console_command "$main" "$con" "create_map"
  close_console "$con"
done
sleep 0.5
shot "$main" "$WORK/later.png"
colours=$(convert "$WORK/later.png" -format '%k\n' info:)
[ "$colours" -gt 1000 ] || fail "the view after more islands looks wrong ($colours colours)"

press "$main" Escape
wait_exit Escape
echo "island: ok"
