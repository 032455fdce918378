#!/usr/bin/env bash
# The three models stand where the frame loop places them, (35, 65) and (35, 55), and move:
# from a start point just south of them, looking up from the floor, the middle of the picture
# holds the models and changes between two screenshots while the player stands still; a text map
# that adds a wall in front of them hides them. Model files that do not load are named in the
# console with the reason.
source "$(dirname "$0")/lib.inc"

cat > "$WORK/view.txt" <<'MAP'
name "Models"
floor 100 100
reserved 0 0
gravity 10
floor_texture 1
scroll 0 0
start 35 25
MAP
"$TAM_BUILD_DIR/tamasset" map compile "$WORK/view.txt" "$WORK/view.map" >/dev/null

# loaded NAME: the console shows "Load Ok" after the map NAME's "Map Name" line.
loaded() {
  reads "$con" "Map Name .{0,3}$1" || return 1
  local at
  at=$(grep -Ein "Map Name .{0,3}$1" "$WORK/ocr.txt" | tail -n 1 | cut -d: -f1)
  tail -n +"$at" "$WORK/ocr.txt" | grep -q 'Load Ok'
}

# view MAP NAME SHOT: loads MAP, looks level and takes the screenshot SHOT; `middle` is the
# middle half of the picture's columns (where the horizon lies in it depends on the frame rate,
# since each mouse step turns the view by a rate over one frame), and `green` the share (per
# mille) of its pixels where green clearly dominates.
view() {
  console_command "$main" "$con" "load_map $1"
  until_ok 20 0.5 loaded "$2" || fail "the map $2 did not load: $(cat "$WORK/ocr.txt")"
  close_console "$con"
  look_level "$main" 6
  sleep 0.5
  read -r _ _ w h < <(geometry "$main")
  middle="$((w / 2))x$h+$((w / 4))+0"
  shot "$main" "$3"
  green=$(convert "$3" -crop "$middle" +repage -fx 'g > r && g > b + 0.08 ? 1 : 0' \
    -format '%[fx:int(mean * 1000)]\n' info:)
}

start_and_wait
view "$WORK/view.map" Models "$WORK/models-a.png"
sleep 0.7
shot "$main" "$WORK/models-b.png"
# Straight ahead (+Y) the models fill the middle.
[ "$green" -gt 3 ] || fail "the green Ogros is not in the middle of the view (${green}‰)"
moved=$(pixels_differing "$WORK/models-a.png" "$WORK/models-b.png" 3) || fail "no picture to compare"
[ "$moved" -gt 200 ] || fail "the models did not move between two screenshots ($moved pixels)"

# The same map as text with a wall added between the player and the models: load_map reads the
# text directly, and the wall hides the green Ogros.
{ sed 's/^name .*/name "Wall"/' "$WORK/view.txt"; echo "box 20 30 -2 50 30 30 0 -1 0 3"; } > "$WORK/wall.txt"
view "$WORK/wall.txt" Wall "$WORK/wall.png"
[ "$green" -le 1 ] || fail "the text map's wall does not hide the models (${green}‰ green)"

press "$main" Escape
wait_exit Escape

# A copy of the game with one model file emptied and one cut to 500 bytes starts, names both
# files with the reason in the console, and draws.
mkdir "$WORK/copy"
cp -r "$GAME" "$TAM_BUILD_DIR/game/Data" "$WORK/copy/"
: > "$WORK/copy/Data/Models/Ogros/Ogros.md2"
truncate -s 500 "$WORK/copy/Data/Models/Spawn/Spawn.md2"
GAME="$WORK/copy/tamberlo"
start_and_wait
open_console "$main" "$con"
wait_ocr "$con" 'Ogros\.md2.{0,2} not loaded: file of'
grep -Eq 'Spawn\.md2.{0,2} not loaded: .rames' "$WORK/ocr.txt" || fail "no line for Spawn.md2: $(cat "$WORK/ocr.txt")"
close_console "$con"
still_drawing "$main" "the game with broken models does not draw"
press "$main" Escape
wait_exit Escape
echo "models: ok"
