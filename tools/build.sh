#!/bin/bash
# Builds the cross (Windows, 32-bit) tree and the native sanitizer tree.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ONDARIA_BUILD:-$root/build}"

cmake -S "$root" -B "$build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNATIVE_BUILD_DIR="$build/native" \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build/win32"
cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build/native"
# What Windows users download: the zip and the installer, in dist/.
"$root/tools/make-dist.sh"
