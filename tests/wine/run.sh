#!/bin/bash
# Runs one Windows program of the build under the test run's Wine prefix.
# Used as the cross-compiling emulator of CTest: run.sh program.exe args...
here="$(cd "$(dirname "$0")" && pwd)"
export TARVO_WINE_ROOT="${TARVO_WINE_ROOT:-@TARVO_WINE_ROOT@}"
export TARVO_WINE_ARCH="${TARVO_WINE_ARCH:-@TARVO_WINE_ARCH@}"
. "$here/env.sh"
# TARVO_STDERR: a file for the program's standard error, which its Wine
# children share, debug output (WINEDEBUG) included.
if [ -n "${TARVO_STDERR:-}" ]; then exec 2>"$TARVO_STDERR"; fi
exec "${TARVO_AS_USER[@]}" env HOME="$HOME" "$TARVO_WINE" "$@"
