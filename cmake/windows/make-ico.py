#!/usr/bin/env python3
"""Packs the program icon's PNG pictures (rendered by velkor-make-icons from
res/desktop/velkor*.svg) into res/velkor.ico for the Windows build: the small
sizes as 32-bit bitmaps with an AND mask, 128 and 256 as PNG.
  make-ico.py OUT.ico velkor-16.png velkor-32.png ..."""
import struct
import sys
import zlib


def read_png(data):
    """Width, height and rows of RGBA bytes of an 8-bit RGB(A) PNG."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    pos, idat, width = 8, b"", 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert depth == 8 and colour in (2, 6) and interlace == 0
            channels = 4 if colour == 6 else 3
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, prev = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = prev[i]
            c = prev[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        prev = line
        if channels == 3:
            line = bytearray(b"".join(bytes(line[i:i + 3]) + b"\xff" for i in range(0, stride, 3)))
        rows.append(bytes(line))
    return width, height, rows


def bitmap_entry(width, height, rows):
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b""
    for row in reversed(rows):  # bottom-up, BGRA
        pixels += b"".join(bytes((row[i + 2], row[i + 1], row[i], row[i + 3]))
                           for i in range(0, len(row), 4))
    mask_stride = ((width + 31) // 32) * 4
    mask = bytes(mask_stride * height)  # the alpha channel decides
    return header + pixels + mask


def main():
    out, pngs = sys.argv[1], sys.argv[2:]
    entries = []
    for path in pngs:
        data = open(path, "rb").read()
        width, height, rows = read_png(data)
        body = data if width >= 128 else bitmap_entry(width, height, rows)
        entries.append((width, height, body))
    entries.sort(key=lambda e: -e[0])
    ico = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for width, height, body in entries:
        ico += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    ico += b"".join(body for _, _, body in entries)
    open(out, "wb").write(ico)


if __name__ == "__main__":
    main()
