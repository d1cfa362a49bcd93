#!/bin/sh
# Starts or stops a loopback stand-in server for the Windows tests, which
# find its port in STATE/port.
#   standin_control.sh start STATE SERVER.py [server options]
#   standin_control.sh stop STATE
set -e
action="$1"
state="$2"
# Long enough for python to start on a loaded machine, short enough to fail fast.
start_seconds=20
case "$action" in
start)
    server="$3"
    shift 3
    mkdir -p "$state"
    # One left by a run that was cut short would hold on to its ports.
    [ -f "$state/pid" ] && kill "$(cat "$state/pid")" 2>/dev/null || true
    rm -f "$state/port" "$state/output"
    python3 "$server" "$@" >"$state/output" 2>&1 </dev/null &
    echo $! >"$state/pid"
    waited=0
    while ! grep -q '^port ' "$state/output" 2>/dev/null; do
        if ! kill -0 "$(cat "$state/pid")" 2>/dev/null || [ "$waited" -ge $((start_seconds * 10)) ]; then
            echo "stand-in did not start:"; cat "$state/output"; exit 1
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
    sed -n 's/^port //p' "$state/output" >"$state/port"
    echo "stand-in $(basename "$server") on 127.0.0.1:$(cat "$state/port")"
    ;;
stop)
    [ -f "$state/pid" ] && kill "$(cat "$state/pid")" 2>/dev/null || true
    rm -f "$state/pid" "$state/port"
    ;;
*)
    echo "usage: $0 start STATE SERVER.py [options] | stop STATE" >&2
    exit 2
    ;;
esac
