#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time
# (first argument, seconds; default 60) on its seed corpus. Inputs from the
# real projects beside the repository join the seeds when they are present.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVEXA_FUZZ=ON -DVEXA_BUILD_TESTS=OFF -DVEXA_BUILD_GUI=OFF
cmake --build "$build" --parallel "$(nproc)"
fixtures="$root/../shared/fixtures/keil"
shopt -s nullglob
targets=("$build"/bin/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then
    echo "no fuzz targets built"
    exit 0
fi
for target in "${targets[@]}"; do
    name="$(basename "$target")"
    corpus_name="${name#fuzz_}"
    seeds="$root/fuzz/corpus/$corpus_name"
    work="$build/corpus/$corpus_name"
    mkdir -p "$work"
    [ -d "$seeds" ] && cp -n "$seeds"/* "$work"/ 2>/dev/null || true
    # Seed from the real projects by file kind, when they are beside the repository.
    if [ -d "$fixtures" ] && [ -f "$root/fuzz/corpus/$corpus_name.globs" ]; then
        while read -r glob; do
            [ -z "$glob" ] && continue
            find "$fixtures" -iname "$glob" -size -2M -exec cp -n {} "$work"/ \; 2>/dev/null || true
        done < "$root/fuzz/corpus/$corpus_name.globs"
    fi
    echo "-- $name for ${seconds}s"
    log="$build/$name.log"
    # libFuzzer exits non-zero and writes the input to crash-*/leak-* files when it finds a fault.
    rc=0
    "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/$name-" "$work" >"$log" 2>&1 || rc=$?
    tail -n 8 "$log"
    if [ "$rc" -ne 0 ]; then
        echo "fuzz target $name failed (exit $rc); see $log"
        exit 1
    fi
done
echo "fuzz targets passed"
