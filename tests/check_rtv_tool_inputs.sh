#!/bin/sh
# rtv_tool check on endless input (a valid header, then zeros for ever) must
# stop by itself with a clear message and exit 1, in bounded memory.
tool="$1"
out=$( { printf '\001\000\000\000\100\000\000\000'; head -c 56 /dev/zero; cat /dev/zero; } | "$tool" check /dev/stdin 2>&1 )
status=$?
echo "$out" | tail -n 3
[ "$status" -eq 1 ] || { echo "exit status $status, expected 1"; exit 1; }
echo "$out" | grep -q "far beyond any list: stopped reading" || { echo "no stop message"; exit 1; }
echo "stopped with a message"
