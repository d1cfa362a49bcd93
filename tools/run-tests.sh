#!/bin/bash
# The whole test suite: sets the machine up, builds, runs the native
# sanitizer tests and the Windows tests under Wine on a private Xvfb.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/tools/setup-machine.sh" || exit 1
"$root/tools/build.sh" || exit 1

source "$root/tools/wine-env.sh"
trap ondaria_wine_stop EXIT
ondaria_wine_start 1

status=0
echo "== native tests (AddressSanitizer, UBSan)"
(cd "$build/native" && ctest --output-on-failure) || status=1
echo "== Windows tests under Wine"
(cd "$build/win32" && ctest --output-on-failure) || status=1
exit $status
