#!/usr/bin/env bash
# The soak: plays the real game for a while as a careless user would and watches it.
#   scripts/soak.sh MINUTES
# Starts the game (TAM_BUILD_DIR, default build/) under an Xvfb of its own (the first free
# display from :130, as the whole-program tests start theirs) with the dummy sound driver, and
# drives it with a random mix seeded by TAM_SOAK_SEED (default 1): valid and invalid command lines
# typed into the console, maps loaded and generated, textures and sounds good, damaged, missing
# and oversized, conversion errors whose message box is closed, and movement keys held down. A
# warm-up first runs every line and each other kind of action once, so that what the game keeps
# from then on (the registry's textures, the island's display list, the default sound) is in
# place. From then on it samples the game's RSS every 10 s and checks every 30 s that it still
# draws (two screenshots a second apart must differ: the models move and the HUD's frame rate
# changes). It fails when the game dies, stops drawing, or when the highest RSS of the last third
# of the run exceeds the highest before it by more than the tolerance: 4 MiB (8 MiB in runs under
# 5 minutes) or 3 %, whichever is larger. The allocator's and the GL driver's own ups and downs
# stay inside that; a leak of a texture or a map per action does not. Ends with the RSS series
# and one line "soak: ok (...)".
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
minutes=${1:?usage: scripts/soak.sh MINUTES}
export TAM_BUILD_DIR=$(cd "${TAM_BUILD_DIR:-$root/build}" && pwd)
[ -x "$TAM_BUILD_DIR/game/tamberlo" ] || { echo "soak: no game in $TAM_BUILD_DIR/game" >&2; exit 2; }
unset DISPLAY  # sourcing the helpers then starts an X server of the soak's own
source "$root/tests/e2e/lib.inc"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
seed=${TAM_SOAK_SEED:-1}
RANDOM=$seed

# Files the game is given beyond its own: damaged, oversized and Cyrillic-named ones.
printf 'not a picture at all' > "$WORK/bad.tga"
printf 'RIFF\1\2\3 not a sound' > "$WORK/bad.wav"
head -c 12 "$TAM_BUILD_DIR/game/Data/Maps/isengard.map" > "$WORK/cut.map"
cp "$TAM_BUILD_DIR/game/Data/textures/Wall.tga" "$WORK/Стена.tga"
python3 - "$WORK/huge.tga" <<'PY'
import sys  # a colour-mapped RLE TGA of 16384 x 16384 pixels in maximal runs (4 MiB)
with open(sys.argv[1], "wb") as f:
    f.write(bytes([0, 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x40, 0, 0x40, 8, 0]))
    f.write(b"\xff\x80" * (16384 * 16384 // 128))
PY

valid=(
  "fog +" "fog -" "fog 2" "fog pl 40" "fov 75" "fov 90" "sensitivity 9" "cl_forwardspeed 300"
  "cl_sidespeed 200" "bind f +forward" "bind f" "no_clip" "jump" "help" "about" "fog ?"
  "create_map" "load_map Data/Maps/isengard.map" "load_map Data\\Maps\\isengard.map"
  "load_texture Data/textures/Wall.tga" "load_texture Data/Sky/up.tga" "load_texture $WORK/Стена.tga"
  "play_wav Data\\Sound\\mp40f1.wav" "+attack;-attack" "set_volume 40000" "set_windowed 640 480"
  "help;about;fog +"
)
invalid=(
  "fog 9" "fog pl" "fov 500" "bind nokey +forward" "whatever 1 2 3" ";;" "load_map nowhere.map"
  "load_map $WORK/cut.map" "load_texture nowhere.tga" "load_texture $WORK/bad.tga"
  "load_texture $WORK/huge.tga" "load_texture" "play_wav nowhere.wav" "play_wav $WORK/bad.wav"
  "play_mp3 $WORK/bad.wav" "set_volume 70000" "set_fullscreen 1 2" "help;;about"
)
conversion=("set_fullscreen 7x 600 16" "fog pl abc" "set_windowed 640 4x0" "sensitivity 99999999999")
keys=(w a s d Left Right space)

alive() { kill -0 "$GAME_PID" 2>/dev/null || fail "the game died"; }

# type_line TEXT: the console up, TEXT typed and entered.
type_line() {
  open_console "$main" "$con"
  xdotool type --delay 25 -- "$1"
  press "$con" Return
}

actions=0
act() {  # act KIND [ARG]
  alive
  case "$1" in
    line) type_line "$2"; close_console "$con" ;;
    error)
      # A line that failed to convert stays in the editor, as it does for a user, who then
      # mends it: here it is erased, so the next line is not typed onto its end.
      type_line "$2"; dismiss_box
      is_viewable "$con" || open_console "$main" "$con"
      focus "$con"; xdotool key --repeat "${#2}" --delay 10 BackSpace
      close_console "$con" ;;
    hold)
      focus "$main"
      xdotool keydown "$2"
      sleep "0.$((RANDOM % 9 + 1))"
      xdotool keyup "$2"
      ;;
  esac
  actions=$((actions + 1))
}

random_action() {
  local r=$((RANDOM % 100))
  if [ $r -lt 40 ]; then act line "${valid[RANDOM % ${#valid[@]}]}"
  elif [ $r -lt 60 ]; then act line "${invalid[RANDOM % ${#invalid[@]}]}"
  elif [ $r -lt 68 ]; then act error "${conversion[RANDOM % ${#conversion[@]}]}"
  else act hold "${keys[RANDOM % ${#keys[@]}]}"
  fi
}

echo "soak: $minutes min, seed $seed, display $DISPLAY, game $TAM_BUILD_DIR/game/tamberlo"
start_and_wait
sleep 1
# Every line once, so that every texture, map and sound the mix can name is loaded before the
# memory is watched.
for line in "${valid[@]}" "${invalid[@]}"; do act line "$line"; done
act error "${conversion[0]}"
act hold w
still_drawing "$main" "the game stopped drawing during the warm-up"

rss() { awk '/^VmRSS:/ {print $2}' "/proc/$GAME_PID/status" 2>/dev/null || true; }
samples=()
start=$SECONDS
next_sample=$start
next_draw=$((start + 30))
end=$((start + minutes * 60))
while :; do
  now=$SECONDS
  if [ "$now" -ge "$next_sample" ]; then
    alive
    samples+=("$(rss)")
    next_sample=$((next_sample + 10))
  fi
  [ "$now" -ge "$end" ] && break
  if [ "$now" -ge "$next_draw" ]; then
    still_drawing "$main" "the game stopped drawing after $actions actions"
    next_draw=$((now + 30))
  fi
  random_action
done
still_drawing "$main" "the game stopped drawing after $actions actions"

# The RSS series, and the growth of the last third over what came before it.
n=${#samples[@]}
tail_from=$((n - n / 3))
[ "$tail_from" -lt "$n" ] || tail_from=$((n - 1))
# A run of a few minutes sees the allocator and the GL driver still settling (a few MiB in the
# first quarter hour), so it is allowed 8 MiB: it catches gross leaks, long runs the small ones.
floor=4096
[ "$minutes" -ge 5 ] || floor=8192
read -r early late lo hi tol < <(printf '%s\n' "${samples[@]}" | awk -v t="$tail_from" -v floor="$floor" '
  { v[NR - 1] = $1 }
  END {
    lo = hi = v[0]
    for (i = 0; i < NR; i++) {
      if (v[i] < lo) lo = v[i]; if (v[i] > hi) hi = v[i]
      if (i < t) { if (v[i] > early) early = v[i] } else { if (v[i] > late) late = v[i] }
    }
    tol = early * 0.03; if (tol < floor) tol = floor
    print early, late, lo, hi, int(tol)
  }')
mib() { awk -v k="$1" 'BEGIN{printf "%.1f", k / 1024}'; }
printf 'soak: RSS every 10 s (MiB):'
for s in "${samples[@]}"; do printf ' %s' "$(mib "$s")"; done
echo
echo "soak: RSS min $(mib "$lo"), max $(mib "$hi"), first $(mib "${samples[0]}"), last $(mib "${samples[n - 1]}");" \
  "highest before the last third $(mib "$early"), in it $(mib "$late") (tolerance $(mib "$tol"))"
[ $((late - early)) -le "$tol" ] || fail "RSS still grows over the last third: $(mib "$early") -> $(mib "$late") MiB"

close_window "$main"
wait_exit
[ "$GAME_RC" = 0 ] || fail "closing the game ended with status $GAME_RC"
echo "soak: ok ($minutes min, $actions actions, seed $seed)"
