#!/usr/bin/env bash
# Runs the whole test suite from scratch:
#   1. the normal build and every test,
#   2. an AddressSanitizer/UndefinedBehaviorSanitizer build and every test,
#   3. a ThreadSanitizer build of the tests where threads meet (run control,
#      the target link, the debugging road),
#   4. the libFuzzer targets (clang), each for a bounded time.
# FUZZ_SECONDS sets the time per fuzz target (default 60).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
fuzz_seconds="${FUZZ_SECONDS:-60}"
logs="$(mktemp -d)"
trap 'rm -rf "$logs"' EXIT
# Tests that open windows run on a virtual screen of their own, 1280x1024,
# under a window manager as on a user's desktop.
run_tests() {
    "$root/tools/with-display.sh" "$@"
}

echo "== normal build and tests"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" --parallel "$jobs"
run_tests ctest --test-dir "$root/build" --output-on-failure --parallel "$jobs" | tee "$logs/normal.log"

echo "== sanitizer build and tests"
cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVEXA_ASAN=ON
cmake --build "$root/build-asan" --parallel "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    LSAN_OPTIONS=suppressions="$root/tools/lsan.supp":print_suppressions=0 \
    run_tests ctest --test-dir "$root/build-asan" --output-on-failure --parallel "$jobs" | tee "$logs/asan.log"

echo "== thread sanitizer build: run control, target link and road tests"
cmake -S "$root" -B "$root/build-tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVEXA_TSAN=ON \
    -DVEXA_BUILD_GUI=OFF
cmake --build "$root/build-tsan" --parallel "$jobs" \
    --target run_control_tests target_tests debug_road_tests
# Only the programs built above (the others are listed as _NOT_BUILT), once
# (the suites' second run with the adapter's latency adds no thread road).
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
    ctest --test-dir "$root/build-tsan" --output-on-failure --parallel "$jobs" \
    -E '_NOT_BUILT$|^latency16\.' | tee "$logs/tsan.log"

echo "== fuzz targets"
"$root/tools/fuzz.sh" "$fuzz_seconds" | tee "$logs/fuzz.log"

# One closing line for the whole run: every test of the three builds and every fuzz target.
total=$(grep -ho 'tests failed out of [0-9]*' "$logs/normal.log" "$logs/asan.log" "$logs/tsan.log" |
    awk '{s += $5} END {print s + 0}')
fuzzers=$(grep -c '^-- fuzz_' "$logs/fuzz.log" || true)
echo "tests: $((total + fuzzers)) passed, 0 failed"
