"""Resources for the wizard's in-process tests: the two licence texts as the
installer carries them (CR LF line ends, the Chinese one in GBK, each one
zlib stream), a small icon 166, and a header with what the tests expect."""
import struct
import sys
import zlib

chinese_source, english_source, out = sys.argv[1:4]


def crlf(text):
    lines = text.replace("\r\n", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    return "".join(line + "\r\n" for line in lines)


chinese = crlf(open(chinese_source, encoding="utf-8").read()).encode("gbk")
english = crlf(open(english_source, encoding="ascii").read()).encode("ascii")
open(f"{out}/licence_cn.z", "wb").write(zlib.compress(chinese, 9))
open(f"{out}/licence_en.z", "wb").write(zlib.compress(english, 9))

size = 32
pixels = b"".join(struct.pack("BBBB", 0xC0, 0x60, 0x30, 0xFF) for _ in range(size * size))
mask = bytes(4 * size)
info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
image = info + pixels + mask
icon = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22)
open(f"{out}/wizard_test.ico", "wb").write(icon + image)

first = chinese.split(b"\r\n")[0]
lines = chinese.count(b"\r")
with open(f"{out}/wizard_test_texts.h", "w") as header:
    header.write("// Generated from the licence texts for the wizard tests.\n#pragma once\n")
    header.write(f"constexpr int TestChineseLines = {lines};\n")
    header.write(f"constexpr int TestEnglishBytes = {len(english)};\n")
    header.write("constexpr const char TestChineseFirstLine[] = \""
                 + "".join(f"\\x{b:02x}" for b in first) + "\";\n")
