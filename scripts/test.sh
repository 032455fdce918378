#!/usr/bin/env bash
# Installs what is missing, then builds (warnings are errors) and runs the whole test suite:
#   0. the layer check: no include under src/ climbs the stack drawn in the README,
#   1. unit and whole-program tests (the latter under Xvfb when there is no display), then the
#      installed form and the Debian package (scripts/check-install.sh),
#   2. a one-minute soak of the game (scripts/soak.sh),
#   3. the unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
#   4. short libFuzzer runs of every fuzz target (clang, scripts/fuzz.sh),
#   5. one quick pass of the benchmarks (a benchmark's error, or no benchmark program, fails).
# Ends with one line "tests: N passed, N failed".
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/deps.sh test

fuzz_seconds=${TAM_FUZZ_SECONDS:-20}
passed=0
failed=0
tally() {  # tally LOGFILE: adds ctest's counts, or one failure when ctest ran no test
  local line
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$1" | tail -n 1 || true)
  if [ -n "$line" ]; then
    local total bad
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  else
    failed=$((failed + 1))  # no tests ran
  fi
}

# A display for the whole-program tests.
xvfb_pid=""
cleanup() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 120); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      xvfb_pid=$!
      export DISPLAY=":$n"
      break
    fi
  done
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

status=0
echo "== layers"
if scripts/check-layers.sh; then
  passed=$((passed + 1))
else
  failed=$((failed + 1)); status=1
fi

echo "== build and test"
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAM_WERROR=ON >/dev/null
cmake --build build-test
# A failing test runs once more before it counts, because the game now and then does not end
# after its main window is asked to close under Xvfb (a fault still being chased: the failing
# test prints where the game's main thread is). Tests that ran a second time are named here and
# again above the tally, so the flake stays in sight.
ctest --test-dir build-test --output-on-failure --no-tests=error --repeat until-pass:2 -j2 2>&1 |
  tee build-test/ctest.log || status=1
tally build-test/ctest.log
second=$(sed -nE 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) .*\*\*\*Failed.*/\1/p' build-test/ctest.log |
  sort -u | tr '\n' ' ')
[ -z "$second" ] || echo "tests that failed and ran a second time: $second"
scripts/check-install.sh build-test 2>&1 | tee build-test/check-install.log || status=1
if line=$(grep -E '^check-install: [0-9]+ passed, [0-9]+ failed' build-test/check-install.log); then
  read -r _ ok _ bad _ <<<"$line"
  passed=$((passed + ok))
  failed=$((failed + bad))
else
  failed=$((failed + 1))
fi

echo "== soak (one minute)"
if TAM_BUILD_DIR=build-test scripts/soak.sh 1; then
  passed=$((passed + 1))
else
  failed=$((failed + 1)); status=1
fi

echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAM_SANITIZE=ON -DTAM_BENCH=OFF \
  -DTAM_WERROR=ON >/dev/null
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$root/tests/lsan.supp \
  ctest --test-dir build-asan --output-on-failure --no-tests=error -j2 -E '^e2e_' 2>&1 | tee build-asan/ctest.log || status=1
tally build-asan/ctest.log

echo "== fuzzing (${fuzz_seconds}s a target)"
targets=()
for src in fuzz/*.cpp; do
  [ -e "$src" ] || continue
  targets+=("fuzz_$(basename "$src" .cpp)")
done
if [ ${#targets[@]} -gt 0 ]; then
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DTAM_FUZZ=ON -DTAM_SANITIZE=ON -DTAM_TESTS=OFF -DTAM_BENCH=OFF -DTAM_WERROR=ON >/dev/null
  cmake --build build-fuzz --target "${targets[@]}"
  for t in "${targets[@]}"; do
    if scripts/fuzz.sh "${t#fuzz_}" "$fuzz_seconds"; then
      passed=$((passed + 1))
    else
      failed=$((failed + 1)); status=1
    fi
  done
fi

# A benchmark that reports an error still leaves the program's status 0: its JSON record counts.
echo "== benchmarks (one quick pass)"
if [ ! -x build-test/tambench ]; then
  echo "build-test/tambench was not built: is Google Benchmark (libbenchmark-dev) installed?"
  failed=$((failed + 1)); status=1
elif (cd build-test && ./tambench --benchmark_min_time=0.05 --benchmark_out=bench.json \
      --benchmark_out_format=json) &&
    python3 -c 'import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
bad = [r["name"] + ": " + r.get("error_message", "") for r in runs if r.get("error_occurred")]
for b in bad: print("benchmark error: " + b)
sys.exit(1 if bad or not runs else 0)' build-test/bench.json; then
  passed=$((passed + 1))
else
  failed=$((failed + 1)); status=1
fi

[ -z "$second" ] || echo "tests that failed and ran a second time: $second"
echo "tests: $passed passed, $failed failed"
exit $status
