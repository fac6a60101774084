#!/usr/bin/env python3
"""Runs the payload generator twice into fresh folders, with the build's own
arguments and different hash seeds, and fails unless both runs wrote the
same files byte for byte."""
import filecmp
import os
import subprocess
import sys
import tempfile


def main():
    generator, args = sys.argv[1], sys.argv[2:]
    with tempfile.TemporaryDirectory() as tmp:
        outs = [os.path.join(tmp, "run%d" % n) for n in (1, 2)]
        for n, out in enumerate(outs):
            # different hash seeds: no output may depend on set or dict order
            env = dict(os.environ, PYTHONHASHSEED=str(n + 1))
            subprocess.run([sys.executable, generator] + args + ["--out", out], check=True,
                           stdout=subprocess.DEVNULL, env=env)
        names = sorted(os.listdir(outs[0]))
        if names != sorted(os.listdir(outs[1])):
            sys.exit("the two runs wrote different file sets")
        if len(names) < 118:
            sys.exit("only %d files written" % len(names))
        _, differ, errors = filecmp.cmpfiles(outs[0], outs[1], names, shallow=False)
        if differ or errors:
            sys.exit("files differ between runs: %s" % ", ".join(differ + errors))
        print("%d files identical in two runs" % len(names))


if __name__ == "__main__":
    main()
