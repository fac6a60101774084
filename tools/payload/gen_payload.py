#!/usr/bin/env python3
"""Builds the installer's payload: one zlib stream (level 9) per manifest
file as <id>.z, the resource script payload.rc that carries them as "TEXT"
resources, and the installer's icon. The file list is read from the
installer's own manifest table, so it is written in one place only.

Same inputs give the same bytes: no time stamps, every pseudo-random stand-in
is seeded from its file name.
"""
import argparse
import concurrent.futures
import os
import re
import sys
import time
import zlib

sys.dont_write_bytecode = True   # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import atlas       # noqa: E402
import pictures    # noqa: E402
import standins    # noqa: E402

ROW = re.compile(r'\{\{\s*(\d+)\s*,\s*"([^"]+)"\s*,\s*(true|false)\s*,\s*(true|false)\s*\}')
ATLAS_FILE = "GlyphAtlas.bin"

# Icons of the stand-in programs: letter and tile colour.
PROGRAM_ICONS = {
    "TVO.exe": ("T", (0, 0, 160)),
    "Quorlin.exe": ("Q", (0, 128, 0)),
    "KeyTrainer.exe": ("K", (160, 0, 0)),
    "Zelta6Show.exe": ("Z", (0, 128, 128)),
    "TVOUnInstall.exe": ("U", (128, 0, 128)),
}
INSTALLER_ICON = ("塔", (176, 0, 0))


def read_manifest(path):
    """(resource id, file name) of every manifest row, in table order."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    start = text.index("InstallManifest[]")
    rows = [(int(m.group(1)), m.group(2)) for m in ROW.finditer(text, start)]
    declared = re.search(r"ManifestSize\s*==\s*(\d+)", text)
    if declared and int(declared.group(1)) != len(rows):
        raise SystemExit("manifest: read %d rows, the header declares %s"
                         % (len(rows), declared.group(1)))
    ids = [r for r, _ in rows]
    if len(set(ids)) != len(ids):
        raise SystemExit("manifest: a resource id appears twice")
    return rows


def write_file(path, data):
    """Replaces the file in one step, so a build stopped midway leaves no
    half-written stream behind."""
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def compress(data):
    stream = zlib.compress(data, 9)
    assert stream[:2] == b"\x78\xda"
    return stream


def write_icons(folder, font):
    """Icons of the stand-in programs, one folder per program (each
    program's resource script finds its "stub.ico" there)."""
    for name, (letter, colour) in PROGRAM_ICONS.items():
        sub = os.path.join(folder, name.rsplit(".", 1)[0])
        os.makedirs(sub, exist_ok=True)
        write_file(os.path.join(sub, "stub.ico"), pictures.program_icon(letter, colour, font))


def resource_script(rows):
    lines = ["// Generated from the installation manifest: one zlib stream per file,",
             "// in manifest order."]
    for rid, _ in rows:
        lines.append('%d TEXT "%d.z"' % (rid, rid))
    return ("\n".join(lines) + "\n").encode("ascii")


def real_file(real_dir, name):
    if not real_dir:
        return None
    path = os.path.join(real_dir, name)
    return path if os.path.isfile(path) else None


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--manifest", required=True)
    ap.add_argument("--unifont", default="/usr/share/unifont/unifont.hex")
    ap.add_argument("--out", help="payload folder")
    ap.add_argument("--real-dir", default="", help="folder of real engine files")
    ap.add_argument("--program", action="append", default=[], metavar="NAME=PATH",
                    help="a built stand-in program")
    ap.add_argument("--icons", metavar="DIR", help="only write the program icons into DIR")
    ap.add_argument("--list-outputs", action="store_true",
                    help="print the names of the files the payload folder receives")
    ap.add_argument("--check-real-dir", action="store_true",
                    help="print the manifest files missing from --real-dir")
    args = ap.parse_args()

    rows = read_manifest(args.manifest)
    if args.list_outputs:
        print(";".join(["%d.z" % rid for rid, _ in rows] + ["payload.rc", "installer.ico"]))
        return
    if args.check_real_dir:
        for _, name in rows:
            if not real_file(args.real_dir, name):
                print(name)
        return

    started = time.monotonic()
    font = atlas.load_unifont(args.unifont)
    if args.icons:
        write_icons(args.icons, font)
        return
    if not args.out:
        ap.error("--out is required")

    programs = dict(p.split("=", 1) for p in args.program)
    os.makedirs(args.out, exist_ok=True)
    missing_real = []

    def produce(rid, name):
        path = real_file(args.real_dir, name)
        if path:
            with open(path, "rb") as f:
                data = f.read()
        else:
            if args.real_dir:
                missing_real.append(name)
            if name == ATLAS_FILE:
                data = atlas.build_atlas(font, report=print)
            else:
                data = standins.standin(name, font, programs)
        stream = compress(data)
        write_file(os.path.join(args.out, "%d.z" % rid), stream)
        return len(data), len(stream)

    # Largest first, two at a time: zlib releases the interpreter lock.
    big = set(standins.EXACT_SIZES)
    order = sorted(rows, key=lambda r: (r[1] not in big, -standins.EXACT_SIZES.get(r[1], 0)))
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        jobs = {rid: pool.submit(produce, rid, name) for rid, name in order}
        sizes = {rid: job.result() for rid, job in jobs.items()}

    for name in sorted(missing_real):
        print("warning: %s not found in %s; its stand-in is used" % (name, args.real_dir),
              file=sys.stderr)
    write_file(os.path.join(args.out, "payload.rc"), resource_script(rows))
    letter, colour = INSTALLER_ICON
    write_file(os.path.join(args.out, "installer.ico"), pictures.program_icon(letter, colour, font))
    raw = sum(s[0] for s in sizes.values())
    packed = sum(s[1] for s in sizes.values())
    print("payload: %d files, %d bytes, %d compressed, %.1f s"
          % (len(rows), raw, packed, time.monotonic() - started))


if __name__ == "__main__":
    main()
