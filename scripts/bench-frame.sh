#!/usr/bin/env bash
# The frame's cost against a replay of its own GL calls. On an X server of its own, each round
#   1. runs the game and times frames WARMUP+1 .. WARMUP+FRAMES of the start-up view (the mouse
#      is not moved, so the view stays put) with the swap probe;
#   2. traces the game with apitrace up to frame TRACED, ended by the probe right after that
#      swap so that the trace's last frame is whole;
#   3. replays the trace with glretrace -b, looping its last frame LOOP and LOOP + FRAMES times:
#      the difference of the two run times is FRAMES frames of pure replay.
# Prints the medians of both frame rates and the game's frame time over the replay's: at most
# 1.05 means the game adds no more than 5% to the GL work of its frame.
#   scripts/bench-frame.sh [BUILD_DIR] [ROUNDS]     (defaults: build, 5)
source "$(dirname "$0")/bench.inc"
RT=()  # never at real-time priority: minutes of full load would starve the machine
ROUNDS=${2:-5}
WARMUP=60 FRAMES=600 TRACED=30 LOOP=20
for tool in apitrace glretrace; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: scripts/deps.sh test installs it" >&2; exit 1; }
done
own_xvfb

game_fps() {
  local out="$WORK/probe"
  rm -f "$out"
  (cd "$WORK" && TAM_PROBE_WARMUP=$WARMUP TAM_PROBE_FRAMES=$FRAMES TAM_PROBE_EXIT=$((WARMUP + FRAMES)) \
     TAM_PROBE_OUT="$out" LD_PRELOAD="$PROBE" exec "${RT[@]}" "$GAME" >/dev/null 2>&1) || true
  probe_value fps "$out"
}

trace_game() {
  rm -f "$WORK/frame.trace"
  (cd "$WORK" && TAM_PROBE_EXIT=$TRACED LD_PRELOAD="$PROBE" \
     exec apitrace trace --api gl -o "$WORK/frame.trace" "$GAME" >/dev/null 2>&1) || true
  [ -s "$WORK/frame.trace" ] || { echo "apitrace wrote no trace" >&2; exit 1; }
}

replay_seconds() {  # replay_seconds LOOPS: glretrace's own time for the whole replay
  "${RT[@]}" glretrace -b --loop="$1" "$WORK/frame.trace" 2>&1 |
    awk '/^Rendered/ {print $5}'
}

for _ in $(seq "$ROUNDS"); do
  game_fps >>"$WORK/game"
  trace_game
  short=$(replay_seconds $LOOP)
  long=$(replay_seconds $((LOOP + FRAMES)))
  awk -v s="$short" -v l="$long" -v n="$FRAMES" 'BEGIN {print n / (l - s)}' >>"$WORK/replay"
done
game=$(median <"$WORK/game")
replay=$(median <"$WORK/replay")
echo "$(load_line); $ROUNDS rounds, medians"
echo "rounds (game/replay fps): $(paste -d/ "$WORK/game" "$WORK/replay" | awk '{printf "%s ", $1}')"
printf 'game frame rate         %8.1f fps   (frames %d..%d of the start-up view)\n' "$game" \
  $((WARMUP + 1)) $((WARMUP + FRAMES))
printf 'replay frame rate       %8.1f fps   (its last frame looped %d times)\n' "$replay" "$FRAMES"
awk -v g="$game" -v r="$replay" \
  'BEGIN {printf "game / replay frame time %7.2f x   (at most 1.05 wanted)\n", r / g}'
