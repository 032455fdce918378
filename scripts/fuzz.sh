#!/usr/bin/env bash
# Runs one libFuzzer target for a while, as scripts/test.sh does for its short runs:
#   scripts/fuzz.sh [--merge] TARGET SECONDS [RUNS]
# TARGET is a fuzz/<name>.cpp without its extension (tga, bmp, pcx, md2, map, commands, demo). It
# builds the fuzz tree (build-fuzz, clang with AddressSanitizer and UndefinedBehaviorSanitizer)
# when needed, then fuzzes for SECONDS, or until RUNS executions when that comes first, starting
# from fuzz/corpus/TARGET in a working copy (build-fuzz/corpus-TARGET) that grows between runs.
# With --merge, the inputs of the run that reach code the corpus does not are merged (-merge=1,
# edges only, the shortest input for each) into fuzz/corpus/TARGET, which so stays small. A crash fails the script and keeps the input in
# build-fuzz/TARGET-crash-*. Ends with one line "fuzz TARGET: ok (N runs, E exec/s)".
set -euo pipefail
cd "$(dirname "$0")/.."

merge=0
if [ "${1:-}" = --merge ]; then merge=1; shift; fi
if [ $# -lt 2 ] || [ ! -e "fuzz/$1.cpp" ]; then
  echo "usage: scripts/fuzz.sh [--merge] TARGET SECONDS [RUNS]   (TARGET: $(ls fuzz/*.cpp | xargs -n1 basename | sed 's/\.cpp$//' | tr '\n' ' '))" >&2
  exit 2
fi
name=$1
seconds=$2
runs=${3:--1}
bin="build-fuzz/fuzz_$name"
# Per-target limits. Command lines: 512 bytes, up to 256 commands a line; every command may print
# and redraw the console, so longer lines only repeat that work (lines of 100 KB have unit tests).
limits=()
case $name in
  commands) limits=(-max_len=512) ;;
esac

if [ ! -f build-fuzz/build.ninja ]; then
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DTAM_FUZZ=ON -DTAM_SANITIZE=ON -DTAM_TESTS=OFF -DTAM_BENCH=OFF >/dev/null
fi
cmake --build build-fuzz --target "fuzz_$name" >/dev/null

work="build-fuzz/corpus-$name"
mkdir -p "$work"
[ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$work/"
log="build-fuzz/$name.log"
if ! "$bin" "${limits[@]}" -max_total_time="$seconds" -runs="$runs" -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="build-fuzz/$name-" "$work" >"$log" 2>&1; then
  echo "fuzz $name: FAILED"
  tail -n 40 "$log"
  exit 1
fi
final_stat() { grep -Eo "stat::$1: *[0-9]+" "$log" | grep -Eo '[0-9]+$' || echo '?'; }
echo "fuzz $name: ok ($(final_stat number_of_executed_units) runs, $(final_stat average_exec_per_sec) exec/s)"

if [ "$merge" = 1 ]; then
  mkdir -p "fuzz/corpus/$name"
  before=$(ls "fuzz/corpus/$name" | wc -l)
  "$bin" -merge=1 -use_counters=0 -rss_limit_mb=2048 "fuzz/corpus/$name" "$work" \
    >"build-fuzz/$name-merge.log" 2>&1
  echo "fuzz $name: corpus $before -> $(ls "fuzz/corpus/$name" | wc -l) files," \
    "$(cat "fuzz/corpus/$name"/* | wc -c) bytes"
fi
