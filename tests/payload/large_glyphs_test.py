#!/usr/bin/env python3
"""The larger glyphs as the build made them: every character of the
installer's captions, messages, language names and carried Chinese licence
at every size, each cell inked, about its size high and on its baseline;
and no character that no text of the painter holds.

usage: large_glyphs_test.py generator-folder large_glyphs.z licence.z
"""
import sys
import zlib

# What the user reads, one text of each kind the painter draws.
TEXTS = ["安装程序", "下一步 Next", "同意/安装 Agree/Install", "退一步 Back", "取消 Cancel",
         "改变 Browse ....", "安装路径： (Install Path)", "《Tarvo》 Tarvo", "中文输入引擎 Input Engine",
         "建立桌面图标？  (Place an icon on Desktop)", "开机时自动启动？(Auto-start on boot)",
         "以上中文显示正确吗 (Is the Above Chinese Display OK)?", "正确(OK)", "不正确(NO)",
         "User Interface Language 用户界面语言", "English 英文", "Chinese(Simplified)  中文简体",
         "Chinese(Traditional) 中文繁体", "确认 OK", "是 Yes", "否 No", "祝贺您：安装顺利完成！",
         "安装失败！请检查一下系统后，再重新安装。谢谢！", "内存不够。安装无法继续。", "请您回答提问.",
         "路径 (Directories):", "磁盘 (Drives):"]
ABSENT = "輸龘"     # a Big5 shortcut name's, and no text's


def ink_rows(planes, codes, code, size):
    """The rows of code's cell that hold ink."""
    data = planes[size][1]
    k, row_bytes = codes.index(code), 32 * size // 8
    top, left = k // 32 * size, k % 32 * size
    return [y for y in range(size)
            if any(not data[(top + y) * row_bytes + (left + x) // 8] & (0x80 >> ((left + x) % 8))
                   for x in range(size))]


def main():
    sys.dont_write_bytecode = True   # keep the source tree clean
    sys.path.insert(0, sys.argv[1])
    import large_glyphs
    with open(sys.argv[2], "rb") as f:
        codes, planes = large_glyphs.parse(zlib.decompress(f.read()))
    with open(sys.argv[3], "rb") as f:
        licence = zlib.decompress(f.read()).decode("gbk")
    wanted = {c for c in "".join(TEXTS) + licence if ord(c) > 0x7F}
    code_of = {c: int.from_bytes(c.encode("gbk"), "big") for c in wanted | set(ABSENT)}
    failures = ["%s missing" % c for c in sorted(wanted) if code_of[c] not in codes]
    failures += ["%s present" % c for c in ABSENT if code_of[c] in codes]
    if sorted(planes) != [20, 24, 28, 32]:
        failures.append("sizes %s" % sorted(planes))
    for size, (baseline, _) in sorted(planes.items()):
        blank = [c for c in wanted if code_of[c] in codes and not ink_rows(planes, codes, code_of[c], size)]
        if blank:
            failures.append("%d blank cells at %d pixels" % (len(blank), size))
        if code_of["安"] not in codes:
            continue
        rows = ink_rows(planes, codes, code_of["安"], size)
        height, below = rows[-1] - rows[0] + 1, rows[-1] + 1 - baseline
        print("%d pixels: 安 %d high, %d below its baseline row %d" % (size, height, below, baseline))
        if not (size - size // 8 <= height <= size and 0 <= below <= size // 4):
            failures.append("安 at %d pixels" % size)
    print("%d characters; %s" % (len(codes), "; ".join(failures) or "all there"))
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
