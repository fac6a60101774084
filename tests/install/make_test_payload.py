"""TEXT resources for the extraction tests: streams built to sit exactly on
the edges the extraction must handle, the resource script that carries them,
and a header telling the tests what each one holds."""
import sys
import zlib

out = sys.argv[1]

CAPACITY = 4096   # the buffer the tests inflate into


def pattern(length):
    # Not compressible to nothing, and easy for the test to recompute.
    return bytes((i * 7 + i // 251) & 0xFF for i in range(length))


streams = {}
streams["EMPTY"] = (900, zlib.compress(b"", 9))
streams["EXACT"] = (901, zlib.compress(pattern(CAPACITY), 9))
streams["OVER"] = (902, zlib.compress(pattern(CAPACITY + 1), 9))
bad = bytearray(zlib.compress(pattern(1000), 9))
bad[-1] ^= 0x01                          # Adler-32 wrong, deflate data intact
streams["BAD_ADLER"] = (903, bytes(bad))
streams["TRUNCATED"] = (904, zlib.compress(pattern(1000), 9)[:-20])
streams["STORED"] = (905, zlib.compress(pattern(300), 0))   # header 78 01
streams["SMALL"] = (906, zlib.compress(b"Tarvo payload\r\n", 9))

assert streams["EXACT"][1][:2] == b"\x78\xda" and streams["STORED"][1][:2] == b"\x78\x01"
# The damaged stream must still carry valid deflate data: only the trailer
# is wrong.
raw = zlib.decompressobj(-15)
assert raw.decompress(bytes(bad)[2:-4]) == pattern(1000)

with open(f"{out}/install_test_payload.rc", "w") as rc:
    rc.write("// Generated: TEXT resources of the extraction tests.\n")
    for name, (ident, data) in streams.items():
        path = f"{out}/test_{name.lower()}.z"
        open(path, "wb").write(data)
        rc.write(f'{ident} TEXT "{path}"\n')

with open(f"{out}/install_test_payload.h", "w") as header:
    header.write("// Generated with the extraction tests' TEXT resources.\n#pragma once\n")
    header.write(f"constexpr unsigned long TestCapacity = {CAPACITY};\n")
    for name, (ident, data) in streams.items():
        camel = "".join(part.capitalize() for part in name.split("_"))
        header.write(f"constexpr unsigned short Test{camel}Id = {ident};\n")
    header.write("constexpr unsigned short TestMissingId = 999;\n")
    header.write("constexpr const char TestSmallText[] = \"Tarvo payload\\r\\n\";\n")
    header.write("// Pattern bytes: (i * 7 + i / 251) & 0xFF.\n")
