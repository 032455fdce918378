#!/bin/bash
# The asset tool's map command: the start-up map's text compiles to the shipped binary, the
# binary's text compiles back to the same bytes, and a value out of range is refused with the
# file, line and field named; the plan of the arena has its first panel where the map says. Binary
# output goes to a pipe but never to a terminal.
set -euo pipefail
build=${TAM_BUILD_DIR:?}
src=${TAM_SOURCE_DIR:?}
tool=$build/tamasset
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*" >&2; exit 1; }

"$tool" map compile "$src/data/maps/isengard.txt" "$work/a.map"
cmp "$work/a.map" "$build/game/Data/Maps/isengard.map"
"$tool" map decompile "$work/a.map" "$work/b.txt"
"$tool" map compile "$work/b.txt" | cmp - "$work/a.map"
script -qec "'$tool' map compile '$work/b.txt'" /dev/null > "$work/tty.txt" &&
    fail "binary map written to a terminal"
grep -q "give the output file" "$work/tty.txt" || fail "no hint: $(cat "$work/tty.txt")"

printf 'name "bad"\nfloor 10 10\nbox 0 0 0 10 0 200 0 1 0 0\n' > "$work/bad.txt"
"$tool" map compile "$work/bad.txt" "$work/bad.map" 2> "$work/err.txt" &&
    fail "out-of-range z2 was accepted"
grep -q "bad.txt:3: box field 'z2': 200 is outside -128..127" "$work/err.txt" ||
    fail "unexpected message: $(cat "$work/err.txt")"
[ ! -e "$work/bad.map" ] || fail "a refused map was still written"
# The plan: the same picture from the text and the binary; the arena's first panel (-56,56 to
# -40,56, texture 0) in texture 0's colour at its middle, four pixels a unit from the centre.
"$tool" map plan "$src/data/maps/isengard.txt" "$work/text.png"
"$tool" map plan "$work/a.map" "$work/plan.png"
cmp "$work/text.png" "$work/plan.png"
for at in 320,288 288,288 351,288; do
  colour=$(convert "$work/plan.png" -format "%[pixel:p{$at}]" info:)
  [ "$colour" = "srgba(230,80,70,1)" ] || [ "$colour" = "srgb(230,80,70)" ] ||
    fail "plan pixel $at is $colour"
done
echo "map tool round trip OK"
