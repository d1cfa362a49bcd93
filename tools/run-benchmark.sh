#!/bin/bash
# Builds what the benchmark needs and runs it under Wine on a private Xvfb:
# the real gen_ondaria.dll in the stand-in host, on the build's list of 4096
# stations. Arguments go to the benchmark:
#   tools/run-benchmark.sh [--rounds N] [--dll FILE.dll]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ONDARIA_BUILD:-$root/build}"

"$root/tools/setup-machine.sh"
cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build/native" --target benchmark_list
cmake -S "$root" -B "$build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNATIVE_BUILD_DIR="$build/native" \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build/win32" --target plugin_benchmark gen_ondaria

source "$root/tools/wine-env.sh"
if ! ondaria_wine_can_run; then
    echo "run-benchmark: this kernel does not run 32-bit programs, so Wine cannot start here" >&2
    exit 1
fi
trap ondaria_wine_stop EXIT
ondaria_wine_start 1
# The one list that the native build made there (its name is set in benchmark_list.cmake).
list_file="$(ls "$build"/native/benchmark/stations-*.rtv | head -n 1)"
list="$(winepath -w "$list_file")"
out="$(mktemp)"
# Through a file: Wine's background processes would hold a pipe open.
# A DLL named on the command line is a path of this machine: Wine is given its own.
args=()
while [ $# -gt 0 ]; do
    if [ "$1" = --dll ] && [ $# -gt 1 ]; then args+=(--dll "$(winepath -w "$2")"); shift 2
    else args+=("$1"); shift; fi
done
# The loopback stream farm for the check of the streams, stopped on the way out.
farm_ports=16
farm_state="$build/benchmark-farm"
sh "$root/tests/servers/standin_control.sh" start "$farm_state" "$root/tests/servers/stream_farm.py" --ports $farm_ports
trap 'sh "$root/tests/servers/standin_control.sh" stop "$farm_state"; ondaria_wine_stop' EXIT
farm=(--farm "$(cat "$farm_state/port")" --farm-ports $farm_ports
      --refused "$(sed -n 's/^refused //p' "$farm_state/output")")
status=0
wine "$build/win32/plugin_benchmark.exe" --list "$list" "${farm[@]}" "${args[@]}" >"$out" 2>&1 || status=$?
grep -av ':fixme:' "$out" || true
rm -f "$out"
exit $status
