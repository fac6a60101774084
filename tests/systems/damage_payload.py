"""Resource script of an installer build with two damaged payload streams.

Copies the installer's root resource script and the build's payload script,
replacing an optional entry's stream (118, "dupes.dic") by its first half and
a required entry's stream (116, "layout.bmp") by the real stream whose
Adler-32 check is inverted: it inflates to its full length but fails its
check, so only an installer that looks at zlib's result notices.

usage: damage_payload.py installer.rc payload-folder output-folder
"""
import pathlib
import re
import sys

DAMAGE = {
    "118": lambda s: s[: len(s) // 2],
    "116": lambda s: s[:-4] + bytes(b ^ 0xFF for b in s[-4:]),
}


def main():
    installer_rc, payload_dir, out_dir = (pathlib.Path(a) for a in sys.argv[1:4])
    out_dir.mkdir(parents=True, exist_ok=True)
    line_re = re.compile(r'^\s*(\d+)\s+TEXT\s+(?:\w+\s+)*"([^"]+)"\s*$')
    lines, done = [], set()
    for line in (payload_dir / "payload.rc").read_text(encoding="latin-1").splitlines():
        m = line_re.match(line)
        if m and m.group(1) in DAMAGE:
            source = pathlib.Path(m.group(2))
            if not source.is_absolute():
                source = payload_dir / source
            stream = source.read_bytes()
            target = out_dir / ("%s_damaged.z" % m.group(1))
            target.write_bytes(DAMAGE[m.group(1)](stream))
            line = '%s TEXT "%s"' % (m.group(1), target.as_posix())
            done.add(m.group(1))
        lines.append(line)
    if done != set(DAMAGE):
        sys.exit("payload.rc: resources %s not found" % sorted(set(DAMAGE) - done))
    (out_dir / "payload_damaged.rc").write_text("\n".join(lines) + "\n", encoding="latin-1")
    root = installer_rc.read_text(encoding="latin-1")
    if root.count('#include "payload.rc"') != 1:
        sys.exit('installer.rc: expected one #include "payload.rc"')
    root = root.replace('#include "payload.rc"', '#include "payload_damaged.rc"')
    (out_dir / "installer_damaged.rc").write_text(root, encoding="latin-1")


if __name__ == "__main__":
    main()
