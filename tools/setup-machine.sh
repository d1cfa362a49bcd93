#!/bin/bash
# Installs what building and testing need on a Debian machine; skips what is there.
#
# The package mirror is not always consistent: an index may come back with
# the wrong size (apt-get update then exits 100), or the amd64 and i386
# builds of a shared library may differ between the release and its
# security suite (apt then refuses wine32:i386). Neither stops the set-up:
# a failed update is reported and tried once more, and an install that apt
# refuses is tried again with the release's own versions for the i386 set.
# tests/check_setup_machine.sh runs this script against such a mirror.
set -uo pipefail

# Both may be replaced by the test of this script.
APT_GET="${ONDARIA_APT_GET:-apt-get}"
DPKG="${ONDARIA_DPKG:-dpkg}"
update_retry_seconds="${ONDARIA_APT_RETRY_SECONDS:-5}"

packages=(g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 xvfb xauth cmake ninja-build
          g++ googletest libgtest-dev fonts-wine fonts-liberation imagemagick python3
          python3-capstone clang libstb-dev nlohmann-json3-dev nsis zip unzip
          icecast2 ezstream lame vorbis-tools)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo

missing_of() {
    local p
    for p in "$@"; do "$DPKG" -s "$p" >/dev/null 2>&1 || echo "$p"; done
}

# An update that fails in part still leaves usable indexes: warn, try once
# more, and go on with what was had.
update_indexes() {
    $SUDO "$APT_GET" update -q && return 0
    echo "setup: warning: apt-get update failed (an index of the mirror may be out of step); trying once more" >&2
    sleep "$update_retry_seconds"
    $SUDO "$APT_GET" update -q && return 0
    echo "setup: warning: apt-get update failed again; installing from the indexes that did arrive" >&2
    return 0
}

install_packages() {
    DEBIAN_FRONTEND=noninteractive $SUDO "$APT_GET" install -y -q --no-install-recommends "$@" </dev/null && return 0
    # The security suite may hold a library for one architecture only; the
    # release's own suite has both at one version.
    local release
    release="$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")"
    [ -n "$release" ] || return 1
    echo "setup: warning: the install was refused; trying again with the versions of '$release' alone" >&2
    DEBIAN_FRONTEND=noninteractive $SUDO "$APT_GET" install -y -q --no-install-recommends -t "$release" "$@" </dev/null
}

mapfile -t missing < <(missing_of "${packages[@]}")
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    if ! "$DPKG" --print-foreign-architectures | grep -qx i386; then $SUDO "$DPKG" --add-architecture i386; fi
    update_indexes
    install_packages "${missing[@]}" || { echo "setup: FAILED: could not install ${missing[*]}" >&2; exit 1; }
fi

# A kernel booted without 32-bit emulation runs 32-bit Wine under qemu-i386,
# with the 64-bit wineserver (tools/wine-env.sh).
if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] || ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    mapfile -t emulation < <(missing_of qemu-user-static wine64)
    if [ ${#emulation[@]} -gt 0 ]; then
        echo "setup: this kernel runs no 32-bit programs; installing ${emulation[*]}"
        install_packages "${emulation[@]}" || { echo "setup: FAILED: could not install ${emulation[*]}" >&2; exit 1; }
    fi
fi
exit 0
