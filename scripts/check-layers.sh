#!/usr/bin/env bash
# Checks that the folders under src/ form the stack drawn in the README's Layout section: every
# `#include "folder/..."` must name the file's own folder or one on a lower line of the diagram.
# An include that climbs the stack or crosses to a folder on the same line fails with the file
# and line; so does a folder under src/ that the diagram leaves out, or one it names that is gone.
# Usage: scripts/check-layers.sh [REPOSITORY_ROOT]
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"

# The diagram: the fenced block after the "layers" marker, top line first. Every lower-case word
# on a line names a folder; anything else (arrows) is drawing.
order=$(awk '
  /<!-- layers/ { marker = 1; next }
  marker && /^```/ { if (inside) exit; inside = 1; next }
  inside {
    words = ""
    for (i = 1; i <= NF; i++) if ($i ~ /^[a-z_]+$/) words = words " " $i
    if (words != "") print substr(words, 2)
  }' README.md)
if [ -z "$order" ]; then
  echo "check-layers: no layer diagram (a \"<!-- layers\" marker and a fenced block) in README.md" >&2
  exit 1
fi

folders=$(find src -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | sort)

mapfile -t files < <(find src -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
awk -v order="$order" \
  -v folders="$folders" '
  BEGIN {
    n = split(order, lines, "\n")
    for (i = 1; i <= n; i++) {
      m = split(lines[i], names, " ")
      for (j = 1; j <= m; j++) {
        if (names[j] in level) { printf "README.md: folder %s drawn twice\n", names[j]; bad = 1 }
        level[names[j]] = n - i  # the bottom line is level 0
      }
    }
    m = split(folders, present, "\n")
    for (j = 1; j <= m; j++) {
      exists[present[j]] = 1
      if (!(present[j] in level)) {
        printf "src/%s: folder missing from the layer diagram in README.md\n", present[j]; bad = 1
      }
    }
    for (f in level)
      if (!(f in exists)) { printf "README.md: layer diagram names src/%s, which does not exist\n", f; bad = 1 }
  }
  FNR == 1 { split(FILENAME, parts, "/"); from = parts[2] }
  /^[ \t]*#[ \t]*include[ \t]*"[a-z_0-9]+\// {
    target = $0
    sub(/^[^"]*"/, "", target)
    header = target
    sub(/".*/, "", header)
    sub(/\/.*/, "", target)
    if (target == from) next
    edge[from " " target] = 1
    if (!(target in level)) {
      printf "%s:%d: includes %s from a folder missing from the layer diagram\n", FILENAME, FNR, header
      bad = 1
    } else if ((from in level) && level[target] >= level[from]) {
      printf "%s:%d: %s includes %s, which is %s it in the layer order (README.md, Layout)\n",
        FILENAME, FNR, from, header, level[target] == level[from] ? "beside" : "above"
      bad = 1
    }
  }
  END {
    count = 0
    for (e in edge) count++
    if (bad) exit 1
    printf "layers: %d include edges between folders, all downward\n", count
  }' "${files[@]}"
