#!/bin/sh
# The plugin DLL must be a 32-bit PE whose imports are system DLLs only.
set -e
dll="$1"
dump=$(i686-w64-mingw32-objdump -p "$dll")
echo "$dump" | grep -q 'file format pei-i386' || { echo "not a 32-bit PE: $dll"; exit 1; }
allowed='^(KERNEL32|USER32|GDI32|COMDLG32|SHELL32|OLE32|OLEAUT32|ADVAPI32|msvcrt|COMCTL32|WININET|WS2_32)\.dll$'
status=0
for name in $(echo "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
    if echo "$name" | grep -Eiq "$allowed"; then echo "import: $name"; else echo "unexpected import: $name"; status=1; fi
done
exit $status
