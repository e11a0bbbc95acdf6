#!/usr/bin/python3
"""Writes the GIF regression cases of this folder: each <case>.gif, written byte by byte
here, and its line in notes.txt: "<case>.gif <how it was made>; <what the peers show>".

The expected <case>.txt files come from the program, written by the runner:
    CORVANE_WRITE_GIF_DATA=1 build/release/tests/gifopt/gifopt_tests --gtest_filter='GifDataFolder.*'
and were checked with --peers, which compares every composed frame of a .txt with
Chromium (through scripts/viewer-oracle.py), ImageMagick's -coalesce and Pillow.

Needs python3-pil; --peers also chromium and imagemagick (Debian). Run from anywhere:
    tests/data/gif/make-data.py [--peers [CASE.gif...]]
"""
import os
import random
import runpy
import struct
import subprocess
import sys
import types

from PIL import Image, ImageSequence

HERE = os.path.dirname(os.path.abspath(__file__))
oracle = types.SimpleNamespace(**runpy.run_path(os.path.join(HERE, '../../../scripts/viewer-oracle.py')))
control, loop = oracle.control, oracle.loop

RGBW = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255)]
KRGBW = [(0, 0, 0)] + RGBW[:3] + [(255, 255, 255)]
EIGHT = [(0, 0, 0), (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0), (0, 255, 255), (255, 0, 255),
         (255, 255, 255)]
GREYS = [(v, v, v) for v in (0, 85, 170, 255)]


class Gif:
    def __init__(self, width, height, colors=None):
        self.data = bytearray(b'GIF89a' + struct.pack('<HH', width, height))
        if colors:
            depth, entries = oracle.table(colors)
            self.data += bytes([0xF0 | depth - 1, 0, 0]) + entries
        else:
            self.data += b'\0\0\0'

    def add(self, *blocks):
        for block in blocks:
            self.data += block
        return self

    def image(self, left, top, width, height, pixels, code_size=8, local=None, interlaced=False, coded=None):
        flags, entries = 0x40 if interlaced else 0, b''
        if local:
            depth, entries = oracle.table(local)
            flags |= 0x80 | depth - 1
        if interlaced:
            pixels = [p for start, step in ((0, 8), (4, 8), (2, 4), (1, 2)) for y in range(start, height, step)
                      for p in pixels[y * width:(y + 1) * width]]
        coded = coded or oracle.coded(pixels, code_size)
        return self.add(b',' + struct.pack('<HHHHB', left, top, width, height, flags) + entries + coded)

    def end(self):
        return bytes(self.data + b';')


def lzw_without_clear(pixels, min_code_size):
    """Full LZW whose table, once it holds 4096 codes, stays as it is: no clear code follows
    and the codes keep 12 bits."""
    clear = 1 << min_code_size
    width, next_code, table = min_code_size + 1, clear + 2, {(p,): p for p in range(clear)}
    codes, prefix = [(clear, width)], (pixels[0],)
    for p in pixels[1:]:
        if prefix + (p,) in table:
            prefix += (p,)
            continue
        codes.append((table[prefix], width))
        if next_code < 4096:
            table[prefix + (p,)] = next_code
            next_code += 1
            if next_code > 1 << width and width < 12:
                width += 1
        prefix = (p,)
    return pack(codes + [(table[prefix], width), (clear + 1, width)], min_code_size)


def pack(codes, min_code_size):
    """(code, width) pairs as the coded pixels of an image: code size, sub-blocks, terminator."""
    bits = count = 0
    out = bytearray()
    for code, size in codes:
        bits, count = bits | code << count, count + size
        while count >= 8:
            out.append(bits & 255)
            bits, count = bits >> 8, count - 8
    out += bytes([bits]) if count else b''
    return bytes([min_code_size]) + b''.join(bytes([len(out[i:i + 255])]) + out[i:i + 255]
                                             for i in range(0, len(out), 255)) + b'\0'


def moving_sprite(disposals, transparent_background):
    """A background and a sprite with a transparent corner moving over it, restored with the
    given disposals in turn."""
    gif = Gif(24, 16, EIGHT).add(loop(0))
    background = [7 if transparent_background and i < 24 * 4 else 1 if i % 24 < 12 else 2 for i in range(24 * 16)]
    gif.add(control(1, 5, 7 if transparent_background else None)).image(0, 0, 24, 16, background)
    sprite = [7 if i < 2 else 3 + i % 3 for i in range(6 * 5)]
    for k, disposal in enumerate(disposals):
        gif.add(control(disposal, 5, 7)).image(2 + 3 * k, 1 + 2 * k, 6, 5, sprite)
    return gif.end()


def disposals_0_to_7():
    """A red screen; frame k+1 paints pixel k green with disposal k; a last frame shows nothing."""
    gif = Gif(8, 1, RGBW).add(control(1, 10)).image(0, 0, 8, 1, [0] * 8, 2)
    for k in range(8):
        gif.add(control(k, 10)).image(k, 0, 1, 1, [1], 2)
    return gif.add(control(0, 10, 3)).image(0, 0, 1, 1, [3], 2).end()


def solid_frames(width, height, frames):
    """Frames of one colour of KRGBW each: (left, top, width, height, index, disposal)."""
    gif = Gif(width, height, KRGBW)
    for left, top, w, h, index, disposal in frames:
        gif.add(control(disposal)).image(left, top, w, h, [index] * (w * h), 3)
    return gif.end()


def truncated_second_frame():
    whole = Gif(4, 2, RGBW).add(control(1, 20)).image(0, 0, 4, 2, [0, 1, 2, 3] * 2, 2)
    return whole.add(control(1, 20)).image(0, 0, 4, 2, [3, 3, 3, 3, 2, 2, 2, 2], 2).end()[:-5]


def noise(width, height, colors, seed):
    generator = random.Random(seed)
    return [generator.randrange(colors) for _ in range(width * height)]


def cases():
    made = {name: data for name, data in oracle.cases().items()}
    made.update({
        'sprite-disposal-1.gif': moving_sprite([1, 1, 1, 1], False),
        'sprite-disposal-2.gif': moving_sprite([2, 2, 2, 1], False),
        'sprite-disposal-3.gif': moving_sprite([1, 3, 3, 1, 3], False),
        'sprite-mixed-transparent-background.gif': moving_sprite([2, 3, 1, 3, 2, 0], True),
        'disposal-0-to-7.gif': disposals_0_to_7(),
        'restore-previous.gif': solid_frames(4, 1, [(0, 0, 4, 1, 1, 1), (0, 0, 1, 1, 2, 3), (1, 0, 1, 1, 3, 3),
                                                    (3, 0, 1, 1, 4, 1)]),
        'reserved-disposal-among-clears.gif': solid_frames(2, 1, [(0, 0, 2, 1, 1, 2), (0, 0, 2, 1, 3, 1),
                                                                  (0, 0, 1, 1, 2, 5), (1, 0, 1, 1, 4, 1)]),
        'reserved-disposal-alone.gif': solid_frames(2, 1, [(0, 0, 2, 1, 3, 1), (0, 0, 1, 1, 2, 5)]),
        'last-control-block-clipped.gif': Gif(2, 1, GREYS).add(control(0, 30), control(0, 1, 1))
        .image(1, 0, 3, 1, [2, 1, 1], 2).add(control(0, 0)).image(0, 0, 1, 1, [2], 2).add(control(0, 40)).end(),
        'frames-outside-screen.gif': Gif(4, 4, RGBW).add(control(1, 10)).image(0, 0, 4, 4, [3] * 16, 2)
        .image(10, 10, 4, 4, [0] * 16, 2).image(2, 2, 4, 4, [1] * 16, 2).image(65534, 1, 4, 1, [2] * 4, 2).end(),
        'long-delays-loop-twice.gif': Gif(1, 1, RGBW).add(loop(2), control(1, 65535)).image(0, 0, 1, 1, [0], 2)
        .add(control(1, 2)).image(0, 0, 1, 1, [1], 2).end(),
        'truncated-second-frame.gif': truncated_second_frame(),
        'cut-in-global-table.gif': Gif(4, 1, RGBW).end()[:16],
        'zero-width-frame.gif': Gif(4, 2, RGBW).image(0, 0, 0, 2, [0, 1, 2, 3] * 2, 2).end(),
        'disposal-2-with-background-index.gif': Gif(3, 1, RGBW).add(control(1, 10)).image(0, 0, 3, 1, [0, 0, 0], 2)
        .add(control(2, 10)).image(1, 0, 1, 1, [1], 2).add(control(1, 10)).image(2, 0, 1, 1, [3], 2).end(),
        'interlaced-data-ends-early.gif': Gif(2, 64, RGBW)
        .image(0, 0, 2, 64, [], interlaced=True, coded=oracle.coded([1, 1, 2, 2, 3, 3], 2)).end(),
        'interlaced.gif': Gif(3, 11, KRGBW).image(0, 0, 3, 11, [y % 5 for y in range(11) for _ in range(3)], 3,
                                                  interlaced=True).end(),
        'local-table-indices-beyond.gif': Gif(3, 1, RGBW).add(control(1, 10)).image(0, 0, 3, 1, [0, 1, 3], 2)
        .add(control(1, 10)).image(0, 0, 3, 1, [1, 0, 3], 2, local=[(255, 255, 0), (0, 255, 255)]).end(),
        'lzw-full-table-without-clear.gif': Gif(96, 80, [(v * 5, 255 - v * 5, v * 3) for v in range(48)])
        .image(0, 0, 96, 80, [], coded=lzw_without_clear(noise(96, 80, 48, 17), 6)).end(),
        'lzw-code-beyond-table.gif': Gif(4, 2, RGBW).add(control(1, 10)).image(0, 0, 4, 2, [3] * 8, 2)
        .add(control(1, 10)).image(0, 0, 4, 2, [], coded=pack([(4, 3), (1, 3), (7, 3), (0, 3), (5, 3)], 2))
        .end(),
    })
    return made


def expected_frames(case):
    """[(width, height, rgba bytes)] of the composed frames of a .txt, before any player part."""
    lines = open(os.path.join(HERE, case[:-4] + '.txt')).read().splitlines()
    if lines[0].startswith('refused'):
        return []
    width, height = int(lines[0].split()[1]), int(lines[0].split()[3])
    colors = {'.': b'\0\0\0\0'}
    for line in lines:
        if line.startswith('colour ') and line[9:] != 'transparent':
            colors[line[7]] = bytes.fromhex(line[9:]) + b'\xff'
    frames = []
    for i, line in enumerate(lines):
        if line == 'player':
            break
        if line.startswith('frame '):
            rows = ''.join(lines[i + 1:i + 1 + height])
            frames.append((width, height, b''.join(colors[c] for c in rows)))
    return frames


def peer_frames(peer, path):
    if peer == 'chromium':
        return oracle.browser_frames(path)
    if peer == 'pillow':
        with Image.open(path) as im:
            return [(f.width, f.height, f.convert('RGBA').tobytes()) for f in ImageSequence.Iterator(im)]
    width, height = struct.unpack('<HH', open(path, 'rb').read()[6:10])
    rgba = subprocess.run(['convert-im6.q16', path, '-coalesce', '-depth', '8', 'rgba:-'], capture_output=True).stdout
    size = width * height * 4
    return [(width, height, rgba[i:i + size]) for i in range(0, len(rgba), size)]


def verdict(ours, peer, path):
    try:
        theirs = peer_frames(peer, path)
    except Exception as error:
        return 'refused (%s)' % str(error).splitlines()[0]
    if len(ours) != len(theirs):
        return '%d frames, expected %d' % (len(theirs), len(ours))
    for k, ((w, h, a), (tw, th, b)) in enumerate(zip(ours, theirs)):
        if (w, h) != (tw, th):
            return 'frame %d is %dx%d' % (k, tw, th)
        for p in range(w * h):
            mine, other = a[4 * p:4 * p + 4], b[4 * p:4 * p + 4]
            if (mine[3] or other[3]) and mine != other:
                return 'frame %d (%d, %d) %s, expected %s' % (k, p % w, p // w, other.hex(), mine.hex())
    return 'same'


def main():
    if sys.argv[1:2] == ['--peers']:
        for case in sys.argv[2:] or sorted(cases()):
            path = os.path.join(HERE, case)
            ours = expected_frames(case)
            print(case, '; '.join('%s: %s' % (peer, verdict(ours, peer, path))
                                  for peer in ('chromium', 'imagemagick', 'pillow')))
        return 0
    for name, data in cases().items():
        if name == 'disposal-2-with-background-index.gif':
            data = data[:11] + bytes([2]) + data[12:]  # the screen's background colour: blue
        with open(os.path.join(HERE, name), 'wb') as f:
            f.write(data)
    return 0


if __name__ == '__main__':
    sys.exit(main())
