#!/bin/bash
# Installs what the build and the tests need on a Debian 12 machine, only
# when something is missing (apt-get runs as root, or through sudo).
set -e
packages=(cmake python3 mingw-w64 libz-mingw-w64-dev wine wine32:i386 wine64 xvfb
          unifont googletest imagemagick fonts-wine locales-all fonts-wqy-zenhei)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" = 0 ] || sudo=sudo
echo "installing: ${missing[*]}"
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
