#!/usr/bin/env python3
"""Draw Kestrane's program icon and write it as a Windows .ico file.

The picture is a red quill writing on a rolled parchment scroll, drawn at
32 x 32 in the 16 standard Windows colours, with an AND mask for the
transparent background. The file holds it at 16, 20, 24, 32, 40, 48 and 64
pixels (nearest pixel, so the lines stay crisp), one for each size the caption,
the taskbar and the About box ask for from 96 to 192 dpi; each is a 4 bpp
BITMAPINFOHEADER image so that every Windows version (and Wine) can show it.

Usage: make_icon.py [output.ico]   (default: resources/kestrane.ico beside
this script's parent directory)
"""
import os
import struct
import sys

# The standard 16-colour Windows palette, as (red, green, blue), with the
# letter that stands for each colour in the picture below.
PALETTE = [
    ("K", (0x00, 0x00, 0x00)),  # black
    ("r", (0x80, 0x00, 0x00)),  # dark red
    ("g", (0x00, 0x80, 0x00)),  # dark green
    ("o", (0x80, 0x80, 0x00)),  # olive
    ("n", (0x00, 0x00, 0x80)),  # navy
    ("p", (0x80, 0x00, 0x80)),  # purple
    ("t", (0x00, 0x80, 0x80)),  # teal
    ("s", (0xC0, 0xC0, 0xC0)),  # silver
    ("G", (0x80, 0x80, 0x80)),  # grey
    ("R", (0xFF, 0x00, 0x00)),  # red
    ("L", (0x00, 0xFF, 0x00)),  # lime
    ("Y", (0xFF, 0xFF, 0x00)),  # yellow
    ("B", (0x00, 0x00, 0xFF)),  # blue
    ("M", (0xFF, 0x00, 0xFF)),  # magenta
    ("C", (0x00, 0xFF, 0xFF)),  # cyan
    ("W", (0xFF, 0xFF, 0xFF)),  # white
]
TRANSPARENT = "."

# Top row first, as it is seen.
PICTURE = [
    "................................",
    "..............................r.",
    "............................rRWr",
    "..........................rrRWr.",
    "........................rrRRWRr.",
    ".......................rRRRWRr..",
    "......................rRRWWRr...",
    "...KKKKKKKKKKKKKKKKKKrRRWWRRr...",
    "..KYYYYYYYYYYYYYYYYYYrRRWRRr....",
    "..KooooooooooooooooorRRWRRrK....",
    "...KKKKKKKKKKKKKKKKrRRWRRrK.....",
    "....KWWWWWWWWWWWWWWrRWRRrK......",
    "....KWWWWWWWWWWWWWWrWWRRrK......",
    "....KWWnnnnWnnnnnWnWWrrrsK......",
    "....KWWWWWWWWWWWWWKKWWWWsK......",
    "....KWWWWWWWWWWWWKKWWWWWsK......",
    "....KWWnnnnWnnnnnKnnWWWWsK......",
    "....KWWWWWWWWWWWKKWWWWWWsK......",
    "....KWWWWWWWWWWKKWWWWWWWsK......",
    "....KWWnnnnWnnKKnWnnnWWWsK......",
    "....KWWWWWWWWKKWWWWWWWWWsK......",
    "....KWWWWWWWWKWWWWWWWWWWsK......",
    "....KWWnnnnWKWWWWWWWWWWWsK......",
    "....KWWWWWWKWWWWWWWWWWWWsK......",
    "....KWWWWWWWWWWWWWWWWWWWsK......",
    "....KWWWWWWWWWWWWWWWWWWWsK......",
    "...KKKKKKKKKKKKKKKKKKKKKKKK.....",
    "..KYYYYYYYYYYYYYYYYYYYYYYYYK....",
    "..KooooooooooooooooooooooooK....",
    "...KKKKKKKKKKKKKKKKKKKKKKKK.....",
    "................................",
    "................................",
]

SIZE = 32


SIZES = (16, 20, 24, 32, 40, 48, 64)


def scaled(picture, size):
    """The picture at size x size, each pixel taken from the nearest one."""
    return ["".join(picture[y * SIZE // size][x * SIZE // size] for x in range(size))
            for y in range(size)]


def build_image(picture):
    """Return one icon image (header, palette, colour bits, mask) of a square picture."""
    size = len(picture)
    if any(len(row) != size for row in picture):
        raise ValueError("the picture must be square")
    index = {letter: i for i, (letter, _) in enumerate(PALETTE)}

    # Colour (XOR) bitmap: bottom row first, two pixels a byte, high nibble
    # first, each row padded to a multiple of 4 bytes; the mask likewise, one
    # bit a pixel.
    xor_stride = (size // 2 + 3) // 4 * 4
    and_stride = (size + 31) // 32 * 4
    xor_rows = []
    and_rows = []
    for row in reversed(picture):
        nibbles = []
        mask = bytearray(and_stride)
        for x, ch in enumerate(row):
            if ch == TRANSPARENT:
                nibbles.append(0)  # black under a set mask bit shows the screen
                mask[x // 8] |= 0x80 >> (x % 8)
            elif ch in index:
                nibbles.append(index[ch])
            else:
                raise ValueError("unknown colour letter %r" % ch)
        packed = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor_rows.append(packed.ljust(xor_stride, b"\0"))
        and_rows.append(bytes(mask))
    xor_bits = b"".join(xor_rows)
    and_bits = b"".join(and_rows)

    palette = b"".join(struct.pack("<BBBB", b, g, r, 0)
                       for _, (r, g, b) in PALETTE)
    # The header's height counts the colour bitmap and the mask together.
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0,
                         len(xor_bits) + len(and_bits), 0, 0, 0, 0)
    return header + palette + xor_bits + and_bits


def build_ico(picture):
    """Return the bytes of a .ico holding the picture at every size of SIZES."""
    if len(picture) != SIZE or any(len(row) != SIZE for row in picture):
        raise ValueError("the picture must be 32 rows of 32 characters")
    images = [build_image(scaled(picture, size)) for size in SIZES]
    icondir = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, image in zip(SIZES, images):
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return icondir + entries + b"".join(images)


def main(argv):
    if len(argv) > 1:
        out = argv[1]
    else:
        root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
        out = os.path.join(root, "resources", "kestrane.ico")
    data = build_ico(PICTURE)
    with open(out, "wb") as f:
        f.write(data)
    print("wrote %s (%d bytes)" % (out, len(data)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
