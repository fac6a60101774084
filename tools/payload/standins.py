"""What each installed file holds when no real engine file is supplied:
stand-ins shaped like the real ones (sizes, encodings, headers), so the
installer is exercised as in the field."""
import os
import struct

import pictures
import records
import texts

TEXTS_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "texts")

# The four large word-base and dictionary files have the sizes of the real ones.
EXACT_SIZES = {
    "wordbase.idx": 19306937,
    "corner.bin": 6813140,
    "WordFlat.igb": 4018108,
    "wordbase_x.idx": 3204350,
}

# Plausible sizes of the other binary tables.
SIZES = {
    "keytab.dic": 183402, "charflat.dic": 262144, "onekey.dic": 24576, "order.dic": 61440,
    "lexres.bin": 301958, "LexMain2.bin": 917504, "dupes.dic": 40960, "char2key.bin": 121856,
    "notes2.igb": 153600, "notes3.igb": 148480, "char2snd.bin": 90240, "char2snd1.bin": 90240,
    "char2snd2.bin": 90240, "strokes.bin": 71370, "vwords.dic": 204800, "simp2trad.bin": 30224,
    "trad2simp.bin": 30224, "links1.map": 409600, "links2.map": 393216,
    "grid_strokes_dups.bin": 98304, "grid_strokes.bin": 196608, "grid_strokes_combo.bin": 147456,
    "CompBase.dat": 65536, "Comps.dat": 131072, "CompsStd.dat": 126976, "CompBaseStd.dat": 61440,
    "DisplayFAQ.igb": 40960, "DisplayFAQ_en.igb": 36864, "notes2b.igb": 151552,
    "CharDef.dic": 524288, "wordbase_initials.idx": 819200,
}

WELCOME_TITLES = {"welcome_tvo.bmp": "塔沃输入法", "Welcome_quorlin.bmp": "塔沃编辑器"}


def licence(language):
    """Licence text: written as UTF-8 with LF in the source tree, shipped as
    GBK (Chinese) or ASCII (English) with CR LF after every line."""
    path = os.path.join(TEXTS_DIR, "licence_%s.txt" % language)
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    body = "".join(line + "\r\n" for line in lines)
    return body.encode("gbk" if language == "cn" else "ascii")


def chm(name):
    """Compiled help: an ITSF header followed by directory-like records."""
    size = 180224
    header = struct.pack("<4sIII", b"ITSF", 3, 0x60, 1) + b"\0" * 0x50
    cols = [("const", 4, b"PMGL"), ("index", 4, 0), ("sym", 8, records.KEYS + b"/._"),
            ("step", 4, 16), ("sym", 4, b"\0\0\x01\x02")]
    return records.records(size, name, cols, header)


def help_page(name):
    stem = name.rsplit(".", 1)[0]
    for suffix, lang in (("_b5", "b5"), ("_en", "en")):
        if stem.endswith(suffix):
            return texts.help_page(stem[:-len(suffix)], lang)
    return texts.help_page(stem, "cn")


def magic_of(name):
    """A four-letter ASCII tag per file, from its name."""
    letters = [c for c in name.upper() if c.isalnum()]
    return bytes("".join(letters)[:4].ljust(4, "_"), "ascii")


def standin(name, font, programs):
    """The bytes of the stand-in for the manifest file name."""
    lower = name.lower()
    if name in programs:
        with open(programs[name], "rb") as f:
            return f.read()
    if lower.endswith((".exe", ".dll")):
        raise SystemExit("%s: pass the built stand-in program with --program %s=PATH"
                         % (name, name))
    if name == "GlyphAtlas.bin":
        raise AssertionError("the atlas is built separately")
    if name == "Terms_cn.txt":
        return licence("cn")
    if name == "Terms_en.txt":
        return licence("en")
    if name == "engine.ini":
        return texts.engine_ini()
    if name == "engine_en.ini":
        return texts.engine_ini(english=True)
    if name == "hints.txt":
        return texts.tip_list()
    if name == "hints_en.txt":
        return texts.tip_list(english=True)
    if name == "wordbaseguide.txt":
        return texts.word_base_guide()
    if name == "chars_by_usage.txt":
        return texts.chars_by_usage()
    if name == "bilingual.u8":
        return texts.bilingual_u8()
    if lower.endswith(".htm"):
        return help_page(name)
    if lower.endswith(".png"):
        return pictures.screenshot_png(name, font)
    if lower.endswith(".bmp"):
        if name in WELCOME_TITLES:
            return pictures.welcome_bmp(name, WELCOME_TITLES[name], font)
        return pictures.keyboard_bmp(name, font, chords="chord" in lower)
    if lower.endswith(".chm"):
        return chm(name)
    size = EXACT_SIZES.get(name) or SIZES.get(name)
    if size is None:
        raise SystemExit("no stand-in for %s: add it to the stand-in tables" % name)
    if lower.endswith((".idx", ".igb")):
        return records.word_records(size, name, magic_of(name))
    if lower.endswith(".map") or "2trad" in lower or "2simp" in lower:
        return records.map_records(size, name, magic_of(name))
    return records.char_records(size, name, magic_of(name))
