#!/bin/bash
# Starts (setup) and ends (cleanup) the Wine session of one test run: its own
# prefix, its own Xvfb display and a persistent wineserver, all under
# TARVO_WINE_ROOT. Cleanup ends only the processes that setup started, and
# only while their stored ids still name them.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
: "${TARVO_WINE_ROOT:?}"
. "$here/env.sh"
as_user() { "${TARVO_AS_USER[@]}" env HOME="$HOME" "$@"; }

write_fontconfig() {   # name, font folders to hide
    # Wine loads every font file of the folders fontconfig names, whatever
    # fontconfig's own filters say: hide faces by leaving their folders out.
    local dirs="" dir
    for dir in $(find /usr/share/fonts -mindepth 2 -maxdepth 2 -type d | sort); do
        case " $2 " in *" $dir "*) continue ;; esac
        dirs="$dirs  <dir>$dir</dir>
"
    done
    cat > "$TARVO_WINE_ROOT/fonts-$1.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
$dirs  <include ignore_missing="yes">/etc/fonts/conf.d</include>
  <cachedir>$TARVO_WINE_ROOT/fontcache-$1</cachedir>
</fontconfig>
CONF
}

# The name of the folder in which the wineserver of this prefix runs: Wine
# names it by the prefix folder's device and inode.
server_folder_name() {
    printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")"
}

# The ids of the wineservers running in that folder.
prefix_servers() {
    local pid name
    name="$(server_folder_name)"
    for pid in $(pgrep -f wineserver); do
        [ "$(basename "$(readlink "/proc/$pid/cwd")")" = "$name" ] && echo "$pid"
    done
}

# One wineserver for the whole run, in the foreground of a process of its own
# (so its id is known), detached from CTest's pipes. The prefix folder must
# exist before the server starts.
start_server() {
    "${TARVO_AS_USER[@]}" env HOME="$HOME" setsid wineserver -f -p </dev/null >/dev/null 2>&1 &
    echo $! > "$TARVO_WINE_ROOT/wineserver.pid"
    for _ in $(seq 100); do [ -n "$(prefix_servers)" ] && break; sleep 0.1; done
}

setup() {   # warm-up.exe [speed-probe.exe]
    cleanup quiet
    rm -rf "$TARVO_WINE_ROOT"
    mkdir -p "$WINEPREFIX" "$TARVO_WINE_ROOT/home" "$TARVO_WINE_ROOT/tmp"
    # The system's own aliases stay (they map the dialog fonts); faces with
    # Chinese glyphs are hidden, except WenQuanYi in the "cjk" variant.
    local unifont="/usr/share/fonts/opentype/unifont /usr/share/fonts/truetype/unifont"
    write_fontconfig latin "$unifont /usr/share/fonts/truetype/wqy"
    write_fontconfig cjk "$unifont"
    # A free display number, then Xvfb detached from CTest's pipes.
    local n=$(( 50 + $$ % 400 ))
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    setsid Xvfb ":$n" -screen 0 "${TARVO_SCREEN:-1024x768x24}" -nolisten tcp </dev/null >/dev/null 2>&1 &
    echo $! > "$TARVO_WINE_ROOT/xvfb.pid"
    echo "$n" > "$TARVO_WINE_ROOT/display"
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    [ "$(id -u)" = 0 ] && chown -R 65534:65534 "$TARVO_WINE_ROOT"
    # Services that outlive this script on /dev/null, so that no later Wine
    # process hands CTest's pipe to a long-lived child.
    start_server
    as_user "$TARVO_WINE" wineboot.exe -i </dev/null >/dev/null 2>&1
    # A screen of another dpi (TARVO_DPI): Wine reads LogPixels from both
    # keys, and only a session started after they are written uses it.
    if [ -n "${TARVO_DPI:-}" ]; then
        as_user "$TARVO_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$TARVO_DPI" /f </dev/null >/dev/null 2>&1
        as_user "$TARVO_WINE" reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$TARVO_DPI" /f </dev/null >/dev/null 2>&1
        as_user wineserver -k </dev/null >/dev/null 2>&1
        as_user wineserver -w </dev/null >/dev/null 2>&1
        end_stored wineserver wineserver.pid
        start_server
    fi
    as_user "$TARVO_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f </dev/null >/dev/null 2>&1
    as_user "$TARVO_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    # The first window of the prefix starts its desktop process; start it here.
    if [ -n "${2:-}" ]; then
        as_user "$TARVO_WINE" "$2" </dev/null >/dev/null 2>&1 || { echo "warm-up failed" >&2; exit 1; }
    fi
    [ -d "$WINEPREFIX/drive_c/windows" ] || { echo "wine prefix was not created" >&2; exit 1; }
    # Every program so far went to the server started above: it is still the
    # one server of this prefix.
    local server
    server="$(cat "$TARVO_WINE_ROOT/wineserver.pid")"
    if [ "$(prefix_servers)" != "$server" ]; then
        echo "the session's wineserver is not the one its programs use" >&2
        exit 1
    fi
    # The speed factor of the run's limits: how much longer than half a
    # second a 32-bit program takes to start and end here (1 natively).
    local factor=1 start ms
    if [ -n "${3:-}" ]; then
        start=$(date +%s%N)
        as_user "$TARVO_WINE" "$3" </dev/null >/dev/null 2>&1
        ms=$(( ($(date +%s%N) - start) / 1000000 ))
        factor=$(( (ms + 499) / 500 ))
        [ "$factor" -ge 1 ] || factor=1
        echo "a 32-bit program started and ended in $ms ms: limits are stretched $factor times"
    fi
    echo "$factor" > "$TARVO_WINE_ROOT/speed"
    echo "wine session ready: $WINEARCH prefix $WINEPREFIX, display :$n, wineserver $server"
}

# Whether a process is still the one setup started: the wineserver running in
# this prefix's server folder, or the Xvfb of this session's display. A stored
# id may since have been given to another process.
is_session_process() {   # wineserver|Xvfb pid
    local argv cwd
    mapfile -d '' -t argv < "/proc/$2/cmdline" 2>/dev/null || return 1
    [ ${#argv[@]} -gt 0 ] || return 1
    case "$1" in
        wineserver)
            [[ "$(basename "${argv[0]}")" == wineserver* ]] && [ -d "$WINEPREFIX" ] || return 1
            cwd="$(readlink "/proc/$2/cwd")"
            [ "$(basename "$cwd")" = "$(server_folder_name)" ] ;;
        Xvfb)
            [ "$(basename "${argv[0]}")" = Xvfb ] && [ -f "$TARVO_WINE_ROOT/display" ] &&
                [ "${argv[1]:-}" = ":$(cat "$TARVO_WINE_ROOT/display")" ] ;;
    esac
}

# Whether the process of an id has ended (or is a zombie: ended, not reaped).
ended() {
    local state
    state="$(awk '/^State:/ { print $2 }' "/proc/$1/status" 2>/dev/null)"
    [ -z "$state" ] || [ "$state" = Z ] || [ "$state" = X ]
}

end_stored() {   # wineserver|Xvfb pid-file
    local file="$TARVO_WINE_ROOT/$2" pid
    [ -f "$file" ] || return 0
    pid="$(cat "$file")"
    rm -f "$file"
    ended "$pid" && return 0
    if is_session_process "$1" "$pid"; then
        kill "$pid"
    else
        echo "not ending pid $pid: it is no longer this session's $1"
    fi
}

cleanup() {
    if [ -d "$WINEPREFIX" ]; then
        as_user wineserver -k </dev/null >/dev/null 2>&1
        as_user wineserver -w </dev/null >/dev/null 2>&1
    fi
    end_stored wineserver wineserver.pid
    end_stored Xvfb xvfb.pid
    [ "${1:-}" = quiet ] || echo "wine session ended"
}

case "${1:-}" in
    setup) setup "$@" ;;
    cleanup) cleanup ;;
    *) echo "usage: session.sh setup [warm-up.exe [speed-probe.exe]] | cleanup" >&2; exit 2 ;;
esac
