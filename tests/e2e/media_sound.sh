#!/usr/bin/env bash
# Sound through the real game, recorded by SDL's disk audio driver: the console's play commands
# (WAV, MP3, MIDI), "+attack" playing the shot, set_volume on both channels, and "File not found"
# for a name that is not beside the program. Each step measures the part of the recording made
# after its command (the recording grows in real time, four bytes a stereo frame).
source "$(dirname "$0")/lib.inc"
need_display

export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$WORK/rec.raw"
start_game
main=$(wait_window frmMain)
con=$(wait_window frmCon)
wait_viewable "$main"
for _ in $(seq 50); do [ -s "$WORK/rec.raw" ] && break; sleep 0.1; done
[ -s "$WORK/rec.raw" ] || fail "the sound device was not opened: $(cat "$WORK/stderr")"

press "$main" grave
wait_viewable "$con"

frames() { echo $(( $(stat -c %s "$WORK/rec.raw") / 4 )); }

# level CHANNEL FROM: the peak level (0..1) of one channel from frame FROM to the end so far.
level() {
  sox -t raw -r 44100 -e signed -b 16 -c 2 "$WORK/rec.raw" -n remix "$1" trim "${2}s" stat 2>&1 |
    awk '/Maximum amplitude/{print $3}'
}

# run_cmd LINE SECONDS: types a command line into the console, waits, and prints the frame at
# which the recording stood when it was typed.
run_cmd() {
  local start
  start=$(frames)
  focus "$con"
  xdotool type --delay 40 -- "$1"
  press "$con" Return
  sleep "$2"
  echo "$start"
}

loud() { awk -v v="$1" -v m="$2" 'BEGIN{exit !(v > m)}'; }

at=$(run_cmd 'play_wav Data\Sound\mp40f1.wav' 1)
l=$(level 1 "$at"); r=$(level 2 "$at")
loud "$l" 0.5 && loud "$r" 0.5 || fail "play_wav: the shot peaked at $l / $r"

at=$(run_cmd '+attack' 1)
l=$(level 1 "$at")
loud "$l" 0.5 || fail "+attack: the shot peaked at $l"
run_cmd '-attack' 0.2 >/dev/null

at=$(run_cmd 'play_mp3 Data\Sound\demo.mp3' 1.5)
l=$(level 1 "$at")
loud "$l" 0.2 || fail "play_mp3: the demo peaked at $l"
sleep 3  # let the demo end

at=$(run_cmd 'set_volume 0' 0.2)
at=$(run_cmd 'play_wav Data\Sound\mp40f1.wav' 1)
l=$(level 1 "$at"); r=$(level 2 "$at")
loud "$l" 0.0001 || loud "$r" 0.0001 && fail "set_volume 0: still heard ($l / $r)"

at=$(run_cmd 'set_volume 65535' 0.2)
at=$(run_cmd 'play_wav Data\Sound\mp40f1.wav' 1)
l=$(level 1 "$at"); r=$(level 2 "$at")
loud "$l" 0.5 && loud "$r" 0.5 || fail "set_volume 65535: the shot peaked at $l / $r"

at=$(run_cmd 'play_midi Data\Sound\Ext.mid' 1.5)
l=$(level 1 "$at")
loud "$l" 0.1 || fail "play_midi: the tune peaked at $l"

run_cmd 'play_wav no_such_sound.wav' 0.2 >/dev/null
wait_ocr "$con" 'File not found'

close_window "$main"
rc=$(wait_exit)
[ "$rc" = 0 ] || fail "the game ended with status $rc"
echo "media_sound: ok"
