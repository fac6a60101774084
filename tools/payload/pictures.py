"""Picture stand-ins: keyboard layouts and welcome banners (BMP), help
screenshots (PNG) and the program icons (ICO)."""
import random

import images
from records import seed_of

PALETTE = [(255, 255, 255), (0, 0, 0), (128, 128, 128), (192, 192, 192),
           (0, 0, 128), (0, 128, 0), (128, 0, 0), (0, 128, 128),
           (255, 255, 224), (224, 240, 255), (255, 0, 0), (0, 0, 255),
           (255, 255, 0), (0, 255, 0), (128, 0, 128), (255, 128, 0)]
WHITE, BLACK, GREY, SILVER, NAVY, GREEN, MAROON, TEAL, CREAM, SKY = range(10)

ROWS = ["1234567890-=", "QWERTYUIOP[]", "ASDFGHJKL;'", "ZXCVBNM,./"]


def keyboard_bmp(name, font, chords=False):
    """A keyboard drawing: four rows of keys, each with its letter and the
    component its key stands for in this layout."""
    rnd = random.Random(seed_of(name))
    hanzi = [bytes((rnd.randrange(0xB0, 0xD8), rnd.randrange(0xA1, 0xFF))).decode("gb2312")
             for _ in range(48)]
    key, gap = 44, 4
    canvas = images.Canvas(13 * (key + gap) + 24, 4 * (key + gap) + 56, SILVER)
    canvas.text(12, 8, name.rsplit(".", 1)[0], font, NAVY)
    n = 0
    for r, row in enumerate(ROWS):
        y = 32 + r * (key + gap)
        for c, letter in enumerate(row):
            x = 12 + r * (key // 2) + c * (key + gap)
            canvas.fill(x, y, key, key, CREAM if not chords or (c + r) % 3 else SKY)
            canvas.frame(x, y, key, key, BLACK)
            canvas.text(x + 4, y + 2, letter, font, BLACK)
            canvas.text(x + 22, y + 24, hanzi[n % len(hanzi)], font, MAROON)
            n += 1
    return images.bmp(canvas, PALETTE)


def welcome_bmp(name, title, font):
    canvas = images.Canvas(164, 314, NAVY)
    for y in range(0, 314, 6):
        canvas.fill(0, y, 164, 2, TEAL)
    canvas.fill(10, 100, 144, 80, WHITE)
    canvas.frame(10, 100, 144, 80, BLACK)
    canvas.text(18, 112, title, font, MAROON)
    canvas.text(18, 144, "Welcome", font, NAVY)
    return images.bmp(canvas, PALETTE)


def screenshot_png(name, font):
    """A help-page screenshot: an editor window with a line of text and a
    candidate list."""
    rnd = random.Random(seed_of(name))
    canvas = images.Canvas(360, 160, WHITE)
    canvas.fill(0, 0, 360, 20, NAVY)
    canvas.text(4, 2, name.rsplit(".", 1)[0], font, WHITE)
    canvas.frame(0, 0, 360, 160, BLACK)
    line = "".join(bytes((rnd.randrange(0xB0, 0xD8), rnd.randrange(0xA1, 0xFF))).decode("gb2312")
                   for _ in range(12))
    canvas.text(8, 32, line, font, BLACK)
    canvas.fill(40, 60, 220, 84, CREAM)
    canvas.frame(40, 60, 220, 84, GREY)
    for i in range(4):
        cand = bytes((rnd.randrange(0xB0, 0xD8), rnd.randrange(0xA1, 0xFF))).decode("gb2312")
        canvas.text(48, 64 + i * 19, "%d.%s" % (i + 1, cand), font, BLACK if i else MAROON)
    return images.png(canvas, PALETTE)


def program_icon(letter, colour, font):
    """A 32x32 and a 16x16 icon: a coloured tile with a letter or
    character on it; index 0 of the palette is transparent."""
    _, narrow = font
    palette = [(0, 0, 0), (255, 255, 255)] + [colour, (0, 0, 0)]
    pictures = []
    for size in (32, 16):
        canvas = images.Canvas(size, size, 0)
        canvas.fill(1, 1, size - 2, size - 2, 2)
        canvas.frame(1, 1, size - 2, size - 2, 3)
        scale = 2 if size == 32 else 1
        width = (8 if ord(letter) in narrow else 16) * scale
        top = (size - 16 * scale) // 2
        if size == 16:
            top, scale = 0, 1
        canvas.text((size - width) // 2, top, letter, font, 1, scale)
        pictures.append((canvas, palette))
    return images.ico(pictures)
