#!/usr/bin/env python3
"""A packager's folder of real engine files: a file found there by its
manifest name is embedded byte for byte instead of its stand-in, every
missing one falls back to its stand-in with a warning, and files that are no
manifest entry are ignored."""
import os
import subprocess
import sys
import tempfile
import zlib


def main():
    generator = sys.argv[1]
    args = [a for a in sys.argv[2:] if not a.startswith("--real-dir")]
    real_ini = b"[Strings]\r\nTitle=real\r\n\r\n[Config]\r\nUseBmpFont=0\r\n\r\n"
    with tempfile.TemporaryDirectory() as tmp:
        real = os.path.join(tmp, "real")
        out = os.path.join(tmp, "out")
        os.makedirs(real)
        with open(os.path.join(real, "engine.ini"), "wb") as f:
            f.write(real_ini)
        with open(os.path.join(real, "not_in_manifest.txt"), "wb") as f:
            f.write(b"ignored")
        run = subprocess.run([sys.executable, generator] + args
                             + ["--real-dir=" + real, "--out", out],
                             capture_output=True, text=True)
        if run.returncode != 0:
            sys.exit("generator failed: " + run.stderr)

        def inflated(rid):
            with open(os.path.join(out, "%d.z" % rid), "rb") as f:
                return zlib.decompress(f.read())

        failures = []
        if inflated(120) != real_ini:
            failures.append("engine.ini (120) is not the real file")
        if len(inflated(128)) != 19306937:
            failures.append("wordbase.idx (128) is not its stand-in")
        warnings = [l for l in run.stderr.splitlines() if l.startswith("warning:")]
        if len(warnings) != 115:
            failures.append("%d warnings for 115 missing files" % len(warnings))
        if any("engine.ini" in w or "not_in_manifest" in w for w in warnings):
            failures.append("a warning names a file that was supplied or is not wanted")
        if not any(" wordbase.idx " in w for w in warnings):
            failures.append("no warning for the missing wordbase.idx")
        if os.path.exists(os.path.join(out, "not_in_manifest.txt")):
            failures.append("a file outside the manifest was carried")
        if failures:
            sys.exit("\n".join(failures))
        print("real file embedded, %d stand-ins with warnings" % len(warnings))


if __name__ == "__main__":
    main()
