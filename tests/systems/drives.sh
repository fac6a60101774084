#!/bin/bash
# Hostile places for the installer inside the test run's prefix (setup) and
# their removal (cleanup): drive R: on a small file system that a typical
# installation overfills, and C:\systems_readonly, a folder its user cannot
# write. Mounting needs root; without it R: is simply absent.
set -u
: "${TARVO_WINE_ROOT:?}" "${SYSTEMS_DRIVE:?}"
prefix="$TARVO_WINE_ROOT/prefix"
readonly_dir="$prefix/drive_c/systems_readonly"

cleanup() {
    rm -f "$prefix/dosdevices/r:"
    if mountpoint -q "$SYSTEMS_DRIVE" 2>/dev/null; then umount "$SYSTEMS_DRIVE"; fi
    rmdir "$SYSTEMS_DRIVE" 2>/dev/null
    if [ -d "$readonly_dir" ]; then chmod u+w "$readonly_dir"; rm -rf "$readonly_dir"; fi
    return 0
}

setup() {
    cleanup
    [ -d "$prefix/dosdevices" ] || { echo "no prefix at $prefix" >&2; exit 1; }
    mkdir -p "$readonly_dir"
    if [ "$(id -u)" = 0 ]; then
        chown 0:0 "$readonly_dir"
        chmod 0555 "$readonly_dir"
        mkdir -p "$SYSTEMS_DRIVE"
        # 12 MiB: the installation needs about 40 MB; the files before
        # corner.bin (6.8 MB) fit, corner.bin does not.
        if mount -t tmpfs -o size=12m,uid=65534,gid=65534,mode=0755 systems-r "$SYSTEMS_DRIVE"; then
            ln -sfn "$SYSTEMS_DRIVE" "$prefix/dosdevices/r:"
            echo "drive R: is a 12 MiB file system at $SYSTEMS_DRIVE"
        else
            echo "drive R: not made: mounting failed"
        fi
    else
        chmod 0555 "$readonly_dir"
        echo "drive R: not made: mounting needs root"
    fi
}

case "${1:-}" in
    setup) setup ;;
    cleanup) cleanup ;;
    *) echo "usage: drives.sh setup|cleanup" >&2; exit 2 ;;
esac
