# Sourced: a Wine prefix inside the build folder and a private headless X server.
# Defines ondaria_wine_start and ondaria_wine_stop.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ONDARIA_BUILD:-$root/build}"
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win32

ondaria_xvfb_pid=""
ondaria_prefix_seconds=120

ondaria_wine_via_qemu=0

# Wine here is the 32-bit one. Some kernels are booted without 32-bit
# emulation ("32-bit emulation disabled" in the kernel log): there, 32-bit
# Wine runs under qemu-i386 instead (tools/wine-on-qemu).
ondaria_wine_can_run() {
    if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
        return 0
    fi
    ondaria_wine_use_qemu
}

ondaria_wine_use_qemu() {
    [ -x /usr/bin/qemu-i386-static ] && [ -x /usr/lib/wine/wineserver64 ] || return 1
    local binfmt=/proc/sys/fs/binfmt_misc
    if [ ! -e "$binfmt/qemu-i386" ]; then
        [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || return 1
        # 32-bit x86 executables go to qemu; F opens the emulator now, for every namespace.
        echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
            >"$binfmt/register" 2>/dev/null || return 1
    fi
    # The shim goes into every 32-bit process; a 64-bit one that inherits
    # the variable (the wineserver) finds an empty library of its own class.
    local shim="$build/wine-on-qemu"
    local source="$root/tools/wine-on-qemu/map_fixed_noreplace.c"
    if [ ! -f "$shim/lib/i386-linux-gnu/map_fixed_noreplace.so" ] || [ "$source" -nt "$shim/lib/i386-linux-gnu/map_fixed_noreplace.so" ]; then
        mkdir -p "$shim/lib/i386-linux-gnu" "$shim/lib/x86_64-linux-gnu"
        gcc -m32 -O2 -fPIC -shared -nostdlib -o "$shim/lib/i386-linux-gnu/map_fixed_noreplace.so" "$source" || return 1
        echo 'void map_fixed_noreplace_unused(void) {}' | gcc -x c -shared -fPIC -o "$shim/lib/x86_64-linux-gnu/map_fixed_noreplace.so" - || return 1
    fi
    export QEMU_SET_ENV="LD_PRELOAD=$shim/\$LIB/map_fixed_noreplace.so"
    export WINESERVER=/usr/lib/wine/wineserver64
    # Wine's debugger cannot read an emulated process: a crash just ends it.
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winedbg.exe=d"
    ondaria_wine_via_qemu=1
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Every Wine step is bounded: under emulation the wine server now and then
# dies or hangs ("wineserver crashed"), and an untimed wait would wait for ever.
ondaria_wine_step_seconds="${ONDARIA_WINE_STEP_SECONDS:-60}"

# A Wine command with a time limit; false (and a line saying so) when it fails.
ondaria_wine_bounded() {
    local seconds="$1"; shift
    timeout -k 5 "$seconds" "$@" >/dev/null 2>&1 && return 0
    echo "wine-env: '$*' failed or took over $seconds s" >&2
    return 1
}

# Makes the prefix and sets it up; false when any step fails.
ondaria_wine_make_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        ondaria_wine_bounded "$ondaria_prefix_seconds" wineboot -i || true
        ondaria_wine_bounded "$ondaria_prefix_seconds" wineserver -w || return 1
        [ -f "$WINEPREFIX/system.reg" ] || return 1
    fi
    # Without a window manager, windows that Wine leaves to one are slow to
    # activate (a message box took two seconds); Wine manages them itself.
    if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
        ondaria_wine_bounded "$ondaria_wine_step_seconds" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f || return 1
        ondaria_wine_bounded "$ondaria_wine_step_seconds" wineserver -w || return 1
    fi
    # The panel's fonts are Arial: the metric-compatible Liberation Sans stands in.
    if ! grep -q '"Arial"="Liberation Sans"' "$WINEPREFIX/user.reg" 2>/dev/null; then
        ondaria_wine_bounded "$ondaria_wine_step_seconds" wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d 'Liberation Sans' /f || return 1
        ondaria_wine_bounded "$ondaria_wine_step_seconds" wineserver -w || return 1
    fi
    grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null &&
        grep -q '"Arial"="Liberation Sans"' "$WINEPREFIX/user.reg" 2>/dev/null
}

ondaria_wine_start() {
    local headless="${1:-1}"
    if [ "$headless" = 1 ] || [ -z "${DISPLAY:-}" ]; then
        local n=90
        while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        ondaria_xvfb_pid=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    fi
    # Making the prefix takes under a minute; under emulation it now and then
    # hangs or its server dies, so each try is bounded and a failed one
    # starts over from nothing.
    local try made=0
    for try in 1 2 3; do
        if ondaria_wine_make_prefix; then
            made=1
            break
        fi
        echo "wine-env: making the Wine prefix did not finish (try $try); starting over" >&2
        timeout -k 5 30 wineserver -k >/dev/null 2>&1 || true
        rm -rf "$WINEPREFIX"
    done
    if [ "$made" != 1 ]; then
        echo "wine-env: FAILED: the Wine prefix could not be made in 3 tries" >&2
        return 1
    fi
    # Caption buttons and frame-control glyphs need Marlett in the prefix, and
    # the dialogs, laid out for MS Sans Serif, need it too: Wine's own copies.
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    local font
    for font in marlett.ttf ms_sans_serif.ttf sserife.fon; do
        if [ -d "$fonts" ] && [ ! -f "$fonts/$font" ] && [ -f "/usr/share/wine/fonts/$font" ]; then
            cp "/usr/share/wine/fonts/$font" "$fonts/"
        fi
    done
    # The persistent server, for the run; its start is bounded too.
    timeout -k 5 "$ondaria_wine_step_seconds" wineserver -p >/dev/null 2>&1 || {
        echo "wine-env: FAILED: the wine server did not start" >&2
        return 1
    }
}

ondaria_wine_stop() {
    timeout -k 5 30 wineserver -k >/dev/null 2>&1 || true
    if [ -n "$ondaria_xvfb_pid" ]; then kill "$ondaria_xvfb_pid" 2>/dev/null || true; wait "$ondaria_xvfb_pid" 2>/dev/null || true; fi
}
