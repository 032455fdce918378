#!/usr/bin/env bash
# Sound through the real game, recorded by SDL's disk audio driver: the console's play commands
# (WAV, MP3, MIDI), "+attack" playing the shot, set_volume on both channels, and "File not found"
# for a name that is not beside the program. Each step measures the part of the recording made
# after its command (the recording grows in real time, four bytes a stereo frame).
source "$(dirname "$0")/lib.inc"

export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$WORK/rec.raw"
start_and_wait
until_ok 50 0.1 test -s "$WORK/rec.raw" || fail "the sound device was not opened: $(cat "$WORK/stderr")"

open_console "$main" "$con"

frames() { echo $(( $(stat -c %s "$WORK/rec.raw") / 4 )); }

# level CHANNEL FROM: the peak level (0..1) of one channel from frame FROM to the end so far.
# Fails when sox measures nothing.
level() {
  sox -t raw -r 44100 -e signed -b 16 -c 2 "$WORK/rec.raw" -n remix "$1" trim "${2}s" stat 2>&1 |
    awk '/Maximum amplitude/{print $3; found = 1} END{exit !found}'
}
loud() { awk -v v="$1" -v m="$2" 'BEGIN{exit !(v + 0 > m + 0)}'; }

# run_cmd LINE: prints the frame at which the recording stands, then enters LINE in the console.
run_cmd() {
  frames
  type_text "$con" "$1"
  press "$con" Return
}

# heard WHAT FROM MIN: waits (up to 10 s of a busy machine) until both channels peak above MIN
# after frame FROM.
heard() {
  local l r
  for _ in $(seq 40); do
    l=$(level 1 "$2") || l=none
    r=$(level 2 "$2") || r=none
    loud "$l" "$3" && loud "$r" "$3" && return 0
    sleep 0.25
  done
  fail "$1: the channels peaked at $l / $r, wanted above $3"
}

# silent WHAT FROM: within 10 s the recording grows by a second past frame FROM, and both
# channels are silent in it.
second_past() { [ $(( $(frames) - $1 )) -ge 44100 ]; }
silent() {
  until_ok 40 0.25 second_past "$2" || fail "$1: the recording stopped growing (the device stalled)"
  local l r
  l=$(level 1 "$2") && r=$(level 2 "$2") || fail "$1: sox measured nothing"
  ! loud "$l" 0.0001 && ! loud "$r" 0.0001 || fail "$1: still heard ($l / $r)"
}

at=$(run_cmd 'play_wav Data\Sound\mp40f1.wav')
heard play_wav "$at" 0.5

at=$(run_cmd '+attack')
heard +attack "$at" 0.5
run_cmd '-attack' >/dev/null

at=$(run_cmd 'play_mp3 Data\Sound\demo.mp3')
heard play_mp3 "$at" 0.2
sleep 4  # let the demo end

run_cmd 'set_volume 0' >/dev/null
sleep 0.3
at=$(run_cmd 'play_wav Data\Sound\mp40f1.wav')
silent "set_volume 0" "$at"

run_cmd 'set_volume 65535' >/dev/null
sleep 0.3
at=$(run_cmd 'play_wav Data\Sound\mp40f1.wav')
heard "set_volume 65535" "$at" 0.5

at=$(run_cmd 'play_midi Data\Sound\Ext.mid')
heard play_midi "$at" 0.1

run_cmd 'play_wav no_such_sound.wav' >/dev/null
wait_ocr "$con" 'File not found'

close_window "$main"
wait_exit "closing the main window"
echo "media_sound: ok"
