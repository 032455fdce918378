#!/usr/bin/env bash
# Starts the real game and checks what a person sees: both windows with their titles, places and
# sizes; the console's start-up lines; typed text after "NEW>"; frames being drawn; F12's
# screenshot; a clean exit (status 0) on closing the main window, on SIGTERM and on SIGINT; and a
# user's autoexec.cfg run after start-up. (The console picture's unit tests keep an entered line's
# underscores clear of the line below.)
source "$(dirname "$0")/lib.inc"

# A user's autoexec.cfg, run at the end of start-up.
mkdir -p "$XDG_CONFIG_HOME/tamberlo"
printf '// mine\nno_clip\n' > "$XDG_CONFIG_HOME/tamberlo/autoexec.cfg"
start_and_wait
[ "$(geometry "$main")" = "175 175 642 456" ] || fail "main window at $(geometry "$main")"

# The console key opens the console at the top-left corner.
open_console "$main" "$con"
read -r cx cy cw ch < <(geometry "$con")
[ "$cx $cy" = "0 0" ] || fail "console at $cx,$cy"
[ "$cw" -ge 400 ] && [ "$ch" -ge 400 ] || fail "console is only ${cw}x${ch}"
# The log keeps the newest lines: the start-up stages in their order, the map's lines, then
# autoexec.cfg's.
in_order() {  # in_order FILE PATTERN...: each pattern matches a line below the previous one's
  local file=$1 at=0 n
  shift
  for pattern; do
    n=$(tail -n +$((at + 1)) "$file" | grep -Ein -m 1 -- "$pattern" | cut -d: -f1)
    [ -n "$n" ] || { echo "no '$pattern' below line $at"; return 1; }
    at=$((at + n))
  done
}
wait_ocr "$con" 'No Clip ON'
order=$(in_order "$WORK/ocr.txt" 'OpenGL initializated' 'Textures load' 'Initializating Software Input' \
  'DirectX initializated' 'Font initialization' 'Software Initializated' 'Map Name - Isengard' \
  'Load Ok' 'No Clip ON') || fail "start-up lines out of order ($order): $(cat "$WORK/ocr.txt")"
type_text "$con" "hello"
wait_ocr "$con" 'NEW.{0,2}hel ?lo'
close_console "$con"

# Frames keep coming: the HUD's frame-rate line changes between two screenshots.
focus "$main"
still_drawing "$main" "the main window did not change in a second"

# F12 saves the frame as a PNG of the window's size and nearly its pixels (the HUD's rate moves).
press "$main" F12
png=$(until_ok 50 0.1 compgen -G "$WORK/pictures/Tamberlo/*.png" | head -n 1) ||
  fail "F12 wrote no screenshot"
shot "$main" "$WORK/window.png"
[ "$(identify -format '%wx%h' "$png")" = "$(identify -format '%wx%h' "$WORK/window.png")" ] ||
  fail "screenshot $(identify -format '%wx%h' "$png") against the window's $(identify -format '%wx%h' "$WORK/window.png")"
differ=$(pixels_differing "$png" "$WORK/window.png" 10) || fail "the screenshot cannot be compared"
[ "$differ" -lt 3000 ] || fail "screenshot differs from the window in $differ pixels"

close_window "$main"
wait_exit "closing the main window"

for sig in TERM INT; do
  start_and_wait
  sleep 0.5
  kill -"$sig" "$GAME_PID"
  wait_exit "SIG$sig"
done
echo "startup: ok"
