#!/usr/bin/env python3
"""Writes the hand-made seeds of the fuzz_gif_load target into fuzz/seeds/fuzz_gif_load/,
and those of the renderer into fuzz/seeds/fuzz_gif_render/.

Small files that reach the reader's less common paths: every kind of extension, interlace,
local tables, and the irregular forms the reader tolerates; and files that once cost memory
or time out of all proportion to their size. The samples are seeds too.
"""
import pathlib
import struct

SEEDS = pathlib.Path(__file__).resolve().parent.parent / "fuzz" / "seeds"
OUT = SEEDS / "fuzz_gif_load"
RENDER = SEEDS / "fuzz_gif_render"


def sub_blocks(data):
    out = b""
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out += bytes([len(chunk)]) + chunk
    return out + b"\0"


def pixels(values, code_size):
    """Codes values at the starting code width, with a clear code before the width grows."""
    clear, width, bits, count, data, since = 1 << code_size, code_size + 1, 0, 0, bytearray(), 0
    def put(code):
        nonlocal bits, count
        bits |= code << count
        count += width
        while count >= 8:
            data.append(bits & 0xFF)
            bits >>= 8
            count -= 8
    put(clear)
    for v in values:
        if since == clear - 2:
            put(clear)
            since = 0
        put(v)
        since += 1
    put(clear + 1)
    if count:
        data.append(bits & 0xFF)
    return bytes([code_size]) + sub_blocks(bytes(data))


def screen(signature, w, h, table_bits):
    flags = 0x80 | ((table_bits - 1) << 4) | (table_bits - 1)
    table = b"".join(bytes([i * 40 % 256, i * 90 % 256, i * 17 % 256]) for i in range(1 << table_bits))
    return signature + struct.pack("<HHBBB", w, h, flags, 0, 0) + table


def image(left, top, w, h, values, code_size, flags=0, local=b""):
    return b"\x2c" + struct.pack("<HHHHB", left, top, w, h, flags) + local + pixels(values, code_size)


def control(disposal, delay, transparent=None):
    flags = (disposal << 2) | (1 if transparent is not None else 0)
    return b"\x21\xf9\x04" + struct.pack("<BHB", flags, delay, transparent or 0) + b"\0"


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    (OUT / "tiny.gif").write_bytes(screen(b"GIF87a", 1, 1, 1) + image(0, 0, 1, 1, [1], 2) + b";")

    ramp = [(i * 5) % 8 for i in range(12 * 9)]
    local = b"".join(bytes([255 - i, i, 3 * i]) for i in range(8))
    extensions = (screen(b"GIF89a", 16, 12, 3)
                  + b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x03\x00\x05\x02\x00\x10\x00\x00\x00"
                  + b"\x21\xfe" + sub_blocks(b"a comment" * 40)
                  + b"\x21\xff\x0bXMP DataXMP" + sub_blocks(bytes(range(256)) * 2)
                  + control(3, 7, 5)
                  + b"\x21\x01\x0c" + struct.pack("<HHHHBBBB", 0, 0, 16, 8, 4, 8, 1, 0) + sub_blocks(b"text")
                  + image(2, 1, 12, 9, ramp, 3, 0x40)
                  + b"\x21\xff\x0bANIMEXTS1.0\x03\x01\x00\x00\x00"
                  + control(2, 0)
                  + image(0, 0, 12, 9, ramp, 3, 0x82, local)
                  + b";")
    (OUT / "extensions.gif").write_bytes(extensions)

    oddities = (b"\x01\x02\x03\x04" + screen(b"gif12x", 8, 4, 2)
                + b"\0\0" + b"\x21\xff\x0aABCDEFGHIJ\x02xy\x00"
                + control(1, 2)
                + image(0, 0, 0, 4, [v % 4 for v in range(32)], 2)
                + b"\0" + b"\x21\xfe\x05ab\0cd\x00")
    (OUT / "oddities.gif").write_bytes(oddities)

    # Eight frames of 65535 x 4096 pixels whose data sets one pixel each: memory goes by the
    # data, not by the declared sizes.
    huge = screen(b"GIF89a", 65535, 4096, 1) + (b"\x2c" + struct.pack("<HHHHB", 0, 0, 65535, 4096, 0)
                                               + b"\x02\x02\x4c\x01\x00") * 8 + b";"
    (OUT / "huge-frames.gif").write_bytes(huge)

    # What viewers decide: two control blocks, a frame without any colour table after one
    # with a local table, indices beyond the table, data that ends early.
    viewers = (b"GIF89a" + struct.pack("<HHBBB", 6, 4, 0, 0, 0)
               + control(1, 5, 1) + control(0, 5) + image(0, 0, 6, 4, [v % 8 for v in range(24)], 3, 0x80,
                                                          bytes([255, 0, 0, 0, 255, 0]))
               + control(2, 5) + image(1, 1, 4, 3, [v % 4 for v in range(12)], 2)
               + image(0, 0, 6, 4, [1, 2, 3], 2, 0x40, bytes(6)) + b";")
    (OUT / "viewer-rules.gif").write_bytes(viewers)

    # Many frames with tables of their own, tiled and drawn at 8 bits per pixel (odd sizes
    # with bit 2 set, see FuzzGifRender.cpp): every frame draws with another palette.
    local_tables = screen(b"GIF89a", 1, 1, 1)
    for k in range(120):
        local_tables += image(0, 0, 1, 1, [k % 4], 2, 0x81, bytes((k * 7 + i) % 256 for i in range(12)))
    local_tables += b";"
    local_tables += bytes((5 - len(local_tables)) % 8)
    RENDER.mkdir(parents=True, exist_ok=True)
    (RENDER / "local-tables-8bit-tiled.gif").write_bytes(local_tables)
    (RENDER / "viewer-rules.gif").write_bytes(viewers)


if __name__ == "__main__":
    main()
