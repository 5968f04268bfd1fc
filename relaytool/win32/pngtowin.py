#!/usr/bin/env python3
"""Turns PNG pictures (as rsvg-convert writes them: 8-bit RGB or RGBA,
not interlaced) into the formats the resource compiler takes.

  pngtowin.py ico OUT.ico IN.png [IN.png ...]   one icon, an image per PNG
  pngtowin.py bmp OUT.bmp IN.png                a 24-bit bitmap

An icon image is a 32-bit DIB with its alpha channel and an AND mask drawn
from it. The bitmap drops the alpha channel: its pictures are opaque, the
see-through colour being chosen by the program."""

import struct
import sys
import zlib


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG file")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        sys.exit(f"{path}: only 8-bit RGB or RGBA, not interlaced")
    raw = zlib.decompress(idat)
    bpp = 4 if colour == 6 else 3
    stride = width * bpp
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            left = line[x - bpp] if x >= bpp else 0
            up = previous[x]
            upper_left = previous[x - bpp] if x >= bpp else 0
            if kind == 1:
                line[x] = (line[x] + left) & 0xFF
            elif kind == 2:
                line[x] = (line[x] + up) & 0xFF
            elif kind == 3:
                line[x] = (line[x] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - upper_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - upper_left)
                predictor = left if pa <= pb and pa <= pc else up if pb <= pc else upper_left
                line[x] = (line[x] + predictor) & 0xFF
        previous = line
        if bpp == 3:  # opaque: RGBA like the others
            line = b"".join(line[i:i + 3] + b"\xff" for i in range(0, stride, 3))
        rows.append(bytes(line))
    return width, height, rows


def bitmap_info(width, height, bits, image_size):
    # BITMAPINFOHEADER: one plane, uncompressed.
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 0, 0, 0, 0)


def icon_image(width, height, rows):
    # Bottom-up rows: BGRA, then the AND mask (1 = see-through), rows padded to 4 bytes.
    colour = b"".join(bytes(b for i in range(0, len(row), 4) for b in (row[i + 2], row[i + 1], row[i], row[i + 3]))
                      for row in reversed(rows))
    mask_stride = ((width + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x in range(width):
            if row[x * 4 + 3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    # An icon's header counts the colour and the mask rows together.
    return bitmap_info(width, height * 2, 32, len(colour) + len(mask)) + colour + mask


def write_ico(out, pictures):
    images = [icon_image(*picture) for picture in pictures]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (width, height, _), image in zip(pictures, images):
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(out, "wb") as f:
        f.write(directory + b"".join(images))


def write_bmp(out, picture):
    width, height, rows = picture
    stride = (width * 3 + 3) & ~3
    pixels = b"".join(bytes(b for i in range(0, len(row), 4) for b in (row[i + 2], row[i + 1], row[i]))
                      .ljust(stride, b"\0") for row in reversed(rows))
    info = bitmap_info(width, height, 24, len(pixels))
    with open(out, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info)) + info + pixels)


if __name__ == "__main__":
    if len(sys.argv) < 4 or sys.argv[1] not in ("ico", "bmp"):
        sys.exit(__doc__)
    pictures = [read_png(path) for path in sys.argv[3:]]
    if sys.argv[1] == "ico":
        write_ico(sys.argv[2], pictures)
    else:
        write_bmp(sys.argv[2], pictures[0])
