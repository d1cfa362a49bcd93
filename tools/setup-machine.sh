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
