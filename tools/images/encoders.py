"""PNG (8-bit RGBA) and ICO (one 32-bit DIB with AND mask) writers for straight RGBA pixels."""

import struct
import zlib


def _chunk(kind, payload):
    body = kind + payload
    return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body))


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filtered(row, prior):
    """Each of the five row filters applied to one scanline (4 bytes a pixel)."""
    n = len(row)
    left = [0] * 4 + list(row[:-4])
    up = prior
    upleft = [0] * 4 + list(prior[:-4])
    return [
        bytes(row),
        bytes((row[i] - left[i]) & 255 for i in range(n)),
        bytes((row[i] - up[i]) & 255 for i in range(n)),
        bytes((row[i] - ((left[i] + up[i]) >> 1)) & 255 for i in range(n)),
        bytes((row[i] - _paeth(left[i], up[i], upleft[i])) & 255 for i in range(n)),
    ]


def png(width, height, rgba):
    stride = width * 4
    prior = bytes(stride)
    raw = bytearray()
    for y in range(height):
        row = rgba[y * stride:(y + 1) * stride]
        candidates = _filtered(row, prior)
        # Usual heuristic: the filter whose output, read as signed bytes, sums smallest.
        best = min(range(5), key=lambda f: sum(b if b < 128 else 256 - b for b in candidates[f]))
        raw.append(best)
        raw += candidates[best]
        prior = row
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header) +
            _chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + _chunk(b"IEND", b""))


def ico(width, height, rgba):
    xor = bytearray()
    mask_stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(height)):  # DIB rows run bottom-up
        row = rgba[y * width * 4:(y + 1) * width * 4]
        bits = bytearray(mask_stride)
        for x in range(width):
            r, g, b, a = row[x * 4:x * 4 + 4]
            xor += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    image_size = len(xor) + len(mask)
    # BITMAPINFOHEADER: the height counts the colour rows and the mask rows together.
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, image_size, 0, 0, 0, 0)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32,
                        len(info) + image_size, 6 + 16)
    return directory + entry + info + bytes(xor) + bytes(mask)
