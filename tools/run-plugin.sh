#!/bin/bash
# Runs the plugin in the stand-in host under Wine. Installs what it needs on a
# fresh Debian machine and builds first. With $DISPLAY set the host opens
# there and runs until its window is closed; without one it runs headless on
# a private Xvfb in Wine's virtual desktop, writes a screenshot after a few
# seconds and prints its path.
#   tools/run-plugin.sh [--exit-after MS] [--switch-skin N] [--screenshot FILE.png]
#   (headless default: 6000 ms; --switch-skin switches the host's skin halfway)
#
# Headless, the whole run is bounded (ONDARIA_RUN_SECONDS, 900 by default,
# set-up and build included): it never hangs, and a failure says what failed
# and exits non-zero.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ONDARIA_BUILD:-$root/build}"

exit_after=6000
host_extra=()
shot_png=""
while [ $# -gt 0 ]; do
    case "$1" in
        --exit-after) exit_after="$2"; shift 2 ;;
        --switch-skin) host_extra+=(--switch-skin "$2"); shift 2 ;;
        --screenshot) shot_png="$2"; shift 2 ;;
        *) echo "usage: tools/run-plugin.sh [--exit-after MS] [--switch-skin N] [--screenshot FILE.png]" >&2; exit 2 ;;
    esac
done

# The headless run bounds itself as a whole: started again under a time limit.
if [ -z "${DISPLAY:-}" ] && [ -z "${ONDARIA_RUN_BOUNDED:-}" ]; then
    limit="${ONDARIA_RUN_SECONDS:-900}"
    ONDARIA_RUN_BOUNDED=1 timeout -k 10 "$limit" "$0" "$@" && exit 0
    status=$?
    [ "$status" = 124 ] && echo "run-plugin: FAILED: the run took over $limit s and was stopped" >&2
    exit "$status"
fi

"$root/tools/setup-machine.sh" || { echo "run-plugin: FAILED: the machine set-up (see above)" >&2; exit 1; }
# Only what a run needs: the DLL, the host, the readme, the sample list and the skins.
cmake -S "$root" -B "$build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build/win32" --target gen_ondaria ondaria_host readme_file
cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build/native" --target sample_list skin_generator

headless=1
[ -n "${DISPLAY:-}" ] && headless=0
source "$root/tools/wine-env.sh"
if ! ondaria_wine_can_run; then
    echo "run-plugin: this kernel does not run 32-bit programs, so Wine cannot start the host here" >&2
    exit 1
fi
trap ondaria_wine_stop EXIT
ondaria_wine_start "$headless" || { echo "run-plugin: FAILED: Wine could not be started (see above)" >&2; exit 1; }

# The host's settings folder; the plugin keeps its files in plugins\gen_ondaria\ under it.
settings="$build/host-settings"
mkdir -p "$settings/plugins/gen_ondaria" "$settings/skins"
settings_win="$(winepath -w "$settings")"

cp "$build/win32/gen_ondaria.dll" "$settings/plugins/gen_ondaria.dll"
sample="$build/native/sample/Ondaria.rtv"
if [ -f "$settings/plugins/gen_ondaria/Ondaria.rtv" ]; then
    :  # the user's own list stays
elif [ -f "$sample" ]; then
    cp "$sample" "$settings/plugins/gen_ondaria/Ondaria.rtv"
    echo "run-plugin: installed the sample list Ondaria.rtv"
else
    echo "run-plugin: note: no sample list at $sample; the plugin starts with an empty list"
fi

readme="$build/win32/readme.txt"
if [ -f "$settings/plugins/gen_ondaria/readme.txt" ]; then
    :  # a readme already there stays
elif [ -f "$readme" ]; then
    cp "$readme" "$settings/plugins/gen_ondaria/readme.txt"
    echo "run-plugin: installed readme.txt"
fi

"$build/native/skin_generator" "$settings/skins" >/dev/null
skins=(--skin "$(winepath -w "$settings/skins/skin_blue.bmp")" --skin "$(winepath -w "$settings/skins/skin_amber.bmp")")
host_exe="$(winepath -w "$build/win32/ondaria_host.exe")"
host_log="$build/host-run.log"

if [ "$headless" = 0 ]; then
    echo "run-plugin: starting the host on $DISPLAY; it runs until its main window is closed"
    # Straight to the terminal: Wine's background processes would hold a pipe open.
    wine "$host_exe" --settings "$settings_win" "${skins[@]}"
    exit 0
fi

shot_bmp="$build/host-screenshot.bmp"
rm -f "$shot_bmp"
echo "run-plugin: headless run on $DISPLAY for $exit_after ms (log: $host_log)"
# Output through a file: Wine's background processes would hold a pipe open.
# Wine's virtual desktop keeps the run to one X window; under emulation its
# X11 driver loses a race making it ("BadWindow"), so there the host's own
# windows go straight onto the private Xvfb.
desktop=(explorer /desktop=ondaria,1280x1024)
[ "${ondaria_wine_via_qemu:-0}" = 1 ] && desktop=()
# The host ends itself after --exit-after; a host that hangs is stopped.
host_seconds=$(( exit_after / 1000 + ${ONDARIA_HOST_SLACK_SECONDS:-240} ))
timeout -k 10 "$host_seconds" wine "${desktop[@]}" "$host_exe" --settings "$settings_win" "${skins[@]}" \
    --screenshot "$(winepath -w "$shot_bmp")" --exit-after "$exit_after" "${host_extra[@]}" >"$host_log" 2>&1 || true
# explorer may return before the host has finished.
for _ in $(seq 300); do grep -q '^host: exiting\|^standin host: ' "$host_log" 2>/dev/null && break; sleep 0.1; done
grep '^host: \|^standin host: ' "$host_log" || true
status=0
if [ ! -f "$shot_bmp" ]; then
    echo "run-plugin: no screenshot was written" >&2
    status=1
else
    shot="$shot_bmp"
    png="${shot_png:-$build/host-screenshot.png}"
    if command -v convert >/dev/null 2>&1 && convert "$shot_bmp" "$png" 2>/dev/null; then
        shot="$png"
    fi
    echo "run-plugin: screenshot: $shot"
fi
if grep -q '^standin host: code of the unloaded plugin' "$host_log"; then
    echo "run-plugin: the plugin left code in use after it was unloaded (see above)" >&2
    status=1
elif ! grep -q '^host: exiting' "$host_log"; then
    echo "run-plugin: the host did not end cleanly (see $host_log)" >&2
    status=1
fi
exit $status
