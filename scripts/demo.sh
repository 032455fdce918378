#!/usr/bin/env bash
# Installs what is missing, builds Tamberlo with its data, and runs the demo.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh demo
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAM_TESTS=OFF -DTAM_BENCH=OFF
cmake --build build-release
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "demo: no display here; the game is built at build-release/game/tamberlo"
  exit 0
fi
exec build-release/game/tamberlo
