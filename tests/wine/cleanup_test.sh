#!/bin/bash
# Cleanup ends a stored id only while it names the session's own process:
# ids whose processes have ended are given to others. usage: cleanup_test.sh folder
set -u
session="$(dirname "$0")/session.sh"
export TARVO_WINE_ROOT="$1"
rm -rf "$TARVO_WINE_ROOT"
mkdir -p "$TARVO_WINE_ROOT/prefix" "$TARVO_WINE_ROOT/other"
echo 99 > "$TARVO_WINE_ROOT/display"
status=0
fail() { echo "FAILED: $*"; status=1; }
serve() {   # prefix-folder: a wineserver of it, once it runs in its server folder
    WINEPREFIX="$TARVO_WINE_ROOT/$1" setsid wineserver -f -p </dev/null >/dev/null 2>&1 &
    for _ in $(seq 50); do [[ "$(readlink "/proc/$!/cwd")" == */server-* ]] && break; sleep 0.1; done
}

# A sleep in both places, then the wineserver of another prefix: all refused.
sleep 300 & sleeper=$!
serve other; stranger=$!
echo "$sleeper" > "$TARVO_WINE_ROOT/wineserver.pid"
echo "$sleeper" > "$TARVO_WINE_ROOT/xvfb.pid"
out="$(bash "$session" cleanup; echo "$stranger" > "$TARVO_WINE_ROOT/wineserver.pid"; bash "$session" cleanup)"
echo "$out"
[ "$(grep -c "^not ending pid $sleeper: it is no longer this session's" <<<"$out")" = 2 ] || fail "sleep not refused twice"
grep -qx "not ending pid $stranger: it is no longer this session's wineserver" <<<"$out" || fail "other prefix's server not refused"
kill -0 "$sleeper" && kill -0 "$stranger" || fail "a refused process was ended"
kill "$sleeper" "$stranger"

# The session's own wineserver is ended.
serve prefix; own=$!
echo "$own" > "$TARVO_WINE_ROOT/wineserver.pid"
bash "$session" cleanup
sleep 1
if kill -0 "$own" 2>/dev/null; then fail "own server $own left running"; kill "$own"; fi
rm -rf "$TARVO_WINE_ROOT"
exit "$status"
