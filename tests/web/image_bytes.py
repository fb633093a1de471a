"""What the web tests compute on their own side: a BPS applier written from the format, the
glyph cells of the image's font in the editor's colour schemes, and a PNG reader for
screenshots. Python's standard library only."""

import struct
import zlib

# ROM offsets of the blocks the tests read back (the image's layout).
FONT_BLOCK = 0x47FC0
SPELL_NAMES, SPELL_NAME_WIDTH = 0x26F567, 7
ESPER_NAMES, ESPER_NAME_WIDTH = 0x26F6E1, 8
ESPER_DATA = 0x186E00
NO_SPELL = bytes.fromhex("8DA8FF92A99EA5A5")  # item 0 of a spell box

# Pixel index 0..3 -> RGB, per colour scheme (index 0 is also the item's background).
SCHEMES = {
    "normal": [(0, 0, 128), (0, 0, 0), (128, 128, 128), (255, 255, 255)],
    "current": [(128, 64, 64), (0, 0, 0), (128, 128, 128), (255, 255, 255)],
    "highlight": [(128, 128, 255), (0, 0, 0), (128, 128, 128), (255, 255, 255)],
}


def apply_bps(source, patch):
    """The target a BPS patch makes of source; raises ValueError for a patch that does not fit."""
    if patch[:4] != b"BPS1":
        raise ValueError("not a BPS patch")
    end = len(patch) - 12
    at = 4

    def number():
        nonlocal at
        value, shift = 0, 1
        while True:
            if at >= end:
                raise ValueError("a number past the patch")
            byte = patch[at]
            at += 1
            value += (byte & 0x7F) * shift
            if byte & 0x80:
                return value
            shift <<= 7
            value += shift

    source_size, target_size, metadata = number(), number(), number()
    at += metadata
    if source_size != len(source):
        raise ValueError(f"the patch is for {source_size} bytes, the source has {len(source)}")
    target = bytearray()
    source_at = target_at = 0
    while at < end:
        command = number()
        kind, length = command & 3, (command >> 2) + 1
        if kind == 0:  # SourceRead
            target += source[len(target):len(target) + length]
        elif kind == 1:  # TargetRead
            target += patch[at:at + length]
            at += length
        else:
            offset = number()
            offset = -(offset >> 1) if offset & 1 else offset >> 1
            if kind == 2:  # SourceCopy
                source_at += offset
                target += source[source_at:source_at + length]
                source_at += length
            else:  # TargetCopy, byte by byte: it may read what it writes
                target_at += offset
                for _ in range(length):
                    target.append(target[target_at])
                    target_at += 1
    checks = struct.unpack("<III", patch[end:])
    if len(target) != target_size:
        raise ValueError("target size")
    if checks != (zlib.crc32(source), zlib.crc32(bytes(target)), zlib.crc32(patch[:end + 8])):
        raise ValueError("a CRC-32 of the patch does not match")
    return bytes(target)


def glyph_indices(image, code):
    """The 8x8 pixel indices of glyph code: 2 bits a pixel, planar, bit 7 the leftmost."""
    tile = image[FONT_BLOCK + 16 * code:FONT_BLOCK + 16 * code + 16]
    return [[(tile[2 * r] >> (7 - x) & 1) | (tile[2 * r + 1] >> (7 - x) & 1) << 1 for x in range(8)]
            for r in range(8)]


def item_pixels(image, text, scheme, width, height, pen_x, top):
    """An owner-drawn item as the editor draws it: the scheme's background, then one glyph cell
    per byte of text from (pen_x, top) on (a leading 0xFE takes no room). Rows of RGB."""
    colours = SCHEMES[scheme]
    rows = [[colours[0]] * width for _ in range(height)]
    if text[:1] == b"\xfe":
        text = text[1:]
    for n, code in enumerate(text):
        for r, line in enumerate(glyph_indices(image, code)):
            for x, index in enumerate(line):
                if 0 <= top + r < height and 0 <= pen_x + 8 * n + x < width:
                    rows[top + r][pen_x + 8 * n + x] = colours[index]
    return rows


def name(image, block, width, index):
    return image[block + width * index:block + width * (index + 1)]


def read_png(data):
    """Width, height and rows of RGB of an 8-bit RGB or RGBA PNG (as Chromium's screenshots)."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    at, idat = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour not in (2, 6) or interlace:
                raise ValueError("a PNG kind the tests do not read")
            channels = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up, corner = previous[i], previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 0xFF
        rows.append([tuple(line[x * channels:x * channels + 3]) for x in range(width)])
        previous = line
    return width, height, rows
