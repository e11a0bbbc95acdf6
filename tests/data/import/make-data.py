#!/usr/bin/python3
"""Writes the import conformance files: for every format a folder of small inputs, each
with the pixels it must show as <input>.png (RGBA, straight alpha) and a line in the
folder's notes.txt: "<input> <tolerance> <how the pair was made>". A tolerance of
"refused" means the file must be refused with a clear error.

The inputs come from writers that are not the readers under test: Pillow, ImageMagick's
convert, netpbm, and byte layouts written here from the formats' documentation. The
expected pixels are the picture the writer was given, or Pillow's decoding where the
writer is lossy. The bmpsuite folder holds only expected pictures, made by Pillow from
the shared suite, which the test reads in place.

Needs python3-pil, python3-numpy, imagemagick and netpbm (Debian). Run from anywhere:
    tests/data/import/make-data.py [SUITES_DIR]
"""

import io
import os
import shutil
import struct
import subprocess
import sys
import tempfile

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
SUITES = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "../../../../shared/testimages")
W, H = 13, 7


def colour_picture(alpha=False):
    """Red rises to the right, green downwards, blue falls to the right; with alpha the
    top row fades from transparent and one pixel further down is half transparent."""
    im = Image.new("RGBA", (W, H))
    for y in range(H):
        for x in range(W):
            a = 255
            if alpha and y == 0:
                a = min(255, x * 24)
            if alpha and (x, y) == (5, 3):
                a = 128
            im.putpixel((x, y), (x * 255 // (W - 1), y * 255 // (H - 1), 200 - x * 15, a))
    return im if alpha else im.convert("RGB")


def grey_picture():
    return Image.eval(colour_picture().convert("L"), lambda v: v)


def bilevel_picture():
    im = Image.new("1", (W, H))
    for y in range(H):
        for x in range(W):
            im.putpixel((x, y), 1 if (x * x + 3 * y) % 7 < 3 or x == y else 0)
    return im


def palette_picture(colours=16):
    return colour_picture().quantize(colours, method=Image.Quantize.MEDIANCUT)


class Folder:
    def __init__(self, name):
        self.path = os.path.join(HERE, name)
        shutil.rmtree(self.path, ignore_errors=True)
        os.makedirs(self.path)
        self.notes = []

    def file(self, name):
        return os.path.join(self.path, name)

    def pair(self, name, expected, note, tolerance=0):
        expected.convert("RGBA").save(self.file(name + ".png"))
        self.notes.append(f"{name} {tolerance} {note}")

    def refused(self, name, note):
        self.notes.append(f"{name} refused {note}")

    def bytes(self, name, data):
        with open(self.file(name), "wb") as f:
            f.write(data)

    def close(self):
        with open(self.file("notes.txt"), "w") as f:
            f.write("\n".join(self.notes) + "\n")


def run(*command, stdin=None):
    return subprocess.run(command, input=stdin, check=True, capture_output=True).stdout


def netpbm(picture):
    out = io.BytesIO()
    picture.save(out, "PPM")
    return out.getvalue()


# ---- TGA, written byte by byte ----

def tga_pixel(rgba, depth, attribute_bits):
    r, g, b, a = rgba
    if depth == 8:
        return bytes([r])
    if depth == 16 and attribute_bits == 8:  # grey + alpha
        return bytes([r, a])
    if depth in (15, 16):
        v = (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3)
        if attribute_bits and a >= 128:
            v |= 0x8000
        return struct.pack("<H", v)
    if depth == 24:
        return bytes([b, g, r])
    return bytes([b, g, r, a if attribute_bits else 0x5A])


def tga_rle(pixels):
    out, i = bytearray(), 0
    while i < len(pixels):
        run_length = 1
        while i + run_length < len(pixels) and run_length < 128 and pixels[i + run_length] == pixels[i]:
            run_length += 1
        if run_length > 1:
            out += bytes([0x80 | (run_length - 1)]) + pixels[i]
            i += run_length
            continue
        j = i + 1
        while j < len(pixels) and j - i < 128 and (j + 1 >= len(pixels) or pixels[j] != pixels[j + 1]):
            j += 1
        out += bytes([j - i - 1]) + b"".join(pixels[i:j])
        i = j
    return bytes(out)


def tga(picture, kind, depth, origin, rle=False, attribute_bits=0, unused_map=False, image_id=b"",
        extension_alpha=None):
    """kind: 'true', 'grey' or 'mapped' (picture in mode P); origin: 'bl', 'br', 'tl', 'tr'."""
    width, height = picture.size
    rows = list(range(height)) if origin[0] == "t" else list(range(height - 1, -1, -1))
    cols = list(range(width)) if origin[1] == "l" else list(range(width - 1, -1, -1))
    colour_map, map_type, map_length, map_depth = b"", 0, 0, 0
    if kind == "mapped":
        palette = picture.getpalette()[: 3 * 256]
        map_length = len(palette) // 3
        map_type, map_depth = 1, 24
        colour_map = b"".join(bytes([palette[3 * i + 2], palette[3 * i + 1], palette[3 * i]]) for i in range(map_length))
        pixels = [bytes([picture.getpixel((x, y))]) for y in rows for x in cols]
    else:
        rgba = picture.convert("RGBA")
        if kind == "grey":
            grey = picture.convert("L")
            rgba = Image.merge("RGBA", (grey, grey, grey, rgba.getchannel("A")))
        pixels = [tga_pixel(rgba.getpixel((x, y)), depth, attribute_bits) for y in rows for x in cols]
        if unused_map:
            map_type, map_length, map_depth = 1, 4, 24
            colour_map = bytes(range(12))
    image_type = {"mapped": 1, "true": 2, "grey": 3}[kind] + (8 if rle else 0)
    descriptor = attribute_bits | (0x20 if origin[0] == "t" else 0) | (0x10 if origin[1] == "r" else 0)
    header = struct.pack("<BBBHHBHHHHBB", len(image_id), map_type, image_type, 0, map_length, map_depth, 0, 0,
                         width, height, depth, descriptor)
    data = tga_rle(pixels) if rle else b"".join(pixels)
    body = header + image_id + colour_map + data
    if extension_alpha is None:
        return body
    extension = bytearray(495)
    struct.pack_into("<H", extension, 0, 495)
    extension[494] = extension_alpha
    footer = struct.pack("<II", len(body), 0) + b"TRUEVISION-XFILE.\0"
    return body + bytes(extension) + footer


def on_alpha_bits(picture, attribute_bits, depth):
    """The picture as a reader must show it: 1-bit alpha for 16-bit files, none when
    the descriptor declares no alpha bits."""
    rgba = picture.convert("RGBA")
    if depth in (15, 16) and attribute_bits == 1:
        rgba.putalpha(rgba.getchannel("A").point(lambda a: 255 if a >= 128 else 0))
    elif not attribute_bits:
        rgba.putalpha(255)
    if depth in (15, 16):
        rgba = Image.merge("RGBA", [c.point(lambda v: ((v >> 3) * 255 + 15) // 31) for c in rgba.split()[:3]] + [rgba.getchannel("A")])
    return rgba


def make_tga():
    f = Folder("tga")
    colour, alpha = colour_picture(), colour_picture(True)
    for origin in ("bl", "br", "tl", "tr"):
        for rle in (False, True):
            name = f"rgb24-{origin}{'-rle' if rle else ''}.tga"
            f.bytes(name, tga(colour, "true", 24, origin, rle))
            f.pair(name, colour, f"24-bit, origin {origin}{', RLE' if rle else ''}, written here")
    for depth, bits, rle in ((32, 8, False), (32, 8, True), (32, 0, False), (16, 1, False), (16, 0, True), (15, 0, False)):
        name = f"rgb{depth}-alpha{bits}{'-rle' if rle else ''}.tga"
        f.bytes(name, tga(alpha, "true", depth, "bl", rle, bits))
        f.pair(name, on_alpha_bits(alpha, bits, depth), f"{depth}-bit, {bits} alpha bits, written here")
    blank_alpha = colour_picture(True)
    blank_alpha.putalpha(0)
    f.bytes("rgb32-alpha-all-zero.tga", tga(blank_alpha, "true", 32, "bl", attribute_bits=8))
    f.pair("rgb32-alpha-all-zero.tga", colour, "32-bit whose 8 alpha bits are all 0, shown opaque, written here")
    f.bytes("rgb32-attributes-ignored.tga", tga(alpha, "true", 32, "tl", attribute_bits=8, extension_alpha=2))
    f.pair("rgb32-attributes-ignored.tga", colour, "32-bit, extension area says the alpha is undefined, written here")
    f.bytes("rgb24-unused-map.tga", tga(colour, "true", 24, "tl", unused_map=True, image_id=b"id"))
    f.pair("rgb24-unused-map.tga", colour, "24-bit with an image id and an unused colour map, written here")
    grey = grey_picture()
    for origin, rle in (("bl", False), ("tr", True)):
        name = f"grey8-{origin}{'-rle' if rle else ''}.tga"
        f.bytes(name, tga(grey, "grey", 8, origin, rle))
        f.pair(name, grey, f"8-bit grey, origin {origin}, written here")
    grey_alpha = Image.merge("LA", (alpha.convert("L"), alpha.getchannel("A")))
    f.bytes("grey16-alpha.tga", tga(grey_alpha, "grey", 16, "tl", attribute_bits=8))
    f.pair("grey16-alpha.tga", grey_alpha, "grey + 8-bit alpha, written here")
    mapped = palette_picture(40)
    for origin, rle in (("bl", False), ("tl", True)):
        name = f"mapped8-{origin}{'-rle' if rle else ''}.tga"
        f.bytes(name, tga(mapped, "mapped", 8, origin, rle))
        f.pair(name, mapped, f"colour-mapped, 24-bit map, origin {origin}, written here")
    colour.save(f.file("pillow-rle.tga"), compression="tga_rle")
    f.pair("pillow-rle.tga", colour, "Pillow, RGB, RLE")
    alpha.save(f.file("pillow-rgba.tga"))
    f.pair("pillow-rgba.tga", alpha, "Pillow, RGBA")
    f.bytes("netpbm.tga", run("pamtotga", "-rgb", stdin=netpbm(colour)))
    f.pair("netpbm.tga", colour, "netpbm pamtotga -rgb")
    f.bytes("truncated.tga", tga(colour, "true", 24, "bl")[:-20])
    f.refused("truncated.tga", "24-bit cut 20 bytes short, written here")
    f.close()


# ---- PCX ----

def make_pcx():
    f = Folder("pcx")
    for mode, picture in (("1", bilevel_picture()), ("L", grey_picture()), ("P", palette_picture(200)),
                          ("RGB", colour_picture())):
        name = f"pillow-{mode.lower()}.pcx"
        picture.save(f.file(name))
        f.pair(name, picture, f"Pillow, mode {mode}")
    bilevel = bilevel_picture()
    bilevel.save(f.file("magick-in.png"))
    for name, args in (("magick-1bit.pcx", ["-type", "bilevel"]), ("magick-rgb.pcx", [])):
        source = bilevel if "1bit" in name else colour_picture()
        source.save(f.file("magick-in.png"))
        run("convert", f.file("magick-in.png"), *args, f.file(name))
        f.pair(name, source, "ImageMagick convert " + " ".join(args))
    os.remove(f.file("magick-in.png"))
    f.bytes("netpbm-1bit.pcx", run("ppmtopcx", stdin=netpbm(bilevel.convert("RGB"))))
    f.pair("netpbm-1bit.pcx", bilevel, "netpbm ppmtopcx of a black and white picture")
    f.bytes("netpbm-16colour.pcx", run("ppmtopcx", stdin=netpbm(palette_picture(16).convert("RGB"))))
    f.pair("netpbm-16colour.pcx", palette_picture(16), "netpbm ppmtopcx of a 16-colour picture (planes)")
    f.bytes("netpbm-24bit.pcx", run("ppmtopcx", "-24bit", stdin=netpbm(colour_picture())))
    f.pair("netpbm-24bit.pcx", colour_picture(), "netpbm ppmtopcx -24bit")
    f.close()


# ---- ICO ----

def dib_entry(picture, bits):
    """A BITMAPINFOHEADER icon image: colour rows bottom-up, then the AND mask."""
    width, height = picture.size
    rgba = picture.convert("RGBA")
    palette = b""
    if bits <= 8:
        quant = rgba.convert("RGB").quantize(1 << bits)
        pal = quant.getpalette()[: 3 * (1 << bits)]
        pal += [0] * (3 * (1 << bits) - len(pal))
        palette = b"".join(bytes([pal[3 * i + 2], pal[3 * i + 1], pal[3 * i], 0]) for i in range(1 << bits))
    rows = b""
    for y in range(height - 1, -1, -1):
        if bits == 32:
            row = b"".join(bytes([b, g, r, a]) for r, g, b, a in (rgba.getpixel((x, y)) for x in range(width)))
        else:
            value, filled, row = 0, 0, bytearray()
            for x in range(width):
                value = value << bits | quant.getpixel((x, y))
                filled += bits
                if filled == 8:
                    row.append(value)
                    value, filled = 0, 0
            if filled:
                row.append(value << (8 - filled))
            row = bytes(row)
        rows += row + bytes(-len(row) % 4)
    mask = b""
    for y in range(height - 1, -1, -1):
        row = bytearray((width + 7) // 8)
        for x in range(width):
            if bits != 32 and rgba.getpixel((x, y))[3] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row) + bytes(-len(row) % 4)
    header = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, bits, 0, len(rows) + len(mask), 0, 0, 0, 0)
    shown = rgba if bits == 32 else quant.convert("RGBA")
    if bits != 32:
        shown.putalpha(rgba.getchannel("A").point(lambda a: 0 if a < 128 else 255))
    return header + palette + rows + mask, shown


def ico(entries, cursor=False):
    out = struct.pack("<HHH", 0, 2 if cursor else 1, len(entries))
    offset = 6 + 16 * len(entries)
    for (width, height, bits, data) in entries:
        planes_or_x, bits_or_y = (3, 4) if cursor else (1, bits)
        out += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, planes_or_x, bits_or_y, len(data), offset)
        offset += len(data)
    return out + b"".join(e[3] for e in entries)


def icon_picture(size, shade):
    im = Image.new("RGBA", (size, size))
    for y in range(size):
        for x in range(size):
            im.putpixel((x, y), (x * 255 // size, shade, y * 255 // size, 255 if (x + y) % 9 else 0))
    return im


def make_ico():
    f = Folder("ico")
    small, small_shown = dib_entry(icon_picture(16, 40), 32)
    large4, _ = dib_entry(icon_picture(32, 90), 4)
    large32, large32_shown = dib_entry(icon_picture(32, 200), 32)
    f.bytes("largest-last.ico", ico([(16, 16, 32, small), (32, 32, 4, large4), (32, 32, 32, large32)]))
    f.pair("largest-last.ico", large32_shown, "16 px 32-bit, 32 px 4-bit, 32 px 32-bit entries; written here")
    f.bytes("deepest-first.ico", ico([(32, 32, 32, large32), (32, 32, 4, large4), (16, 16, 32, small)]))
    f.pair("deepest-first.ico", large32_shown, "the same entries, deepest largest first; written here")
    f.bytes("cursor.cur", ico([(16, 16, 32, small)], cursor=True))
    f.pair("cursor.cur", small_shown, "a cursor with one 32-bit entry; written here")
    for bits in (1, 4, 8):
        data, shown = dib_entry(icon_picture(16, 120), bits)
        name = f"mask-{bits}bit.ico"
        f.bytes(name, ico([(16, 16, bits, data)]))
        f.pair(name, shown, f"one {bits}-bit entry with its AND mask; written here")
    source = icon_picture(48, 160)
    source.save(f.file("pillow-png.ico"), sizes=[(16, 16), (48, 48), (24, 24)])
    f.pair("pillow-png.ico", Image.open(f.file("pillow-png.ico")), "Pillow, PNG entries of 16, 48, 24 px; expected: Pillow")
    big = icon_picture(256, 10)
    png = io.BytesIO()
    big.save(png, "PNG")
    f.bytes("png-256.ico", ico([(16, 16, 32, small), (256, 256, 32, png.getvalue())]))
    f.pair("png-256.ico", big, "a 16 px DIB and a 256 px PNG entry; written here")
    f.close()


# ---- BMP / DIB ----

def make_bmp():
    f = Folder("bmp")
    for mode, picture in (("1", bilevel_picture()), ("L", grey_picture()), ("P", palette_picture(200)),
                          ("RGB", colour_picture())):
        name = f"pillow-{mode.lower()}.bmp"
        picture.save(f.file(name))
        f.pair(name, picture, f"Pillow, mode {mode}")
    good = open(f.file("pillow-rgb.bmp"), "rb").read()
    f.bytes("wrong-file-size.bmp", good[:2] + struct.pack("<I", 12345678) + good[6:])
    f.pair("wrong-file-size.bmp", colour_picture(), "Pillow RGB with the file-size field set to 12345678")
    f.bytes("packed.dib", good[14:])
    f.pair("packed.dib", colour_picture(), "Pillow RGB without its 14-byte file header")
    f.bytes("with-header.dib", good)
    f.pair("with-header.dib", colour_picture(), "Pillow RGB named .dib")
    f.bytes("spare-byte.bmp", bmp32_spare_byte(colour_picture()))
    f.pair("spare-byte.bmp", colour_picture(), "32-bit BI_RGB whose spare bytes are 0x5A, written here")
    colour_picture().save(f.file("magick-in.png"))
    run("convert", f.file("magick-in.png"), "-type", "palette", "-compress", "RLE", "BMP3:" + f.file("magick-rle8.rle"))
    f.pair("magick-rle8.rle", colour_picture(), "ImageMagick convert -type palette -compress RLE BMP3")
    os.remove(f.file("magick-in.png"))
    f.close()


def bmp32_spare_byte(picture):
    rows = b"".join(bytes([b, g, r, 0x5A]) for y in range(H - 1, -1, -1)
                    for r, g, b in (picture.getpixel((x, y)) for x in range(W)))
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 32, 0, len(rows), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(info) + len(rows), 0, 0, 14 + len(info)) + info + rows


# bmpsuite draws every file alike; where Pillow and netpbm decode a file wrongly (seen
# by eye), the expected picture is that of a file of the same colours.
BMPSUITE_SAME_AS = {"g/pal4rle.bmp": "g/pal4.bmp", "g/rgb32bf.bmp": "g/rgb24.bmp", "q/rgb32h52.bmp": "g/rgb24.bmp",
                    "q/rgb32-111110.bmp": "g/rgb24.bmp"}
# Files both decoders get wrong and no other file matches: they must only open or be
# refused without harm.
BMPSUITE_UNCHECKED = {"q/pal4rletrns.bmp", "q/pal8rletrns.bmp", "q/rgb16-231.bmp", "q/rgba16-4444.bmp",
                      "q/rgba32.bmp", "q/rgba32h56.bmp"}


def make_bmpsuite():
    """Expected pictures for the shared bmpsuite, decoded by Pillow or, where Pillow
    cannot, by netpbm's bmptopnm. Sixteen-bit and wider bit fields are scaled to 8 bits
    with differing rounding, hence a tolerance of 1."""
    suite = os.path.join(SUITES, "bmpsuite")
    f = Folder("bmpsuite")
    for group in ("g", "q"):
        os.makedirs(f.file(group), exist_ok=True)
        for name in sorted(os.listdir(os.path.join(suite, group))):
            key = f"{group}/{name}"
            if key in BMPSUITE_UNCHECKED:
                continue
            path = os.path.join(suite, BMPSUITE_SAME_AS.get(key, key))
            try:
                picture = Image.open(path)
                picture.load()
                note = "Pillow's decoding of the shared file"
            except Exception:
                try:
                    picture = Image.open(io.BytesIO(run("bmptopnm", path)))
                    note = "netpbm bmptopnm's decoding of the shared file (Pillow refuses it)"
                except subprocess.CalledProcessError:
                    continue
            if key in BMPSUITE_SAME_AS:
                note = f"Pillow's decoding of {BMPSUITE_SAME_AS[key]}, the same picture (Pillow and netpbm misread this one)"
            f.pair(key, picture, note, 1)
    f.close()


# ---- PNM, SGI ----

def make_pnm():
    f = Folder("pnm")
    colour, grey, bilevel = colour_picture(), grey_picture(), bilevel_picture()
    for name, picture in (("pillow.ppm", colour), ("pillow.pgm", grey), ("pillow.pbm", bilevel)):
        picture.save(f.file(name))
        f.pair(name, picture, "Pillow")
    f.bytes("netpbm-plain.ppm", run("pnmtoplainpnm", stdin=netpbm(colour)))
    f.pair("netpbm-plain.ppm", colour, "netpbm pnmtoplainpnm")
    f.bytes("netpbm-16bit.ppm", run("pamdepth", "65535", stdin=netpbm(colour)))
    f.pair("netpbm-16bit.ppm", colour, "netpbm pamdepth 65535")
    f.close()


def make_sgi():
    f = Folder("sgi")
    for name, picture in (("pillow-rgb.sgi", colour_picture()), ("pillow-rgba.rgba", colour_picture(True)),
                          ("pillow-grey.bw", grey_picture())):
        picture.save(f.file(name), format="SGI")
        f.pair(name, picture, "Pillow")
    f.bytes("netpbm-rle.rgb", run("pnmtosgi", "-rle", stdin=netpbm(colour_picture())))
    f.pair("netpbm-rle.rgb", colour_picture(), "netpbm pnmtosgi -rle")
    f.close()


# ---- TIFF ----

def make_tiff():
    f = Folder("tiff")
    colour, alpha = colour_picture(), colour_picture(True)
    for name, picture, options in (("pillow-rgb-lzw.tif", colour, {"compression": "tiff_lzw"}),
                                   ("pillow-rgba-deflate.tif", alpha, {"compression": "tiff_adobe_deflate"}),
                                   ("pillow-grey-packbits.tif", grey_picture(), {"compression": "packbits"}),
                                   ("pillow-bilevel-g4.tif", bilevel_picture(), {"compression": "group4"}),
                                   ("pillow-palette.tif", palette_picture(200), {}),
                                   ("pillow-cmyk.tif", colour.convert("CMYK"), {})):
        picture.save(f.file(name), **options)
        shown = picture if picture.mode != "CMYK" else Image.open(f.file(name)).convert("RGB")
        f.pair(name, shown, "Pillow, " + (", ".join(options.values()) or "uncompressed"))
    floats = Image.new("F", (W, H))
    for y in range(H):
        for x in range(W):
            floats.putpixel((x, y), (x * 19 + y * 5) / 255.0)
    floats.save(f.file("pillow-float-grey.tif"))
    f.pair("pillow-float-grey.tif", floats.point(lambda v: v * 255).convert("L"), "Pillow, 32-bit float grey 0..1")
    colour.save(f.file("magick-in.png"))
    for name, args, tolerance in (("magick-float-rgb.tif", ["-depth", "32", "-define", "quantum:format=floating-point"], 1),
                                  ("magick-half-rgb.tif", ["-depth", "16", "-define", "quantum:format=floating-point"], 1),
                                  ("magick-12bit.tif", ["-depth", "12"], 1),
                                  ("magick-16bit.tif", ["-depth", "16"], 0)):
        run("convert", f.file("magick-in.png"), *args, f.file(name))
        f.pair(name, colour, "ImageMagick convert " + " ".join(args), tolerance)
    os.remove(f.file("magick-in.png"))
    f.close()


# ---- JPEG ----

def make_jpeg():
    f = Folder("jpeg")
    colour = colour_picture().resize((W * 4, H * 4))
    for name, picture in (("pillow-rgb.jpg", colour), ("pillow-grey.jpeg", colour.convert("L")),
                          ("pillow-cmyk.jpg", colour.convert("CMYK"))):
        picture.save(f.file(name), quality=90)
        f.pair(name, Image.open(f.file(name)).convert("RGB"), "Pillow writes, Pillow decodes (Adobe CMYK is inverted)", 3)
    colour.save(f.file("magick-in.png"))
    run("convert", f.file("magick-in.png"), "-colorspace", "CMYK", "-quality", "90", f.file("magick-cmyk.jpe"))
    f.pair("magick-cmyk.jpe", Image.open(f.file("magick-cmyk.jpe")).convert("RGB"),
           "ImageMagick convert -colorspace CMYK; expected: Pillow", 3)
    os.remove(f.file("magick-in.png"))
    data = bytearray(open(f.file("pillow-rgb.jpg"), "rb").read())
    sof = data.find(b"\xff\xc0")
    data[sof + 4] = 12
    f.bytes("precision12.jpg", bytes(data))
    f.refused("precision12.jpg", "Pillow RGB with the frame's sample precision set to 12")
    f.close()


# ---- PSD, written byte by byte (merged image only) ----

def psd(channels, depth, mode, width=W, height=H, colour_data=b"", layer_count=0, rle=False):
    """channels: a list of planes, each a list of rows of samples."""
    header = b"8BPS" + struct.pack(">H6xHIIHH", 1, len(channels), height, width, depth, mode)
    layers = b""
    if layer_count:  # the layer info (its length, the count, padding) and an empty global mask
        layers = struct.pack(">Ih", 4, layer_count) + b"\0\0" + struct.pack(">I", 0)
    layers = struct.pack(">I", len(layers)) + layers
    sample = {1: ">B", 8: ">B", 16: ">H", 32: ">f"}[depth]
    if depth == 1:
        planes = [b"".join(bytes(packbits_row(row, True)) for row in plane) for plane in channels]
    else:
        planes = [b"".join(b"".join(struct.pack(sample, v) for v in row) for row in plane) for plane in channels]
    if rle:
        rows = [row for plane in channels for row in plane]
        packed = [packbits(b"".join(struct.pack(sample, v) for v in row)) for row in rows]
        data = struct.pack(">H", 1) + b"".join(struct.pack(">H", len(p)) for p in packed) + b"".join(packed)
    else:
        data = struct.pack(">H", 0) + b"".join(planes)
    return header + struct.pack(">I", len(colour_data)) + colour_data + struct.pack(">I", 0) + layers + data


def packbits_row(row, bits):
    value, out = 0, []
    for i, v in enumerate(row):
        value = value << 1 | v
        if i % 8 == 7:
            out.append(value)
            value = 0
    if len(row) % 8:
        out.append(value << (8 - len(row) % 8))
    return out


def packbits(data):
    out, i = bytearray(), 0
    while i < len(data):
        run_length = 1
        while i + run_length < len(data) and run_length < 128 and data[i + run_length] == data[i]:
            run_length += 1
        if run_length > 2:
            out += bytes([257 - run_length, data[i]])
            i += run_length
            continue
        j = i + 1
        while j < len(data) and j - i < 128 and not (j + 2 < len(data) and data[j] == data[j + 1] == data[j + 2]):
            j += 1
        out += bytes([j - i - 1]) + data[i:j]
        i = j
    return bytes(out)


def planes(picture):
    return [[[band.getpixel((x, y)) for x in range(picture.size[0])] for y in range(picture.size[1])]
            for band in picture.split()]


def make_psd():
    f = Folder("psd")
    colour, alpha = colour_picture(), colour_picture(True)
    f.bytes("rgb8.psd", psd(planes(colour), 8, 3))
    f.pair("rgb8.psd", colour, "RGB 8-bit, raw merged image, written here")
    f.bytes("rgb8-rle.psd", psd(planes(colour), 8, 3, rle=True))
    f.pair("rgb8-rle.psd", colour, "RGB 8-bit, PackBits merged image, written here")
    f.bytes("rgba8-merged-alpha.psd", psd(planes(alpha), 8, 3, layer_count=-1))
    f.pair("rgba8-merged-alpha.psd", alpha, "RGB + alpha, layer count -1 (the merged image's transparency), written here")
    wide = [[[v * 257 for v in row] for row in plane] for plane in planes(colour)]
    f.bytes("rgb16.psd", psd(wide, 16, 3, rle=False))
    f.pair("rgb16.psd", colour, "RGB 16-bit, written here")
    def srgb_to_linear(v):
        v /= 255.0
        return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4
    linear = [[[srgb_to_linear(v) for v in row] for row in plane] for plane in planes(colour)]
    f.bytes("rgb32-float.psd", psd(linear, 32, 3))
    f.pair("rgb32-float.psd", colour, "RGB 32-bit float in linear light, written here", 1)
    grey = grey_picture()
    f.bytes("grey8.psd", psd(planes(grey), 8, 1))
    f.pair("grey8.psd", grey, "greyscale, written here")
    indexed = palette_picture(60)
    pal = indexed.getpalette()[: 3 * 256] + [0] * (768 - len(indexed.getpalette()[: 3 * 256]))
    colour_data = bytes(pal[0::3] + pal[1::3] + pal[2::3])
    f.bytes("indexed.psd", psd([[[indexed.getpixel((x, y)) for x in range(W)] for y in range(H)]], 8, 2,
                               colour_data=colour_data))
    f.pair("indexed.psd", indexed, "indexed, 768-byte palette in planes, written here")
    bilevel = bilevel_picture()
    f.bytes("bitmap.psd", psd([[[0 if bilevel.getpixel((x, y)) else 1 for x in range(W)] for y in range(H)]], 1, 0))
    f.pair("bitmap.psd", bilevel, "bitmap mode (1 = black), written here")
    cmyk = colour.convert("CMYK")
    inverted = [[[255 - v for v in row] for row in plane] for plane in planes(cmyk)]
    f.bytes("cmyk.psd", psd(inverted, 8, 4))
    f.pair("cmyk.psd", cmyk.convert("RGB"), "CMYK (stored as 255 - ink), expected: Pillow's CMYK to RGB, written here", 1)
    f.bytes("multichannel.psd", psd(inverted[:3], 8, 7))
    f.pair("multichannel.psd", Image.merge("CMYK", cmyk.split()[:3] + (Image.new("L", (W, H), 0),)).convert("RGB"),
           "multichannel of three inks (cyan, magenta, yellow), written here", 1)
    f.bytes("truncated.psd", psd(planes(colour), 8, 3)[:-30])
    f.refused("truncated.psd", "RGB 8-bit cut 30 bytes short, written here")
    colour.save(f.file("magick-in.png"))
    run("convert", f.file("magick-in.png"), f.file("magick-rgb.psd"))
    f.pair("magick-rgb.psd", colour, "ImageMagick convert")
    os.remove(f.file("magick-in.png"))
    f.close()


# ---- PNG (what PngSuite does not cover: the gamma rule) ----

def make_png():
    f = Folder("png")
    colour = colour_picture()
    colour.save(f.file("gamma-chunk.png"))
    data = open(f.file("gamma-chunk.png"), "rb").read()
    gama = chunk(b"gAMA", struct.pack(">I", 100000))
    f.bytes("gamma-chunk.png", data[:33] + gama + data[33:])
    f.pair("gamma-chunk.png", colour, "Pillow RGB with gAMA 1.0 added: samples are shown as stored")
    colour16 = Image.merge("RGB", colour.split())
    run("convert", "-", "-depth", "16", "-interlace", "PNG", "-define", "png:exclude-chunk=date,time",
        f.file("interlaced16.png"), stdin=netpbm(colour16))
    f.pair("interlaced16.png", colour, "ImageMagick convert -depth 16 -interlace PNG")
    f.close()


def chunk(kind, body):
    import zlib
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


# ---- Autodesk cels, written byte by byte ----

def flc_chunk(kind, body):
    body += bytes(len(body) % 2)
    return struct.pack("<IH", 6 + len(body), kind) + body


def byte_run_row(row):
    out, i = bytearray([0]), 0
    while i < len(row):
        run_length = 1
        while i + run_length < len(row) and run_length < 127 and row[i + run_length] == row[i]:
            run_length += 1
        if run_length > 2:
            out += bytes([run_length, row[i]])
            i += run_length
            continue
        j = min(len(row), i + 2)
        while j < len(row) and j - i < 127 and not (j + 2 < len(row) and row[j] == row[j + 1] == row[j + 2]):
            j += 1
        out += struct.pack("<b", -(j - i)) + bytes(row[i:j])
        i = j
    return bytes(out)


def flic_cel(picture, six_bit=False, copy=False, magic=0xAF12):
    width, height = picture.size
    pal = (picture.getpalette() + [0] * 768)[:768]
    if six_bit:
        colours = flc_chunk(11, struct.pack("<HBB", 1, 0, 0) + bytes(v >> 2 for v in pal))
    else:
        colours = flc_chunk(4, struct.pack("<HBB", 1, 0, 0) + bytes(pal))
    rows = [[picture.getpixel((x, y)) for x in range(width)] for y in range(height)]
    if copy:
        pixels = flc_chunk(16, bytes(v for row in rows for v in row))
    else:
        pixels = flc_chunk(15, b"".join(byte_run_row(row) for row in rows))
    frame_body = colours + pixels
    frame = struct.pack("<IHHHHHH", 16 + len(frame_body), 0xF1FA, 2, 0, 0, 0, 0) + frame_body
    prefix = struct.pack("<IHH8x", 16 + 64, 0xF100, 1) + struct.pack("<IH58x", 64, 3)
    header = bytearray(128)
    struct.pack_into("<IHHHHHH", header, 0, 128 + len(prefix) + len(frame), magic, 1, width, height, 8, 3)
    struct.pack_into("<I", header, 80, 128 + len(prefix))
    return bytes(header) + prefix + frame


def make_cel():
    f = Folder("cel")
    picture = palette_picture(200)
    f.bytes("pro-byterun.cel", flic_cel(picture))
    f.pair("pro-byterun.cel", picture, "Animator Pro cel: prefix chunk, 256-level palette, byte-run pixels; written here")
    six = Image.new("P", picture.size)
    six.putpalette([(v >> 2) * 255 // 63 if (v >> 2) * 255 % 63 * 2 < 63 else (v >> 2) * 255 // 63 + 1
                    for v in (picture.getpalette() + [0] * 768)[:768]])
    six.putdata(list(picture.getdata()))
    f.bytes("pro-copy-64.pic", flic_cel(picture, six_bit=True, copy=True))
    f.pair("pro-copy-64.pic", six, "Animator Pro picture: 64-level palette, copied pixels; written here")
    f.bytes("truncated.cel", flic_cel(picture)[:-40])
    f.refused("truncated.cel", "the byte-run cel cut 40 bytes short; written here")
    f.close()


# ---- Wavefront RLA, written byte by byte ----

def rla_runs(data):
    out, i = bytearray(), 0
    while i < len(data):
        run_length = 1
        while i + run_length < len(data) and run_length < 128 and data[i + run_length] == data[i]:
            run_length += 1
        if run_length > 1:
            out += bytes([run_length - 1, data[i]])
            i += run_length
            continue
        j = i + 1
        while j < len(data) and j - i < 128 and (j + 1 >= len(data) or data[j] != data[j + 1]):
            j += 1
        out += struct.pack("b", -(j - i)) + bytes(data[i:j])
        i = j
    return bytes(out)


def rla(picture, grey=False, auxiliaries=0):
    width, height = picture.size
    bands = [picture.convert("L")] if grey else list(picture.convert("RGB").split())
    mattes = [picture.getchannel("A")] if picture.mode == "RGBA" else []
    header = bytearray(740)
    struct.pack_into(">8h", header, 0, 0, width - 1, 0, height - 1, 0, width - 1, 0, height - 1)
    struct.pack_into(">6h", header, 16, 1, 0, len(bands), len(mattes), auxiliaries, -2)
    struct.pack_into(">5h", header, 658, 8, 0, 8, 0, 8)
    lines, offset = [], 740 + 4 * height
    for y in range(height - 1, -1, -1):
        line = b""
        for band in bands + mattes + [Image.new("L", picture.size, 7)] * auxiliaries:
            runs = rla_runs(bytes(band.getpixel((x, y)) for x in range(width)))
            line += struct.pack(">H", len(runs)) + runs
        lines.append(line)
    offsets = []
    for line in lines:
        offsets.append(offset)
        offset += len(line)
    return bytes(header) + b"".join(struct.pack(">I", o) for o in offsets) + b"".join(lines)


def make_rla():
    f = Folder("rla")
    f.bytes("rgb.rla", rla(colour_picture()))
    f.pair("rgb.rla", colour_picture(), "three colour channels, bottom row first; written here")
    f.bytes("rgb-matte.rla", rla(colour_picture(True)))
    f.pair("rgb-matte.rla", colour_picture(True), "three colour channels and a matte; written here")
    f.bytes("grey-aux.rpf", rla(grey_picture(), grey=True, auxiliaries=2))
    f.pair("grey-aux.rpf", grey_picture(), "one grey channel and two auxiliary channels; written here")
    f.bytes("truncated.rla", rla(colour_picture())[:-30])
    f.refused("truncated.rla", "three colour channels cut 30 bytes short; written here")
    f.close()


# ---- Enhanced metafile, written record by record ----

def emf_record(kind, body):
    return struct.pack("<II", kind, 8 + len(body)) + body


def emf(width, height, colour):
    """A red-filled rectangle over the whole bounds, drawn without a pen."""
    red, green, blue = colour
    records = [
        emf_record(39, struct.pack("<IIII", 1, 0, red | green << 8 | blue << 16, 0)),  # CREATEBRUSHINDIRECT
        emf_record(37, struct.pack("<I", 1)),  # SELECTOBJECT the brush
        emf_record(37, struct.pack("<I", 0x80000008)),  # SELECTOBJECT the stock NULL_PEN
        emf_record(43, struct.pack("<4i", 0, 0, width, height)),  # RECTANGLE
        emf_record(14, struct.pack("<III", 0, 16, 20)),  # EOF
    ]
    size = 108 + sum(len(r) for r in records)
    header = struct.pack("<II4i4iIIIIHHIII2i2iIII2i", 1, 108, 0, 0, width - 1, height - 1, 0, 0,
                         width * 2540 // 96, height * 2540 // 96, 0x464D4520, 0x10000, size, len(records) + 1, 2, 0,
                         0, 0, 0, 1920, 1080, 508, 286, 0, 0, 0, 508000, 286000)
    return header + b"".join(records)


def make_emf():
    f = Folder("emf")
    f.bytes("rectangle.emf", emf(40, 30, (200, 30, 60)))
    f.pair("rectangle.emf", Image.new("RGB", (39, 29), (200, 30, 60)),
           "a filled rectangle over the bounds 0..39 x 0..29, shown 39 x 29 as libemf2svg sizes it; written here", 2)
    f.bytes("not-a-metafile.emf", b"\1\0\0\0" + bytes(100))
    f.refused("not-a-metafile.emf", "a header record without the signature; written here")
    f.close()


def main():
    for make in (make_emf, make_rla, make_cel, make_tga, make_pcx, make_ico, make_bmp, make_bmpsuite, make_pnm, make_sgi, make_tiff, make_jpeg,
                 make_psd, make_png):
        make()


if __name__ == "__main__":
    main()
