#!/usr/bin/env python3
"""Draw Kestrane's program icon and write it as a Windows .ico file.

The picture is a red quill writing on a rolled parchment scroll: one 32 x 32
image in the 16 standard Windows colours, with an AND mask for the
transparent background, stored as a 4 bpp BITMAPINFOHEADER image so that every
Windows version (and Wine) can show it.

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


def build_ico(picture):
    """Return the bytes of a one-image 32 x 32, 4 bpp .ico of the picture."""
    if len(picture) != SIZE or any(len(row) != SIZE for row in picture):
        raise ValueError("the picture must be 32 rows of 32 characters")
    index = {letter: i for i, (letter, _) in enumerate(PALETTE)}

    # Colour (XOR) bitmap: bottom row first, two pixels a byte, high nibble
    # first; 32 pixels make 16 bytes, already a multiple of 4.
    xor_rows = []
    and_rows = []
    for row in reversed(picture):
        nibbles = []
        mask_bits = 0
        for x, ch in enumerate(row):
            if ch == TRANSPARENT:
                nibbles.append(0)  # black under a set mask bit shows the screen
                mask_bits |= 1 << (31 - x)
            elif ch in index:
                nibbles.append(index[ch])
            else:
                raise ValueError("unknown colour letter %r" % ch)
        xor_rows.append(bytes((nibbles[i] << 4) | nibbles[i + 1]
                              for i in range(0, SIZE, 2)))
        and_rows.append(struct.pack(">I", mask_bits))
    xor_bits = b"".join(xor_rows)
    and_bits = b"".join(and_rows)

    palette = b"".join(struct.pack("<BBBB", b, g, r, 0)
                       for _, (r, g, b) in PALETTE)
    # The header's height counts the colour bitmap and the mask together.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0,
                         len(xor_bits) + len(and_bits), 0, 0, 0, 0)
    image = header + palette + xor_bits + and_bits

    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image),
                        6 + 16)
    return icondir + entry + image


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
