#!/bin/sh
# The shipped DLL stays within its size budget: code that brings back the C++
# runtime (std::string, a throwing new, iostreams) or the C library's own
# formatter of MinGW adds tens of kilobytes at once and shows here.
dll="$1"
budget="$2"
size=$(stat -c %s "$dll")
echo "gen_ondaria.dll: $size bytes (budget $budget)"
[ "$size" -le "$budget" ] || { echo "over budget by $((size - budget)) bytes"; exit 1; }
