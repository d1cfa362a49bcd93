#!/bin/bash
# tools/setup-machine.sh against a package mirror out of step, as CI's
# fresh machines meet it: apt-get update fails (an index of the wrong size),
# and the plain install is refused (amd64 and i386 versions of a library
# that disagree between the release and its security suite). apt-get and
# dpkg are stand-ins that log their calls; nothing is installed.
set -u
script="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
release="$(. /etc/os-release && echo "$VERSION_CODENAME")"

cat >"$work/apt-get" <<'FAKE'
#!/bin/bash
echo "apt-get $*" >>"$FAKE_LOG"
case "$1" in
update)
    n=$(grep -c '^apt-get update' "$FAKE_LOG")
    if [ "$n" -le "$FAKE_UPDATE_FAILURES" ]; then
        echo "E: Failed to fetch .../binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
        exit 100
    fi ;;
install)
    if [ "$FAKE_INSTALL" = refuse-plain ] && [[ " $* " != *" -t "* ]]; then
        echo "E: Unable to correct problems, you have held broken packages." >&2
        exit 100
    fi
    [ "$FAKE_INSTALL" = refuse-all ] && { echo "E: Unable to correct problems" >&2; exit 100; } ;;
esac
exit 0
FAKE
cat >"$work/dpkg" <<'FAKE'
#!/bin/bash
case "$1" in
-s) exit 1 ;;                                   # nothing installed
--print-foreign-architectures) echo i386 ;;
esac
exit 0
FAKE
chmod +x "$work/apt-get" "$work/dpkg"

run() {   # update failures, install behaviour
    : >"$work/log"
    FAKE_LOG="$work/log" FAKE_UPDATE_FAILURES="$1" FAKE_INSTALL="$2" ONDARIA_APT_GET="$work/apt-get" \
        ONDARIA_DPKG="$work/dpkg" ONDARIA_APT_RETRY_SECONDS=0 "$script" >"$work/out" 2>&1
}
fail() { echo "FAILED: $1"; cat "$work/out"; cat "$work/log"; exit 1; }

# One failed update, then a refused plain install: warned, retried, installed from the release's suite.
run 1 refuse-plain || fail "the set-up stopped on a failed update or a refused install"
[ "$(grep -c '^apt-get update' "$work/log")" = 2 ] || fail "the update was not tried exactly twice"
grep -q 'warning: apt-get update failed' "$work/out" || fail "no warning for the failed update"
grep -q "^apt-get install .* -t $release .*wine32:i386" "$work/log" || fail "no install with the release's versions"

# Both updates fail: the set-up goes on with the indexes it has.
run 5 ok || fail "the set-up stopped after two failed updates"
[ "$(grep -c '^apt-get update' "$work/log")" = 2 ] || fail "the update was tried more than twice"
grep -q '^apt-get install .*wine32:i386' "$work/log" || fail "nothing installed after two failed updates"

# An install refused both ways is a failure that says so.
run 0 refuse-all && fail "a refused install passed"
grep -q 'setup: FAILED: could not install' "$work/out" || fail "no message for the refused install"
echo "the set-up survives a failed update and a refused install, and fails plainly when nothing installs"
