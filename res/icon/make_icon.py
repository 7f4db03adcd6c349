#!/usr/bin/env python3
"""Turn the icon's pixel map into a Windows .ico file.

Usage: make_icon.py PIXELS ICO

PIXELS holds one or more images, each opened by a line "image N" and followed by
N lines of N characters, one character per pixel. Lines starting with "#" are
comments. Each character names a colour of the standard 16-colour palette (see
PALETTE below); "." is a transparent pixel. Every image becomes a 4-bit-per-pixel
entry of the .ico, in the order of the map, with its AND mask.
"""

import struct
import sys

TRANSPARENT = "."

# The standard 16-colour palette in its Windows order: (character, red, green, blue).
PALETTE = (
    ("K", 0x00, 0x00, 0x00),  # black
    ("m", 0x80, 0x00, 0x00),  # maroon
    ("g", 0x00, 0x80, 0x00),  # green
    ("o", 0x80, 0x80, 0x00),  # olive
    ("n", 0x00, 0x00, 0x80),  # navy
    ("p", 0x80, 0x00, 0x80),  # purple
    ("t", 0x00, 0x80, 0x80),  # teal
    ("s", 0xC0, 0xC0, 0xC0),  # silver
    ("a", 0x80, 0x80, 0x80),  # grey
    ("R", 0xFF, 0x00, 0x00),  # red
    ("L", 0x00, 0xFF, 0x00),  # lime
    ("Y", 0xFF, 0xFF, 0x00),  # yellow
    ("B", 0x00, 0x00, 0xFF),  # blue
    ("M", 0xFF, 0x00, 0xFF),  # magenta
    ("C", 0x00, 0xFF, 0xFF),  # cyan
    ("W", 0xFF, 0xFF, 0xFF),  # white
)
COLOUR_INDEX = {entry[0]: index for index, entry in enumerate(PALETTE)}

BITS_PER_PIXEL = 4
ICONDIR_SIZE = 6
ICONDIRENTRY_SIZE = 16
BITMAPINFOHEADER_SIZE = 40
ICON_TYPE = 1
MAX_SIDE = 255  # an .ico directory entry holds a side in one byte


def fail(message):
    sys.exit("make_icon: " + message)


def read_images(path):
    """Return a list of images, each a list of rows of characters, checked."""
    images = []
    side = 0
    with open(path, encoding="ascii") as source:
        for number, line in enumerate(source, 1):
            line = line.rstrip("\n")
            where = "%s:%d: " % (path, number)
            if line.startswith("#") or (not line.strip() and side == 0):
                continue
            if side == 0:
                words = line.split()
                if len(words) != 2 or words[0] != "image" or not words[1].isdigit():
                    fail(where + 'expected "image N", found "%s"' % line)
                side = int(words[1])
                # Two pixels share a byte of colour bits, so a side is even.
                if not 0 < side <= MAX_SIDE or side % 2:
                    fail(where + "a side must be even and at most %d" % MAX_SIDE)
                images.append([])
                continue
            if len(line) != side:
                fail(where + "a row of %d pixels needs %d characters, not %d"
                     % (side, side, len(line)))
            for column, char in enumerate(line, 1):
                if char != TRANSPARENT and char not in COLOUR_INDEX:
                    fail(where + 'unknown colour "%s" in column %d' % (char, column))
            images[-1].append(line)
            if len(images[-1]) == side:
                side = 0
    if side:
        fail("%s: the last image has %d of its %d rows" % (path, len(images[-1]), side))
    if not images:
        fail(path + ": no image")
    return images


def padded(row_bytes):
    """Bitmap rows are padded to a multiple of four bytes."""
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def image_bytes(rows):
    """One .ico image: the bitmap header, the palette, the colour bits, the AND mask."""
    side = len(rows)
    colours = b""
    mask = b""
    for row in reversed(rows):  # a bitmap stores its bottom row first
        indices = [COLOUR_INDEX.get(char, 0) for char in row]
        colours += padded(bytes(hi << 4 | lo for hi, lo in zip(indices[0::2], indices[1::2])))
        bits = [1 if char == TRANSPARENT else 0 for char in row]
        mask += padded(bytes(
            sum(bit << (7 - shift) for shift, bit in enumerate(bits[start:start + 8]))
            for start in range(0, side, 8)))
    # The height counts the colour bitmap and the mask stacked above each other.
    header = struct.pack("<IiiHHIIiiII", BITMAPINFOHEADER_SIZE, side, 2 * side, 1,
                         BITS_PER_PIXEL, 0, len(colours) + len(mask), 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", blue, green, red, 0)
                       for _, red, green, blue in PALETTE)
    return header + palette + colours + mask


def ico_bytes(images):
    bodies = [image_bytes(rows) for rows in images]
    offset = ICONDIR_SIZE + ICONDIRENTRY_SIZE * len(bodies)
    directory = struct.pack("<HHH", 0, ICON_TYPE, len(bodies))
    for rows, body in zip(images, bodies):
        side = len(rows)
        directory += struct.pack("<BBBBHHII", side, side, len(PALETTE), 0, 1,
                                 BITS_PER_PIXEL, len(body), offset)
        offset += len(body)
    return directory + b"".join(bodies)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.split("\n\n")[1])
    data = ico_bytes(read_images(sys.argv[1]))
    with open(sys.argv[2], "wb") as target:
        target.write(data)


if __name__ == "__main__":
    main()
