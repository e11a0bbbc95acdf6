#!/usr/bin/python3
"""Metadata in picture files, for the command-line tests.
    PictureMetadata.py add SRC DST   copies the JPEG or PNG file SRC to DST with an ICC profile,
                                     an EXIF block and the comment "a comment" added (in a PNG
                                     the comment follows the image data)
    PictureMetadata.py show FILE     prints the metadata of the JPEG file FILE, a line each:
                                     the ICC profile and the EXIF block by their digests, then
                                     the comments"""

import hashlib
import struct
import sys
import zlib


def icc_profile():
    """An RGB display profile libpng takes: a header and one private tag of bytes that do not
    compress, as libpng refuses a profile whose compressed form is very short."""
    tag = b"".join(hashlib.sha256(bytes([i])).digest() for i in range(20))
    size = 128 + 4 + 12 + len(tag)
    header = struct.pack(">I4sI4s4s4s12s4s4sI4s4sQI12s4s44s", size, b"none", 0x02100000, b"mntr", b"RGB ",
                         b"XYZ ", bytes(12), b"acsp", b"none", 0, b"none", b"none", 0, 0,
                         struct.pack(">iii", 0xF6D6, 0x10000, 0xD32D), b"none", bytes(44))
    return header + struct.pack(">I4sII", 1, b"zzzz", size - len(tag), len(tag)) + tag


EXIF = b"II*\x00\x08\x00\x00\x00" + b"\x01\x00" + struct.pack("<HHIHH", 0x0112, 3, 1, 6, 0) + bytes(4)
COMMENT = b"a comment"


def segment(marker, payload):
    return bytes([0xFF, marker]) + struct.pack(">H", len(payload) + 2) + payload


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def add(data):
    if data[:2] == b"\xff\xd8":
        return (data[:2] + segment(0xE1, b"Exif\x00\x00" + EXIF) + segment(0xE2, b"ICC_PROFILE\x00\x01\x01" + icc_profile())
                + segment(0xFE, COMMENT) + data[2:])
    first_idat = data.index(b"IDAT") - 4
    iend = data.index(b"IEND") - 4
    return (data[:first_idat] + chunk(b"iCCP", b"icc\x00\x00" + zlib.compress(icc_profile())) + chunk(b"eXIf", EXIF)
            + data[first_idat:iend] + chunk(b"tEXt", b"Comment\x00" + COMMENT) + data[iend:])


def show(data):
    lines, icc, at = [], b"", 2
    while at + 4 <= len(data) and data[at] == 0xFF and data[at + 1] != 0xDA:
        marker, length = data[at + 1], struct.unpack(">H", data[at + 2:at + 4])[0]
        payload = data[at + 4:at + 2 + length]
        if marker == 0xE1 and payload.startswith(b"Exif\x00\x00"):
            lines.append("exif " + hashlib.sha1(payload[6:]).hexdigest())
        elif marker == 0xE2 and payload.startswith(b"ICC_PROFILE\x00"):
            icc += payload[14:]
        elif marker == 0xFE:
            lines.append("comment " + payload.decode("latin-1"))
        at += 2 + length
    if icc:
        lines.insert(0, "icc " + hashlib.sha1(icc).hexdigest())
    return "\n".join(lines)


if __name__ == "__main__":
    if sys.argv[1] == "add":
        with open(sys.argv[2], "rb") as src, open(sys.argv[3], "wb") as dst:
            dst.write(add(src.read()))
    else:
        with open(sys.argv[2], "rb") as f:
            print(show(f.read()))
