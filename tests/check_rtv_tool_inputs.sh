#!/bin/sh
# rtv_tool on endless input stops by itself, with a clear message, exit 1
# and in bounded memory (it stops reading): check (a valid header, then zeros for ever), import
# (zeros for ever, as from /dev/zero). And it never writes its output over
# its input.
tool="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

out=$( { printf '\001\000\000\000\100\000\000\000'; head -c 56 /dev/zero; cat /dev/zero; } | "$tool" check /dev/stdin 2>&1 )
status=$?
echo "$out" | tail -n 3
[ "$status" -eq 1 ] || { echo "check: exit status $status, expected 1"; exit 1; }
echo "$out" | grep -q "far beyond any list: stopped reading" || { echo "check: no stop message"; exit 1; }

out=$("$tool" import /dev/zero "$work/out.rtv" 2>&1)
status=$?
echo "$out"
[ "$status" -eq 1 ] || { echo "import: exit status $status, expected 1"; exit 1; }
echo "$out" | grep -q "larger than 8 MB: stopped reading" || { echo "import: no stop message"; exit 1; }
[ ! -e "$work/out.rtv" ] || { echo "import: wrote a list anyway"; exit 1; }

printf '#EXTM3U\nhttp://a.example/\n' >"$work/same.m3u"
cp "$work/same.m3u" "$work/before.m3u"
out=$("$tool" import "$work/same.m3u" "$work/same.m3u" 2>&1)
status=$?
echo "$out"
[ "$status" -eq 1 ] || { echo "import onto itself: exit status $status, expected 1"; exit 1; }
cmp -s "$work/same.m3u" "$work/before.m3u" || { echo "import onto itself changed its input"; exit 1; }
ln -s same.m3u "$work/link.m3u"
"$tool" import "$work/same.m3u" "$work/link.m3u" >/dev/null 2>&1 && { echo "import onto a link to its input went ahead"; exit 1; }
printf 'radio | A | http://a.example/\n' >"$work/same.txt"
"$tool" build "$work/same.txt" "$work/same.txt" >/dev/null 2>&1 && { echo "build onto its input went ahead"; exit 1; }
grep -q 'http://a.example/' "$work/same.txt" || { echo "build onto itself changed its input"; exit 1; }
echo "stopped with a message, and inputs were never overwritten"
