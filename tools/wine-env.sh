# Sourced: a Wine prefix inside the build folder and a private headless X server.
# Defines ondaria_wine_start and ondaria_wine_stop.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ONDARIA_BUILD:-$root/build}"
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win32

ondaria_xvfb_pid=""

# Wine here is the 32-bit one; some kernels are booted without 32-bit
# emulation ("32-bit emulation disabled" in the kernel log), and then no
# Windows program can run at all.
ondaria_wine_can_run() {
    wine --version >/dev/null 2>&1
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
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w
    fi
    # Without a window manager, windows that Wine leaves to one are slow to
    # activate (a message box took two seconds); Wine manages them itself.
    if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
        wineserver -w
    fi
    # The panel's fonts are Arial: the metric-compatible Liberation Sans stands in.
    if ! grep -q '"Arial"="Liberation Sans"' "$WINEPREFIX/user.reg" 2>/dev/null; then
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d 'Liberation Sans' /f >/dev/null 2>&1 || true
        wineserver -w
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
    wineserver -p
}

ondaria_wine_stop() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$ondaria_xvfb_pid" ]; then kill "$ondaria_xvfb_pid" 2>/dev/null || true; wait "$ondaria_xvfb_pid" 2>/dev/null || true; fi
}
