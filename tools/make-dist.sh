#!/bin/bash
# What a Windows user downloads, from the built trees: dist/gen_ondaria-2b.zip
# (gen_ondaria.dll and a gen_ondaria\ folder with the starter list and the
# readme, to unpack into Winamp's Plugins folder) and the French installer
# dist/gen_ondaria-2b-setup.exe. The starter list goes under a name that no
# current list can have (a current list is "<name>.rtv"): a zip unpacked over
# an installed plugin never replaces the user's list.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ONDARIA_BUILD:-$root/build}"
dist="${ONDARIA_DIST:-$root/dist}"

dll="$build/win32/gen_ondaria.dll"
list="$build/native/sample/Ondaria.rtv"
readme="$build/win32/readme.txt"
for f in "$dll" "$list" "$readme"; do
    [ -f "$f" ] || { echo "make-dist: $f is missing: run tools/build.sh first" >&2; exit 1; }
done

staging="$build/dist-staging"
rm -rf "$staging"
mkdir -p "$staging/gen_ondaria" "$dist"
cp "$dll" "$staging/"
cp "$list" "$staging/gen_ondaria/Ondaria.rtv.depart"
cp "$readme" "$staging/gen_ondaria/"

rm -f "$dist/gen_ondaria-2b.zip"
(cd "$staging" && zip -q -X -r "$dist/gen_ondaria-2b.zip" gen_ondaria.dll gen_ondaria)
makensis -V2 -DDIST="$staging" -DOUTFILE="$dist/gen_ondaria-2b-setup.exe" "$root/tools/installer/gen_ondaria.nsi"
echo "make-dist: $dist/gen_ondaria-2b.zip and $dist/gen_ondaria-2b-setup.exe"
