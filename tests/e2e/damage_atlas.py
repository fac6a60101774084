"""Resource script of an installer build whose glyph atlas is damaged.

Copies the installer's root resource script and the build's payload script,
replacing TEXT resource 110 with the real atlas stream whose Adler-32 check
is inverted: the stream inflates to its full length but fails its check, so
only an installer that looks at zlib's result notices.

usage: damage_atlas.py installer.rc payload-folder output-folder
"""
import pathlib
import re
import sys


def main():
    installer_rc, payload_dir, out_dir = (pathlib.Path(a) for a in sys.argv[1:4])
    out_dir.mkdir(parents=True, exist_ok=True)

    payload_rc = (payload_dir / "payload.rc").read_text(encoding="latin-1")
    atlas_line = re.compile(r'^\s*(110|IDR_GLYPH_ATLAS)\s+TEXT\s+(?:\w+\s+)*"([^"]+)"\s*$')
    lines, replaced = [], 0
    for line in payload_rc.splitlines():
        m = atlas_line.match(line)
        if m:
            source = pathlib.Path(m.group(2))
            if not source.is_absolute():
                source = payload_dir / source
            stream = source.read_bytes()
            damaged = stream[:-4] + bytes(b ^ 0xFF for b in stream[-4:])
            target = out_dir / "110_damaged.z"
            target.write_bytes(damaged)
            line = '110 TEXT "%s"' % target.as_posix()
            replaced += 1
        lines.append(line)
    if replaced != 1:
        sys.exit("payload.rc: expected one line for resource 110, found %d" % replaced)
    (out_dir / "payload_bad_atlas.rc").write_text("\n".join(lines) + "\n", encoding="latin-1")

    root = installer_rc.read_text(encoding="latin-1")
    if root.count('#include "payload.rc"') != 1:
        sys.exit("installer.rc: expected one #include \"payload.rc\"")
    root = root.replace('#include "payload.rc"', '#include "payload_bad_atlas.rc"')
    (out_dir / "installer_bad_atlas.rc").write_text(root, encoding="latin-1")


if __name__ == "__main__":
    main()
