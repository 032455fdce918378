#!/usr/bin/env bash
# Installs the Debian 12 packages Tamberlo needs that are missing, and says which.
#   scripts/deps.sh demo   what building and running the demo, and making its package, needs
#   scripts/deps.sh test   that, plus what the test suite needs
# Idempotent: packages already installed are left alone.
set -euo pipefail

demo_pkgs=(
  cmake ninja-build g++ pkg-config
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev
  libgl-dev libglu1-mesa-dev freeglut3-dev libgl1-mesa-dri
  libmp3lame-dev libfontconfig-dev libstb-dev
  fonts-dejavu-core freepats
  xfonts-base  # X core fonts: without them SDL's X11 message box cannot open
  dpkg-dev file
)
test_pkgs=(
  googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool x11-utils python3-xlib imagemagick tesseract-ocr tesseract-ocr-rus sox
  desktop-file-utils appstream lintian apitrace
  gdb  # a whole-program test that fails with the game still running prints where it is
)

want=("${demo_pkgs[@]}")
[ "${1:-demo}" = test ] && want+=("${test_pkgs[@]}")

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "deps: everything needed is installed"
  exit 0
fi
echo "deps: installing ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
