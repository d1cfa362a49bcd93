#!/bin/bash
# Builds the fuzz harnesses (clang, libFuzzer, AddressSanitizer, UBSan) and
# runs each for a bounded time from its committed seed corpus. Findings make
# the run fail; the corpus grown on the way stays in build/fuzz/corpus.
#   tools/fuzz.sh [--seconds N] [HARNESS...]     (default 10 seconds each, every harness)
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ONDARIA_BUILD:-$root/build}/fuzz"

seconds=10
harnesses=()
while [ $# -gt 0 ]; do
    case "$1" in
        --seconds) seconds="$2"; shift 2 ;;
        -*) echo "usage: tools/fuzz.sh [--seconds N] [HARNESS...]" >&2; exit 2 ;;
        *) harnesses+=("$1"); shift ;;
    esac
done

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DONDARIA_FUZZ=ON >/dev/null || exit 1
cmake --build "$build" >/dev/null || { cmake --build "$build"; exit 1; }

if [ ${#harnesses[@]} -eq 0 ]; then
    for seeds in "$root"/tests/fuzz/corpus/*/; do harnesses+=("$(basename "$seeds")"); done
fi

passed=0
failed=0
for name in "${harnesses[@]}"; do
    corpus="$build/corpus/$name"
    mkdir -p "$corpus" "$build/findings/$name"
    cp -n "$root/tests/fuzz/corpus/$name/"* "$corpus/" 2>/dev/null
    log="$build/findings/$name/log.txt"
    if (cd "$build/findings/$name" && TMPDIR="$build/findings/$name" \
            "$build/${name}_fuzzer" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
            -print_final_stats=1 "$corpus" >"$log" 2>&1); then
        echo "fuzz $name: $(grep -o 'Done [0-9]* runs' "$log" | tail -1) in ${seconds} s, no finding"
        passed=$((passed + 1))
    else
        echo "fuzz $name: FAILED, see $log"
        grep -E "property broken|ERROR|SUMMARY" "$log" | head -5
        failed=$((failed + 1))
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
