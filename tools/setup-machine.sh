#!/bin/bash
# Installs what building and testing need on a Debian machine; skips what is there.
set -euo pipefail

packages=(g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 xvfb xauth cmake ninja-build
          g++ googletest libgtest-dev fonts-wine fonts-liberation imagemagick python3
          python3-capstone clang libstb-dev nlohmann-json3-dev nsis zip unzip)
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    if ! dpkg --print-foreign-architectures | grep -qx i386; then $SUDO dpkg --add-architecture i386; fi
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
fi

# A kernel booted without 32-bit emulation runs 32-bit Wine under qemu-i386,
# with the 64-bit wineserver (tools/wine-env.sh).
if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] || ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    emulation=()
    for p in qemu-user-static wine64; do dpkg -s "$p" >/dev/null 2>&1 || emulation+=("$p"); done
    if [ ${#emulation[@]} -gt 0 ]; then
        echo "setup: this kernel runs no 32-bit programs; installing ${emulation[*]}"
        SUDO=""
        [ "$(id -u)" -eq 0 ] || SUDO=sudo
        DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${emulation[@]}" </dev/null
    fi
fi
