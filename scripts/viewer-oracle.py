#!/usr/bin/python3
"""Shows GIF files as a web browser shows them and compares that with `corvane frames`.

Not part of CI: it needs Debian's chromium and python3-pil (apt-get install chromium
python3-pil). Chromium runs headless with a new empty profile and no network use.

  scripts/viewer-oracle.py [--corvane PATH] FILE.gif...   compare every frame
  scripts/viewer-oracle.py --make DIR                       write the files that settle
                                                           what viewers show when the
                                                           format leaves it open

Each frame is taken composed, as the browser shows it, through the page's ImageDecoder.
A file it refuses (damaged data) is screenshotted as an <img> instead, which gives the
first frame only. Pixels the browser leaves transparent are not compared: the program
shows its fill colour there.
"""
import argparse
import base64
import os
import re
import struct
import subprocess
import sys
import tempfile

from PIL import Image

CHROMIUM = ['chromium', '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync',
            '--hide-scrollbars']

DECODE_PAGE = '''<html><body><pre id=out>pending</pre><script>
(async () => {
  const out = document.getElementById('out');
  try {
    const bytes = Uint8Array.from(atob('%s'), c => c.charCodeAt(0));
    const decoder = new ImageDecoder({data: bytes, type: 'image/gif'});
    await decoder.tracks.ready;
    const track = decoder.tracks.selectedTrack;
    let text = 'repeat ' + track.repetitionCount + '\\n';
    for (let k = 0; k < track.frameCount; ++k) {
      const {image} = await decoder.decode({frameIndex: k});
      const canvas = new OffscreenCanvas(image.displayWidth, image.displayHeight);
      const context = canvas.getContext('2d');
      context.drawImage(image, 0, 0);
      const rgba = context.getImageData(0, 0, canvas.width, canvas.height).data;
      text += 'frame ' + image.duration + ' ' + canvas.width + ' ' + canvas.height + ' ' + Array.from(rgba).join(',') + '\\n';
      image.close();
    }
    out.textContent = text;
  } catch (e) { out.textContent = 'error ' + e; }
})();
</script></body></html>'''

IMG_PAGE = '<html><body style="margin:0;background:#ff00ff"><img src="%s" style="display:block"></body></html>'


def run_chromium(folder, page_text, extra):
    page = os.path.join(folder, 'page.html')
    with open(page, 'w') as f:
        f.write(page_text)
    return subprocess.run(CHROMIUM + ['--user-data-dir=' + os.path.join(folder, 'profile')] + extra +
                          ['file://' + page], capture_output=True, text=True, timeout=120).stdout


def browser_frames(path):
    """[(width, height, rgba bytes)] as the browser composes the frames."""
    with open(path, 'rb') as f:
        data = f.read()
    with tempfile.TemporaryDirectory() as folder:
        text = 'pending'
        # On a busy machine the page may not have finished within its virtual time.
        for _ in range(3):
            dom = run_chromium(folder, DECODE_PAGE % base64.b64encode(data).decode(),
                               ['--virtual-time-budget=10000', '--dump-dom'])
            text = re.search(r'<pre id="out">(.*?)</pre>', dom, re.S).group(1)
            if text != 'pending':
                break
        if text.startswith('repeat'):
            frames = []
            for line in text.splitlines()[1:]:
                _, _, width, height, rgba = line.split(' ')
                frames.append((int(width), int(height), bytes(int(v) for v in rgba.split(','))))
            return frames
        width, height = struct.unpack('<HH', data[6:10])
        shot = os.path.join(folder, 'shot.png')
        run_chromium(folder, IMG_PAGE % ('file://' + os.path.abspath(path)),
                     ['--window-size=%d,%d' % (width, height), '--screenshot=' + shot])
        picture = Image.open(shot).convert('RGB')
        rgba = bytearray()
        for y in range(height):
            for x in range(width):
                rgb = picture.getpixel((x, y))
                rgba += bytes(rgb) + (b'\0' if rgb == (255, 0, 255) else b'\xff')
        return [(width, height, bytes(rgba))]


def program_frames(corvane, path):
    with tempfile.TemporaryDirectory() as folder:
        run = subprocess.run([corvane, 'frames', path, folder], capture_output=True, text=True)
        if run.returncode != 0:
            raise RuntimeError(run.stderr.strip())
        pictures = []
        for name in sorted(os.listdir(folder)):
            picture = Image.open(os.path.join(folder, name)).convert('RGB')
            pictures.append((picture.width, picture.height, picture.tobytes()))
        return pictures


def compare(corvane, path):
    try:
        ours = program_frames(corvane, path)
    except RuntimeError as error:
        return 'the program fails: %s' % error
    theirs = browser_frames(path)
    if len(ours) != len(theirs):
        return '%d pictures, the browser %d frames' % (len(ours), len(theirs))
    for k, ((width, height, rgb), (w, h, rgba)) in enumerate(zip(ours, theirs)):
        if (width, height) != (w, h):
            return 'picture %d is %dx%d, the browser\'s %dx%d' % (k, width, height, w, h)
        for p in range(width * height):
            if rgba[4 * p + 3] == 255 and rgb[3 * p:3 * p + 3] != rgba[4 * p:4 * p + 3]:
                return 'picture %d pixel (%d, %d): %s, the browser %s' % (
                    k, p % width, p // width, tuple(rgb[3 * p:3 * p + 3]), tuple(rgba[4 * p:4 * p + 3]))
    return 'same'


# A small GIF writer with a clear code before the code width would grow.
def coded(pixels, min_code_size):
    clear, width = 1 << min_code_size, min_code_size + 1
    codes, run = [clear], 0
    for p in pixels:
        if run == (1 << width) - clear - 3:
            codes, run = codes + [clear], 0
        codes, run = codes + [p], run + 1
    codes.append(clear + 1)
    bits = count = 0
    out = bytearray()
    for c in codes:
        bits |= c << count
        count += width
        while count >= 8:
            out.append(bits & 255)
            bits, count = bits >> 8, count - 8
    if count:
        out.append(bits)
    blocks = b''.join(bytes([len(out[i:i + 255])]) + out[i:i + 255] for i in range(0, len(out), 255))
    return bytes([min_code_size]) + blocks + b'\0'


def table(colors):
    depth = max(1, (len(colors) - 1).bit_length())
    return depth, b''.join(bytes(c) for c in colors + [(0, 0, 0)] * ((1 << depth) - len(colors)))


def gif(width, height, global_colors, frames):
    out = b'GIF89a' + struct.pack('<HH', width, height)
    if global_colors:
        depth, entries = table(global_colors)
        out += bytes([0xF0 | (depth - 1), 0, 0]) + entries
    else:
        out += b'\0\0\0'
    for extensions, (left, top, w, h), pixels, min_code_size in frames:
        out += b''.join(extensions) + b',' + struct.pack('<HHHH', left, top, w, h) + b'\0'
        out += coded(pixels, min_code_size)
    return out + b';'


def control(disposal=0, delay=0, transparent=None):
    flags = disposal << 2 | (transparent is not None)
    return b'\x21\xf9\x04' + bytes([flags]) + struct.pack('<H', delay) + bytes([transparent or 0, 0])


def loop(count):
    return b'\x21\xff\x0bNETSCAPE2.0\x03\x01' + struct.pack('<H', count) + b'\0'


RGBW = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255)]


def cases():
    return {
        'two-controls-last-opaque.gif': gif(4, 1, RGBW, [([control(transparent=1), control()], (0, 0, 4, 1),
                                                          [0, 1, 2, 3], 2)]),
        'two-controls-last-transparent.gif': gif(4, 1, RGBW, [([control(), control(transparent=1)], (0, 0, 4, 1),
                                                               [0, 1, 2, 3], 2)]),
        'no-color-table.gif': gif(4, 1, None, [([], (0, 0, 4, 1), [0, 1, 2, 3], 2)]),
        'indices-beyond-table.gif': gif(4, 1, RGBW[:2], [([], (0, 0, 4, 1), [0, 1, 5, 7], 3)]),
        'data-ends-early.gif': gif(4, 4, RGBW, [([], (0, 0, 4, 4), [1] * 4 + [2] * 4, 2)]),
        'several-loops-short-delays.gif': gif(2, 1, RGBW, [([loop(3), control(delay=0)], (0, 0, 2, 1), [0, 1], 2),
                                                           ([loop(5), control(delay=1)], (0, 0, 2, 1), [1, 0], 2)]),
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--corvane', default='build/release/src/cli/corvane')
    parser.add_argument('--make', metavar='DIR')
    parser.add_argument('files', nargs='*')
    args = parser.parse_args()
    if args.make:
        os.makedirs(args.make, exist_ok=True)
        for name, data in cases().items():
            with open(os.path.join(args.make, name), 'wb') as f:
                f.write(data)
        return 0
    differing = 0
    for path in args.files:
        verdict = compare(args.corvane, path)
        differing += verdict != 'same'
        print('%s: %s' % (path, verdict))
    return 1 if differing else 0


if __name__ == '__main__':
    sys.exit(main())
