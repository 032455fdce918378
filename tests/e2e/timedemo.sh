#!/usr/bin/env bash
# "tamberlo +timedemo tour": the bundled demo plays to its end, one line of figures reaches
# standard output, and the game goes on running (it draws on, from where the demo stopped, until
# it is closed).
source "$(dirname "$0")/lib.inc"

start_and_wait +timedemo tour
line='^timedemo tour: [0-9]+ frames, [0-9]+\.[0-9]{2} s, [0-9]+\.[0-9] fps, slowest [0-9]+\.[0-9] ms$'
until_ok 1200 0.1 grep -Eq "$line" "$WORK/stdout" || fail "no timedemo line: $(cat "$WORK/stdout")"
frames=$(grep -Eo '[0-9]+ frames' "$WORK/stdout" | cut -d' ' -f1)
[ "$frames" -gt 1000 ] || fail "the tour has only $frames frames"
still_drawing "$main" "the game stopped drawing after the timedemo"
open_console "$main" "$con"
wait_ocr "$con" 'timedemo tour: [0-9]+ frames'
close_console "$con"
close_window "$main"
wait_exit "closing the main window"
echo "timedemo: $(cat "$WORK/stdout")"
