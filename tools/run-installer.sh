#!/bin/bash
# Builds TarvoSetup.exe and runs it under Wine.
#
# With a reachable display ($DISPLAY) the installer opens there for a person
# to use. Without one (a server, CI) the wizard is walked unattended through
# the typical run on an Xvfb display of its own, in a fresh Wine prefix under
# build/: a PNG of every page, of the progress bar and of the result message
# lands in build/unattended/, and what was installed is printed. The Xvfb
# server and the wineserver started here are ended here.
#
# With --dpi N the unattended run's screen has N dots per inch (Wine's
# LogPixels; 96 is 100 %, 120, 144 and 192 are 125, 150 and 200 %) and room
# for the larger window, and the pictures land in build/unattended-N/.
#
# usage: tools/run-installer.sh [--unattended] [--dpi N]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd -P)"
cd "$root"
. tools/wine-user.sh

unattended=0
dpi=""
while [ $# -gt 0 ]; do
    case "$1" in
        --unattended) unattended=1 ;;
        --dpi) dpi="${2:?--dpi needs a number}"; shift; unattended=1 ;;
        *) echo "usage: tools/run-installer.sh [--unattended] [--dpi N]" >&2; exit 2 ;;
    esac
    shift
done

wine_user_check "$root"
# Built once: a run made again in the view below (tools/wine-user.sh) skips it.
build() { [ -n "${TARVO_VIEW:-}" ] || "$@"; }
build tools/install-deps.sh
. tools/i386-host.sh
build cmake --preset mingw-i686 >/dev/null
# The walk and the warm-up are test programs: 64-bit ones (build-x64/, a
# 64-bit prefix) where 32-bit code runs only emulated.
if i386_emulated; then
    build cmake --build build -j"$(nproc)" --target TarvoSetup systems_version_probe
    build cmake --preset tests-x86_64 >/dev/null
    build cmake --build build-x64 -j"$(nproc)" --target tarvo_walk wine_warmup
    tests="$root/build-x64/tests"
    export TARVO_WINE_ARCH=win64
else
    build cmake --build build -j"$(nproc)" --target TarvoSetup tarvo_walk wine_warmup systems_version_probe
    tests="$root/build/tests"
fi
exe="$root/build/TarvoSetup.exe"

winpath() { echo "Z:$1" | tr / '\\'; }

display_works() {
    [ -n "${DISPLAY:-}" ] && timeout 5 xdpyinfo >/dev/null 2>&1
}

if [ "$unattended" = 0 ] && display_works; then
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-winemenubuilder.exe=d;mscoree=d;mshtml=d}"
    export QEMU_RESERVED_VA="${QEMU_RESERVED_VA:-0x84000000}"   # see tests/wine/env.sh
    echo "starting $exe on $DISPLAY"
    exec wine "$exe"
fi

# As root from a checkout that the Wine user cannot reach, the unattended run
# is made again where it can (tools/wine-user.sh).
if wine_user_needs_view "$root"; then
    wine_user_run "$root" "$root/tools/run-installer.sh" --unattended ${dpi:+--dpi "$dpi"}
    exit
fi

# Unattended: the test harness's session (prefix, Xvfb, wineserver) under a
# folder of its own, with the fonts of a system without Chinese fonts.
export TARVO_WINE_ROOT="$root/build/unattended-wine"
shots="$root/build/unattended"
if [ -n "$dpi" ]; then
    export TARVO_DPI="$dpi" TARVO_SCREEN=2048x1536x24
    TARVO_WINE_ROOT="$root/build/unattended-wine-$dpi"
    shots="$root/build/unattended-$dpi"
fi
session="$root/tests/wine/session.sh"
cleanup() { bash "$session" cleanup 2>/dev/null || true; }
trap cleanup EXIT
bash "$session" setup "$tests/wine_warmup.exe" "$root/build/tests/systems_version_probe.exe"
. "$root/tests/wine/env.sh"

rm -rf "$shots"
mkdir -p "$shots"
[ "$(id -u)" = 0 ] && chown 65534:65534 "$shots"

status=0
"${TARVO_AS_USER[@]}" env HOME="$HOME" "$TARVO_WINE" "$tests/tarvo_walk.exe" \
    "$(winpath "$exe")" "$(winpath "$shots")" </dev/null || status=$?
echo
echo "screenshots in $shots:"
ls -1 "$shots"
exit "$status"
