"""Resource scripts of an installer build with damaged payload streams.

Copies the installer's root resource script and the build's payload script,
replacing the stream of each named TEXT resource by a damaged copy:
  checksum  the real stream with its Adler-32 check inverted: it inflates to
            its full length but fails its check, so only an installer that
            looks at zlib's result notices;
  truncate  the first half of the stream.

usage: damaged_installer.py installer.rc payload-folder output-folder id=kind...
"""
import pathlib
import re
import sys

DAMAGE = {
    "checksum": lambda s: s[:-4] + bytes(b ^ 0xFF for b in s[-4:]),
    "truncate": lambda s: s[: len(s) // 2],
}


def main():
    installer_rc, payload_dir, out_dir = (pathlib.Path(a) for a in sys.argv[1:4])
    damage = dict(arg.split("=", 1) for arg in sys.argv[4:])
    unknown = set(damage.values()) - set(DAMAGE)
    if not damage or unknown:
        sys.exit("damaged_installer.py: give id=kind pairs, kinds %s" % sorted(DAMAGE))
    out_dir.mkdir(parents=True, exist_ok=True)

    line_re = re.compile(r'^\s*(\d+)\s+TEXT\s+(?:\w+\s+)*"([^"]+)"\s*$')
    lines, done = [], set()
    for line in (payload_dir / "payload.rc").read_text(encoding="latin-1").splitlines():
        m = line_re.match(line)
        if m and m.group(1) in damage:
            source = pathlib.Path(m.group(2))
            if not source.is_absolute():
                source = payload_dir / source
            target = out_dir / ("%s_damaged.z" % m.group(1))
            target.write_bytes(DAMAGE[damage[m.group(1)]](source.read_bytes()))
            line = '%s TEXT "%s"' % (m.group(1), target.as_posix())
            done.add(m.group(1))
        lines.append(line)
    if done != set(damage):
        sys.exit("payload.rc: resources %s not found" % sorted(set(damage) - done))
    (out_dir / "payload_damaged.rc").write_text("\n".join(lines) + "\n", encoding="latin-1")

    root = installer_rc.read_text(encoding="latin-1")
    if root.count('#include "payload.rc"') != 1:
        sys.exit('installer.rc: expected one #include "payload.rc"')
    root = root.replace('#include "payload.rc"', '#include "payload_damaged.rc"')
    (out_dir / "installer_damaged.rc").write_text(root, encoding="latin-1")


if __name__ == "__main__":
    main()
