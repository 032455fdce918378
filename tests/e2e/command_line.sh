#!/usr/bin/env bash
# Console lines on the command line: "+fov 77 +sensitivity 20" run after start-up (the console
# then shows both values), an argument before the first "+" is still warned of and ignored.
source "$(dirname "$0")/lib.inc"

start_and_wait --bogus +fov 77 +sensitivity 20
grep -q 'takes no arguments; ignoring "--bogus"$' "$WORK/stderr" ||
  fail "no warning for --bogus: $(cat "$WORK/stderr")"
console_command "$main" "$con" "fov;sensitivity"
wait_ocr "$con" 'FOV=77'
grep -Eq 'sensitivity=20' "$WORK/ocr.txt" || fail "sensitivity not set: $(cat "$WORK/ocr.txt")"
close_console "$con"
close_window "$main"
wait_exit "closing the main window"
echo "command_line: ok"
