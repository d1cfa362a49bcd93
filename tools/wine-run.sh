#!/bin/sh
# Runs a Windows program under Wine for ctest. Output goes through a file:
# Wine's background processes would otherwise hold ctest's pipe open.
out=$(mktemp)
wine "$@" >"$out" 2>&1
rc=$?
cat "$out"
rm -f "$out"
exit $rc
