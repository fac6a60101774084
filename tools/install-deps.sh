#!/bin/bash
# Installs what the build and the tests need on a Debian 12 machine, only
# when something is missing (apt-get runs as root, or through sudo), and
# unpacks zlib's source into .deps/zlib: the installer compiles zlib itself,
# for the i486, since Debian's MinGW zlib is built for the Pentium Pro.
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
packages=(cmake python3 mingw-w64 wine wine32:i386 wine64 xvfb unifont googletest
          imagemagick fonts-wine locales-all fonts-wqy-zenhei dpkg-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=""
[ "$(id -u)" = 0 ] || sudo=sudo
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

zlib="$root/.deps/zlib"
[ -f "$zlib/inflate.c" ] && exit 0
if ! apt-get source --print-uris zlib >/dev/null 2>&1; then
    echo "adding Debian's source packages to apt"
    $sudo tee /etc/apt/sources.list.d/tarvo-sources.sources >/dev/null <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    $sudo apt-get update -q
fi
work="$root/.deps/zlib-fetch"
rm -rf "$work" "$zlib"
mkdir -p "$work"
(cd "$work" && apt-get source -q zlib >/dev/null)
mv "$work"/zlib-*/ "$zlib"
rm -rf "$work"
echo "zlib source in $zlib"
