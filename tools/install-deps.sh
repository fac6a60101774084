#!/bin/bash
# Installs what the build and the tests need on a Debian 12 machine, only
# when something is missing (apt-get runs as root, or through sudo), and
# unpacks zlib's source into .deps/zlib: the installer compiles zlib itself,
# for the i486, since Debian's MinGW zlib is built for the Pentium Pro.
# On a host that cannot run 32-bit programs, 32-bit code is given to
# qemu-user through binfmt_misc (tools/i386-host.sh tells which kind).
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/tools/i386-host.sh"
packages=(cmake python3 mingw-w64 wine wine32:i386 wine64 xvfb unifont googletest
          imagemagick fonts-wine locales-all fonts-wqy-zenhei dpkg-dev osslsigncode openssl)
sudo=""
[ "$(id -u)" = 0 ] || sudo=sudo

# A mirror caught mid-sync fails one index; the others are still good, and
# the release's own suite keeps both architectures of a library in step.
apt_update() {
    $sudo apt-get update -q || echo "apt-get update reported errors; going on with the indexes it has"
}
apt_install() {
    local suite
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "$@" && return
    suite="$(. /etc/os-release && echo "$VERSION_CODENAME")"
    echo "retrying with the packages of $suite itself"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends -t "$suite" "$@"
}
missing_of() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}

missing=($(missing_of "${packages[@]}"))
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
    apt_update
    apt_install "${missing[@]}"
fi

if ! i386_runs_natively && ! i386_emulated; then
    [ -z "$(missing_of qemu-user-static)" ] || apt_install qemu-user-static
    binfmt=/proc/sys/fs/binfmt_misc
    [ -e "$binfmt/register" ] || $sudo mount -t binfmt_misc binfmt_misc "$binfmt"
    echo "$I386_BINFMT_ENTRY" | $sudo tee "$binfmt/register" >/dev/null
fi
i386_emulated && echo "this host cannot run 32-bit programs: 32-bit code runs emulated (qemu-i386-static)"

# A source entry beside the machine's own entry for its release: the same
# URIs and keyring, so that a local mirror or proxy serves it too.
deb_src_entry() {
    local suite
    suite="$(. /etc/os-release && echo "$VERSION_CODENAME")"
    python3 - "$suite" /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
              /etc/apt/sources.list.d/*.sources <<'PY'
import re, sys
suite, files = sys.argv[1], sys.argv[2:]

def found(uris, keyring):
    print("Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main" % (uris, suite))
    if keyring:
        print("Signed-By: " + keyring)
    sys.exit(0)

for name in files:
    try:
        text = open(name).read()
    except OSError:
        continue
    if name.endswith(".sources"):
        for stanza in re.split(r"\n\s*\n", text):
            fields = dict(re.findall(r"^([\w-]+):\s*(.*)$", stanza, re.M))
            if "deb" in fields.get("Types", "").split() and suite in fields.get("Suites", "").split():
                found(fields["URIs"], fields.get("Signed-By"))
    else:
        for line in text.splitlines():
            m = re.match(r"\s*deb\s+(\[[^]]*\]\s+)?(\S+)\s+(\S+)\s", line)
            if m and m.group(3) == suite:
                keyring = re.search(r"signed-by=(\S+?)[\s\]]", m.group(1) or "")
                found(m.group(2), keyring and keyring.group(1))
sys.exit("no apt entry for " + suite)
PY
}

zlib="$root/.deps/zlib"
[ -f "$zlib/inflate.c" ] && exit 0
if ! apt-get source --print-uris zlib >/dev/null 2>&1; then
    echo "adding Debian's source packages to apt"
    deb_src_entry | $sudo tee /etc/apt/sources.list.d/tarvo-sources.sources >/dev/null
    apt_update
fi
work="$root/.deps/zlib-fetch"
rm -rf "$work" "$zlib"
mkdir -p "$work"
(cd "$work" && apt-get source -q zlib >/dev/null)
mv "$work"/zlib-*/ "$zlib"
rm -rf "$work"
echo "zlib source in $zlib"
