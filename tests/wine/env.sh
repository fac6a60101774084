# Environment of every Wine run of the tests; sourced with TARVO_WINE_ROOT set
# to the run's own folder under the build tree.
: "${TARVO_WINE_ROOT:?}"
export WINEPREFIX="$TARVO_WINE_ROOT/prefix"
export WINEARCH=win32
export HOME="$TARVO_WINE_ROOT/home"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export LANG="${TARVO_LANG:-en_US.UTF-8}"
export LC_ALL="$LANG"
# A system without Chinese fonts: fontconfig hides every face with Chinese
# glyphs. TARVO_FONTS=cjk shows WenQuanYi Zen Hei.
export FONTCONFIG_FILE="$TARVO_WINE_ROOT/fonts-${TARVO_FONTS:-latin}.conf"
if [ -f "$TARVO_WINE_ROOT/display" ]; then
    export DISPLAY=":$(cat "$TARVO_WINE_ROOT/display")"
fi
# As root, read-only files are writable; the tests run as an ordinary user.
TARVO_AS_USER=()
if [ "$(id -u)" = 0 ]; then
    TARVO_AS_USER=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi
