# Environment of every Wine run of the tests; sourced with TARVO_WINE_ROOT set
# to the run's own folder under the build tree, and TARVO_WINE_ARCH to win64
# for the tests' 64-bit build (default win32).
: "${TARVO_WINE_ROOT:?}"
export WINEPREFIX="$TARVO_WINE_ROOT/prefix"
export WINEARCH="${TARVO_WINE_ARCH:-win32}"
# Debian's wine script always starts the 32-bit loader first, which costs a
# minute where 32-bit code runs emulated: 64-bit programs go to wine64.
TARVO_WINE=wine
[ "$WINEARCH" = win64 ] && TARVO_WINE=/usr/lib/wine/wine64
export HOME="$TARVO_WINE_ROOT/home"
export WINEDEBUG=-all
# No .desktop files, no Mono or Gecko prompts, and no debugger: a crash ends
# the crashing process, and the test that started it sees its exit code.
# TARVO_NATIVE_FIRST names libraries that a copy in a program's own folder
# replaces, as Windows' search does where the system does not protect a name
# (Wine reads this from the environment its processes start with, not from
# the block a parent hands to CreateProcess).
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d;winedbg.exe=d${TARVO_NATIVE_FIRST:+;$TARVO_NATIVE_FIRST=n,b}"
# Where 32-bit code runs under qemu-user, qemu reserves 4 GB for it, and
# Wine's start then spends most of a minute claiming the part above 2 GB
# page by page. 2 GB and 64 MB hold Wine, its libraries and the installer.
export QEMU_RESERVED_VA=0x84000000
export LANG="${TARVO_LANG:-en_US.UTF-8}"
export LC_ALL="$LANG"
# A system without Chinese fonts: fontconfig hides every face with Chinese
# glyphs. TARVO_FONTS=cjk shows WenQuanYi Zen Hei.
export FONTCONFIG_FILE="$TARVO_WINE_ROOT/fonts-${TARVO_FONTS:-latin}.conf"
if [ -f "$TARVO_WINE_ROOT/display" ]; then
    export DISPLAY=":$(cat "$TARVO_WINE_ROOT/display")"
fi
# How much slower than natively a program starts here, measured when the
# session started (tests/patience.h).
if [ -f "$TARVO_WINE_ROOT/speed" ]; then
    export TARVO_SPEED_FACTOR="$(cat "$TARVO_WINE_ROOT/speed")"
fi
# As root, read-only files are writable; the tests run as an ordinary user.
TARVO_AS_USER=()
if [ "$(id -u)" = 0 ]; then
    TARVO_AS_USER=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi
