#!/usr/bin/env bash
# Start-up time: the game's first presented frame against that of a bare SDL2 + OpenGL window
# (bench/bare_window.cpp) on the same X server, started alternately ROUNDS times each. Prints
# the medians of the wall time from launch to the first swap and of the CPU time the process
# has used by then, and the game's wall time as a multiple of the bare window's.
#   scripts/bench-startup.sh [BUILD_DIR] [ROUNDS]     (defaults: build, 15)
source "$(dirname "$0")/bench.inc"
ROUNDS=${2:-15}
BARE="$BUILD/tambarewindow"
own_xvfb

first_frame() {  # first_frame PROGRAM: runs it to its first frame; appends to $WORK/<name>
  local out="$WORK/probe"
  rm -f "$out"
  (cd "$WORK" && TAM_PROBE_T0=$EPOCHREALTIME TAM_PROBE_EXIT=1 TAM_PROBE_OUT="$out" \
     LD_PRELOAD="$PROBE" exec "${RT[@]}" "$1" >/dev/null 2>&1) || true
  [ -s "$out" ] || { echo "$1 presented no frame" >&2; exit 1; }
  echo "$(probe_value first_frame_ms "$out") $(probe_value first_frame_cpu_ms "$out")" \
    >>"$WORK/$(basename "$1")"
}

first_frame "$BARE" && first_frame "$GAME"  # warm the file cache
rm -f "$WORK/tambarewindow" "$WORK/tamberlo"
for _ in $(seq "$ROUNDS"); do
  first_frame "$BARE"
  first_frame "$GAME"
done
bare=$(cut -d' ' -f1 "$WORK/tambarewindow" | median)
game=$(cut -d' ' -f1 "$WORK/tamberlo" | median)
bare_cpu=$(cut -d' ' -f2 "$WORK/tambarewindow" | median)
game_cpu=$(cut -d' ' -f2 "$WORK/tamberlo" | median)
echo "$(load_line); $ROUNDS rounds, medians"
echo "rounds (game/bare ms): $(paste -d/ <(cut -d' ' -f1 "$WORK/tamberlo") <(cut -d' ' -f1 "$WORK/tambarewindow") | awk '{printf "%s ", $1}')"
printf 'bare window first frame  %8.1f ms  (CPU %6.1f ms)\n' "$bare" "$bare_cpu"
printf 'game first frame         %8.1f ms  (CPU %6.1f ms)\n' "$game" "$game_cpu"
awk -v g="$game" -v b="$bare" -v gc="$game_cpu" -v bc="$bare_cpu" \
  'BEGIN {printf "game / bare window      %8.2f x     (CPU %6.2f x)\n", g / b, gc / bc}'
