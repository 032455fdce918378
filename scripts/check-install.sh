#!/usr/bin/env bash
# Checks Tamberlo as it is installed, from a built folder (default build-test):
#   - cmake --install into a DESTDIR: the expected files, nothing outside the prefix, the desktop
#     entry and the AppStream metadata valid;
#   - --help and --version of both programs without a display, other arguments still warned of;
#   - the installed game, started from another folder, finds its data and draws the textured
#     arena, with its icon on the window;
#   - cpack makes a Debian package that lintian passes without errors, holding the data; its
#     programs run, and its game started from /usr/games loads the arena.
# Needs a display for the arena (starts Xvfb when DISPLAY is unset). Ends with one line
# "check-install: N passed, N failed"; the exit status is 1 when any check failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build-test}" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
check() {  # check NAME COMMAND...: runs the command, counts and reports the result
  local name=$1 out
  shift
  if out=$("$@" 2>&1); then
    passed=$((passed + 1))
    echo "ok: $name"
  else
    failed=$((failed + 1))
    echo "FAILED: $name"
    sed 's/^/    /' <<<"$out" | tail -n 30
  fi
}

dest=$work/dest
prefix=/usr
installed() {
  DESTDIR=$dest cmake --install "$build" --prefix "$prefix" >/dev/null || return 1
  local f missing=0
  for f in bin/tamberlo bin/tamasset share/tamberlo/Data/Maps/isengard.map \
    share/tamberlo/Data/Demos/tour.dem \
    share/tamberlo/Data/Icon/tamberlo.tga share/applications/tamberlo.desktop \
    share/icons/hicolor/{48x48,128x128,256x256}/apps/tamberlo.png \
    share/metainfo/org.example.tamberlo.metainfo.xml share/man/man6/tamberlo.6.gz \
    share/man/man1/tamasset.1.gz share/doc/tamberlo/LICENSE share/doc/tamberlo/README.md; do
    [ -e "$dest$prefix/$f" ] || { echo "missing: $prefix/$f"; missing=1; }
  done
  return $missing
}
inside_prefix() {
  local outside
  outside=$(find "$dest" -mindepth 1 -not -path "$dest$prefix" -not -path "$dest$prefix/*" \
    -not -path "$dest${prefix%/*}")
  [ -z "$outside" ] || { echo "outside $prefix: $outside"; return 1; }
}
check "install into a DESTDIR" installed
check "nothing installed outside the prefix" inside_prefix
check "desktop entry valid" desktop-file-validate "$dest$prefix/share/applications/tamberlo.desktop"
check "AppStream metadata valid" appstreamcli validate --no-net --pedantic \
  "$dest$prefix/share/metainfo/org.example.tamberlo.metainfo.xml"

# --help and --version print and exit 0 with no display; any other argument is warned of and the
# game goes on to start (here it then finds no display).
informs() {  # informs PROGRAM ARG PATTERN
  local out
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$1" "$2") || { echo "exit status $?"; return 1; }
  grep -Eq "$3" <<<"$out" || { echo "printed: $out"; return 1; }
}
bin=$dest$prefix/bin
check "tamberlo --help" informs "$bin/tamberlo" --help '^Usage: tamberlo \[--help \| --version\]'
check "tamberlo --version" informs "$bin/tamberlo" --version "^tamberlo $version\$"
check "tamasset -h" informs "$bin/tamasset" -h '^usage: tamasset COMMAND'
check "tamasset --help" informs "$bin/tamasset" --help '^  map compile'
check "tamasset --version" informs "$bin/tamasset" --version "^tamasset $version\$"
other_argument() {
  local out
  out=$(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY "$bin/tamberlo" --bogus 2>&1) && return 1
  grep -q 'takes no arguments; ignoring "--bogus"' <<<"$out" &&
    grep -q 'cannot open the display' <<<"$out" || { echo "$out"; return 1; }
}
check "tamberlo with another argument warns and starts" other_argument

# The game GAME started from another folder: the textured arena (its walls come from the map)
# under the sky, and its icon.
arena() {
  (
    TAM_BUILD_DIR=$build
    source "$root/tests/e2e/lib.inc"
    GAME=$1
    start_and_wait
    sleep 1
    look_level "$main"
    shot "$main" "$WORK/arena.png"
    read -r _ _ w h < <(geometry "$main")
    walls=$(count_colours "$WORK/arena.png" "$SKY || $GRASS")
    [ "$walls" -gt 1000 ] || fail "walls look untextured ($walls colours besides the sky and the grass)"
    [ "$(blue_share "$WORK/arena.png" "${w}x$((h / 8))+0+0")" -gt 20 ] || fail "no sky"
    # Read whole first: grep -q stops early, and xprop's SIGPIPE would fail the pipeline.
    icon=$(xprop -id "$main" _NET_WM_ICON)
    grep -q 'Icon (64 x 64)' <<<"$icon" || fail "no window icon"
    press "$main" Escape
    wait_exit
    [ "$GAME_RC" = 0 ] || fail "Escape ended the game with status $GAME_RC"
  )
}
check "installed game draws the textured arena" arena "$bin/tamberlo"

# One command measures the machine: the bundled demo, timed, prints its line and the game goes on.
timedemo() {
  (
    TAM_BUILD_DIR=$build
    source "$root/tests/e2e/lib.inc"
    GAME=$bin/tamberlo
    start_and_wait +timedemo tour
    until_ok 1200 0.1 grep -Eq '^timedemo tour: [0-9]+ frames, .* fps' "$WORK/stdout" ||
      fail "no timedemo line: $(cat "$WORK/stdout")"
    cat "$WORK/stdout"
    press "$main" Escape
    wait_exit
  )
}
check "installed game: tamberlo +timedemo tour" timedemo

# The Debian package.
deb=$work/deb
packaged() {
  cpack --config "$build/CPackConfig.cmake" -G DEB -B "$deb" >/dev/null || return 1
  lintian --fail-on error --no-tag-display-limit "$deb"/tamberlo_*.deb
}
check "Debian package made and passed by lintian" packaged
package_runs() {
  local listing
  listing=$(dpkg-deb -c "$deb"/tamberlo_*.deb) || return 1
  grep -q ' \./usr/share/tamberlo/Data/Maps/isengard\.map$' <<<"$listing" ||
    { echo "the package holds no Data/Maps/isengard.map"; return 1; }
  dpkg-deb -x "$deb"/tamberlo_*.deb "$work/unpacked" &&
    informs "$work/unpacked/usr/games/tamberlo" --version "^tamberlo $version\$" &&
    informs "$work/unpacked/usr/games/tamasset" --version "^tamasset $version\$" &&
    [ -s "$work/unpacked/usr/share/tamberlo/Data/Demos/tour.dem" ] &&
    dpkg-deb -f "$deb"/tamberlo_*.deb Depends | grep -q 'fonts-dejavu-core, freepats, .*libsdl2'
}
check "packaged programs run and depend on their libraries" package_runs
check "packaged game in /usr/games loads its map and draws the arena" arena \
  "$work/unpacked/usr/games/tamberlo"

echo "check-install: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
