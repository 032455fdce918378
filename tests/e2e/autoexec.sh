#!/usr/bin/env bash
# A bad number in the user's autoexec.cfg: the error reaches the message box as for a typed line,
# the rest of that line is dropped, the file's next lines still run, and the game goes on drawing.
source "$(dirname "$0")/lib.inc"

mkdir -p "$XDG_CONFIG_HOME/tamberlo"
printf 'fog pl 7x;no_clip\nno_clip\n' > "$XDG_CONFIG_HOME/tamberlo/autoexec.cfg"
(cd "$WORK" && exec "$GAME" 2>"$WORK/stderr" >"$WORK/stdout") &
GAME_PID=$!
dismiss_box
grep -q '"7x" is not a valid number' "$WORK/stderr" || fail "no conversion error: $(cat "$WORK/stderr")"

main=$(wait_window frmMain)
con=$(wait_window frmCon)
wait_viewable "$main"
open_console "$main" "$con"
wait_ocr "$con" 'No Clip ON'
! grep -q 'No Clip OFF' "$WORK/ocr.txt" || fail "the bad line's second command ran: $(cat "$WORK/ocr.txt")"
close_console "$con"
focus "$main"
still_drawing "$main" "the game stopped drawing after autoexec.cfg's error"
close_window "$main"
wait_exit "closing the main window"
echo "autoexec: ok"
