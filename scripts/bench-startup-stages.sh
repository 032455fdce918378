#!/usr/bin/env bash
# Start-up stages: where the time to the first presented frame goes. Runs the bare SDL2 + OpenGL
# window and the game ROUNDS times each (in turn, as bench-startup.sh does) with the swap probe
# noting their milestones, and prints for each milestone the median time since launch and the
# step from the one before: windows made, the GL context, every file read under Data/, the
# console face, the sound device, the first frame drawn and presented, and the time spent in
# gluBuild2DMipmaps.
#   scripts/bench-startup-stages.sh [BUILD_DIR] [ROUNDS]     (defaults: build, 15)
source "$(dirname "$0")/bench.inc"
ROUNDS=${2:-15}
BARE="$BUILD/tambarewindow"
own_xvfb

run() {  # run PROGRAM: one start to the first frame; appends its milestones to $WORK/<name>
  local out="$WORK/probe"
  rm -f "$out"
  (cd "$WORK" && TAM_PROBE_STAGES=1 TAM_PROBE_T0=$EPOCHREALTIME TAM_PROBE_EXIT=1 \
     TAM_PROBE_OUT="$out" LD_PRELOAD="$PROBE" exec "${RT[@]}" "$1" >/dev/null 2>&1) || true
  [ -s "$out" ] || { echo "$1 presented no frame" >&2; exit 1; }
  # "stage MS WHAT..." and "KEY VALUE" lines become "WHAT<tab>MS"; a repeated WHAT keeps its first.
  awk '$1 == "stage" {w = $3; for (i = 4; i <= NF; i++) w = w " " $i; if (!(w in seen)) {
         seen[w] = 1; print w "\t" $2}}
       $1 == "first_frame_ms" {print "first frame presented\t" $2}
       $1 == "stage_mipmaps_ms" {print "(in gluBuild2DMipmaps)\t" $2}' "$out" \
    >>"$WORK/$(basename "$1").stages"
}

report() {  # report NAME: medians in time order, with the step from the milestone before
  echo "== $1 (ms since launch, step)"
  awk -F'\t' '{print $1}' "$WORK/$1.stages" | awk '!seen[$0]++' | while IFS= read -r what; do
    printf '%s\t%s\n' "$(awk -F'\t' -v w="$what" '$1 == w {print $2}' "$WORK/$1.stages" | median)" \
      "$what"
  done | sort -g | awk -F'\t' '
    $2 ~ /^\(/ {if ($1 > 0) printf "           %7.1f  %s\n", $1, $2; next}
    {printf "%8.1f  +%6.1f  %s\n", $1, $1 - prev, $2; prev = $1}'
}

run "$BARE" && run "$GAME"  # warm the file cache
rm -f "$WORK"/*.stages
for _ in $(seq "$ROUNDS"); do
  run "$BARE"
  run "$GAME"
done
echo "$(load_line); $ROUNDS rounds, medians"
report tambarewindow
report tamberlo
