# Sourced by the two commands. As root, every Wine run of the tests is made
# as uid 65534 (tests/wine/env.sh), which must reach the checkout and its
# build folders. Where the checkout lies under a folder that user cannot
# enter (root's home, mode 0700), the run goes on in a mount namespace of its
# own, in which that folder is shown open (below). No permission changes on
# disk, every path stays as CMake cached it, and the view ends with its last
# process.
WINE_USER=65534
as_wine_user() { setpriv --reuid=$WINE_USER --regid=$WINE_USER --clear-groups -- "$@"; }

# The topmost folder on the way to $1 that the Wine user cannot pass.
closed_ancestor() {
    local dir="$1" closed=""
    while [ "$dir" != / ]; do
        dir="$(dirname "$dir")"
        as_wine_user test -x "$dir" || closed="$dir"
    done
    echo "$closed"
}

wine_user_fail() {
    echo "uid $WINE_USER, as which the tests run Wine when started by root, $1" >&2
    exit 1
}

# wine_user_check checkout: before anything is built, says why the Wine user
# could not reach the checkout and what to do, and exits.
wine_user_check() {
    local checkout="$1" closed dir
    [ "$(id -u)" = 0 ] || return 0
    umask 022   # what the build writes must be readable by the Wine user
    [ -z "${TARVO_VIEW:-}" ] || return 0
    closed="$(closed_ancestor "$checkout")"
    if [ "$closed" = / ]; then
        wine_user_fail "cannot enter /: run as an ordinary user"
    elif [ -n "$closed" ] && ! unshare --mount true 2>/dev/null; then
        wine_user_fail "cannot enter $closed, and this host allows no private mount namespace (unshare --mount) to show it $checkout: clone the checkout where every user can reach it (e.g. under /srv or /var/tmp), or run as an ordinary user"
    fi
    # The view shows the checkout's own folders as they are: every user must
    # be able to read and pass them.
    for dir in "$checkout" "$checkout/build" "$checkout/build-x64"; do
        [ -d "$dir" ] && [ $((0$(stat -c %a "$dir") & 05)) != 5 ] || continue
        if [ "$dir" = "$checkout" ]; then
            wine_user_fail "cannot read $dir (mode $(stat -c %a "$dir")): clone it under umask 022, or run as an ordinary user"
        fi
        wine_user_fail "cannot read $dir (mode $(stat -c %a "$dir"), made under a stricter umask): remove it, the command builds it again"
    done
}

# Whether the Wine runs of the checkout need the view: as root, outside it,
# with a closed folder on the way.
wine_user_needs_view() {
    [ "$(id -u)" = 0 ] && [ -z "${TARVO_VIEW:-}" ] && [ -n "$(closed_ancestor "$1")" ]
}

# wine_user_run checkout command args...: the command, where the Wine user
# reaches the checkout.
wine_user_run() {
    local checkout="$1"
    shift
    wine_user_needs_view "$checkout" || { "$@"; return; }
    local closed
    closed="$(closed_ancestor "$checkout")"
    echo "uid $WINE_USER cannot enter $closed: the run goes on in a private view where it can"
    unshare --mount --propagation private bash "$checkout/tools/wine-user.sh" "$checkout" "$@"
}

# Run as a script, in the new namespace: checkout command args... Each closed
# folder on the way is covered by a file system of its own, open to every
# user, into which its entries are bound back as they are (their own modes
# still apply): root's programs under /root, Python's for one, stay in place.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -euo pipefail
    checkout="$1"
    shift
    here="$PWD"
    covered=""
    while closed="$(closed_ancestor "$checkout")" && [ -n "$closed" ]; do
        [ "$closed" != "$covered" ] || { echo "cannot open $closed to uid $WINE_USER" >&2; exit 1; }
        covered="$closed"
        hold="$(mktemp -d /tmp/tarvo-view.XXXXXX)"
        mount --rbind "$closed" "$hold"
        mount -t tmpfs -o "mode=0755,uid=$(stat -c %u "$closed"),gid=$(stat -c %g "$closed")" tarvo-view "$closed"
        for entry in "$hold"/* "$hold"/.[!.]* "$hold"/..?*; do
            [ -e "$entry" ] || [ -L "$entry" ] || continue
            target="$closed/${entry##*/}"
            if [ -L "$entry" ]; then
                ln -s "$(readlink "$entry")" "$target"
            elif [ -d "$entry" ]; then
                mkdir "$target" && mount --rbind "$entry" "$target"
            else
                touch "$target" && mount --bind "$entry" "$target"
            fi
        done
        umount -l "$hold"
        rmdir "$hold"
    done
    cd "$here" 2>/dev/null || cd "$checkout"
    TARVO_VIEW=1 exec "$@"
fi
