#!/usr/bin/env python3
"""Draws the installer's pictures and icon into src/resources/.

  Welcome.gif  120 x 250 side picture of the welcome page (GIF89a, 64-colour global palette)
  Banner.jpg   451 x 53 header band of the other pages (baseline JFIF, three components, 4:4:4)
  AppIcon.ico  16, 32 and 48 pixel icon images, 8 bits per pixel
  AppIconGroup.bin  a second icon directory over the same images (RT_GROUP_ICON, ids 1 to 3)

ImageMagick's convert draws and quantises; the GIF, the icon file and the colour conversion
of the JPEG are written here so that every byte that matters is under our control.
Run it again after changing a drawing and commit the outputs with it.
"""
import math
import os
import random
import struct
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "src", "resources")

# The wizard paints pixels of this colour transparently.
KEY = (198, 0, 136)
# Banner rows from here down (one whole row of 8 x 8 blocks) are key colour: the band stops
# above the etched line at y 51, which then sits on the dialog face like the one above the
# buttons.
BANNER_KEY_TOP = 48
# JPEG samples that decode to exactly KEY with libjpeg's integer YCbCr -> RGB (green is
# clamped from below); no RGB input encodes to them, so key blocks are written as YCbCr.
KEY_YCBCR = (72, 164, 218)
SUPERSAMPLE = 4
# The band's JPEG quality: indistinguishable from 100 at its size, a third of the bytes. A solid
# 8 x 8 block has only its DC term, which this quality's table still brings back exactly (the
# key rows are checked after decoding below).
BANNER_QUALITY = 90


def convert(args, data=None):
    return subprocess.run(["convert"] + args, input=data, stdout=subprocess.PIPE,
                          check=True).stdout


def render(width, height, scale, draw_args, background="none"):
    """Draws at scale times the size and box-filters down; returns raw RGBA."""
    return convert(["-size", f"{width * scale}x{height * scale}", f"xc:{background}"] + draw_args +
                   ["-filter", "box", "-resize", f"{width}x{height}!", "-depth", "8", "rgba:-"])


def ridge(seed, left, right, base, rough, points, scale):
    """A mountain ridge line as polygon points, made by midpoint displacement."""
    rng = random.Random(seed)
    heights = [base, base]
    spread = rough
    while len(heights) < points:
        nxt = []
        for a, b in zip(heights, heights[1:]):
            nxt += [a, (a + b) / 2 + rng.uniform(-spread, spread)]
        heights = nxt + [heights[-1]]
        spread *= 0.55
    step = (right - left) / (len(heights) - 1)
    return [((left + i * step) * scale, h * scale) for i, h in enumerate(heights)]


def polygon(points):
    return "polygon " + " ".join(f"{x:.1f},{y:.1f}" for x, y in points)


def mountain(seed, left, right, top, bottom, rough, colour, scale):
    line = ridge(seed, left, right, top, rough, 33, scale)
    return ["-fill", colour, "-draw", polygon(line + [(right * scale, bottom * scale),
                                                      (left * scale, bottom * scale)])]


def mist(top, bottom, width, colour, layers, scale):
    """Soft horizontal haze: stacked translucent bands thinning upward."""
    args = []
    for i in range(layers):
        y = top + (bottom - top) * i / layers
        args += ["-fill", colour, "-draw",
                 f"rectangle 0,{y * scale:.1f} {width * scale},{bottom * scale:.1f}"]
    return args


def boat(x, y, length, scale, hull="#1f2942", sail="#f4e6cf"):
    s = scale
    return ["-fill", hull, "-draw",
            f"path 'M {x * s},{y * s} L {(x + length) * s},{y * s} "
            f"Q {(x + length * 0.8) * s},{(y + length * 0.22) * s} {(x + length * 0.5) * s},{(y + length * 0.22) * s} "
            f"Q {(x + length * 0.2) * s},{(y + length * 0.22) * s} {x * s},{y * s} Z'",
            "-fill", sail, "-draw",
            polygon([((x + length * 0.52) * s, (y - length * 0.75) * s),
                      ((x + length * 0.52) * s, (y - length * 0.06) * s),
                      ((x + length * 0.88) * s, (y - length * 0.06) * s)]),
            "-stroke", hull, "-strokewidth", f"{0.8 * s}", "-draw",
            f"line {(x + length * 0.5) * s},{(y - length * 0.8) * s} {(x + length * 0.5) * s},{y * s}",
            "+stroke"]


# ---------------------------------------------------------------- welcome picture (GIF)

WELCOME_W, WELCOME_H = 120, 250
# The scene is a card with rounded left corners; around it the dialog face shows through.
CARD_LEFT, CARD_TOP, CARD_BOTTOM, CARD_RADIUS = 6, 6, 243, 10


def welcome_art():
    s = SUPERSAMPLE
    w, h = WELCOME_W, WELCOME_H
    water = 186
    args = ["(", "-size", f"{w * s}x{water * s}", "gradient:#2b4b85-#f4caa4", ")",
            "-gravity", "north", "-composite", "-gravity", "northwest",
            "-fill", "#6b7ba4", "-draw", f"rectangle 0,{water * s} {w * s},{h * s}"]
    args += ["-fill", "#fbe9cf", "-draw", f"circle {80 * s},{104 * s} {80 * s},{118 * s}",
             "-fill", "#fff6e6", "-draw", f"circle {80 * s},{104 * s} {80 * s},{113 * s}"]
    args += mountain(3, -10, 130, 118, water, 26, "#a9a4c6", s)
    args += mist(130, water, w, "rgba(246,226,214,0.16)", 5, s)
    args += mountain(7, -10, 130, 146, water, 20, "#6e749e", s)
    args += mist(158, water, w, "rgba(240,222,214,0.18)", 4, s)
    args += mountain(11, -10, 130, 168, water, 14, "#3a4672", s)
    # Water darkens toward the viewer, with the sun's broken reflection.
    args += mist(water, h, w, "rgba(24,34,64,0.14)", 6, s)
    for i, (x, y, length) in enumerate([(70, 192, 22), (74, 198, 14), (68, 205, 18), (76, 213, 10)]):
        args += ["-fill", f"rgba(255,236,210,{0.55 - i * 0.1:.2f})", "-draw",
                 f"rectangle {x * s},{y * s} {(x + length) * s},{(y + 1.2) * s}"]
    args += boat(26, 214, 30, s)
    return render(w, h, s, args, background="#22345f")


def in_card(x, y):
    """True for pixels of the picture; the rest is key colour."""
    if x < CARD_LEFT or y < CARD_TOP or y >= CARD_BOTTOM:
        return False
    cx = CARD_LEFT + CARD_RADIUS
    for cy in (CARD_TOP + CARD_RADIUS, CARD_BOTTOM - CARD_RADIUS):
        near_corner = x < cx and ((cy == CARD_TOP + CARD_RADIUS and y < cy) or
                                  (cy != CARD_TOP + CARD_RADIUS and y >= cy))
        if near_corner and (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 > CARD_RADIUS ** 2:
            return False
    return True


def lzw(indices, min_size):
    """GIF's variable-length LZW, as packed little-endian bits."""
    clear, end = 1 << min_size, (1 << min_size) + 1
    out, acc, nbits = bytearray(), 0, 0

    def emit(code, size):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    size, next_code, table = min_size + 1, end + 1, {}
    emit(clear, size)
    prefix = indices[0]
    for k in indices[1:]:
        if (prefix, k) in table:
            prefix = table[(prefix, k)]
            continue
        emit(prefix, size)
        table[(prefix, k)] = next_code
        next_code += 1
        if next_code > (1 << size) and size < 12:
            size += 1
        if next_code == 4096:
            emit(clear, size)
            size, next_code, table = min_size + 1, end + 1, {}
        prefix = k
    emit(prefix, size)
    emit(end, size)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def write_gif(path, width, height, palette, indices):
    assert len(palette) == 64
    data = lzw(indices, 6)
    blocks = b"".join(bytes([len(data[i:i + 255])]) + data[i:i + 255] for i in range(0, len(data), 255))
    gif = (b"GIF89a" + struct.pack("<HHBBB", width, height, 0x80 | (5 << 4) | 5, 0, 0) +
           b"".join(bytes(c) for c in palette) +
           b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0) +
           b"\x06" + blocks + b"\x00" + b"\x3b")
    with open(path, "wb") as f:
        f.write(gif)


def make_welcome():
    w, h = WELCOME_W, WELCOME_H
    rgba = welcome_art()
    rgb = b"".join(rgba[i:i + 3] for i in range(0, len(rgba), 4))
    # 63 picture colours, dithered; the 64th entry is the key colour.
    quantised = convert(["-size", f"{w}x{h}", "-depth", "8", "rgb:-", "-dither", "FloydSteinberg",
                         "-colors", "63", "-depth", "8", "rgb:-"], rgb)
    pixels = [tuple(quantised[i:i + 3]) for i in range(0, len(quantised), 3)]
    palette = sorted(set(pixels))
    if KEY in palette:
        sys.exit("make-resources: the welcome picture's art uses the key colour")
    palette.append(KEY)
    index = {c: i for i, c in enumerate(palette)}
    key_index = index[KEY]
    palette += [(0, 0, 0)] * (64 - len(palette))
    indices = [index[pixels[y * w + x]] if in_card(x, y) else key_index
               for y in range(h) for x in range(w)]
    write_gif(os.path.join(OUT, "Welcome.gif"), w, h, palette, indices)


# ---------------------------------------------------------------- header band (JPEG)

BANNER_W, BANNER_H = 451, 53


def banner_art():
    s = SUPERSAMPLE
    w, h = BANNER_W, BANNER_H
    # The texts sit on the pale left part; the scene fades in toward the right end.
    args = ["(", "-size", f"{h * s}x{w * s}", "gradient:#ffffff-#dfe7f2", "-rotate", "-90", ")",
            "-composite"]
    args += mountain(21, 150, 470, 14, h, 12, "rgba(150,162,196,0.55)", s)
    args += mountain(23, 170, 470, 24, h, 9, "rgba(92,108,154,0.75)", s)
    args += mist(30, 44, w, "rgba(255,255,255,0.12)", 4, s)
    args += mountain(29, 150, 470, 31, h, 9, "#3d4b78", s)
    args += ["-fill", "#5f72a3", "-draw", f"rectangle {150 * s},{41 * s} {w * s},{h * s}"]
    args += boat(392, 40.5, 16, s)
    # Fade the scene's left edge into the pale ground.
    fade = ["(", "-size", f"{h * s}x{w * s}", "gradient:black-white", "-rotate", "-90",
            "-level", "38%,78%", ")"]
    ground = ["(", "-size", f"{h * s}x{w * s}", "gradient:#ffffff-#dfe7f2", "-rotate", "-90", ")"]
    return convert(["-size", f"{w * s}x{h * s}", "xc:white"] + args + ground + ["-swap", "0,1"] + fade +
                   ["-composite", "-filter", "box", "-resize", f"{w}x{h}!", "-depth", "8", "rgb:-"])


def to_ycbcr(r, g, b):
    """libjpeg's fixed-point RGB -> YCbCr, so decoding returns the same pixels as usual."""
    def fix(v):
        return int(v * 65536 + 0.5)
    half = 1 << 15
    y = (fix(0.299) * r + fix(0.587) * g + fix(0.114) * b + half) >> 16
    cb = (-fix(0.16874) * r - fix(0.33126) * g + fix(0.5) * b + (128 << 16) + half - 1) >> 16
    cr = (fix(0.5) * r - fix(0.41869) * g - fix(0.08131) * b + (128 << 16) + half - 1) >> 16
    return y, cb, cr


def make_banner():
    w, h = BANNER_W, BANNER_H
    rgb = banner_art()
    samples = bytearray()
    for y in range(h):
        for x in range(w):
            if y >= BANNER_KEY_TOP:
                samples += bytes(KEY_YCBCR)
            else:
                i = (y * w + x) * 3
                samples += bytes(to_ycbcr(*rgb[i:i + 3]))
    path = os.path.join(OUT, "Banner.jpg")
    # 4:4:4, so a solid 8 x 8 block of key colour keeps its chroma exact too.
    convert(["-size", f"{w}x{h}", "-depth", "8", "rgb:-", "-set", "colorspace", "YCbCr",
             "-strip", "-quality", str(BANNER_QUALITY), "-sampling-factor", "1x1", "-interlace", "none",
             path], bytes(samples))
    decoded = convert([path, "-depth", "8", "rgb:-"])
    for y in range(BANNER_KEY_TOP, h):
        for x in range(w):
            if tuple(decoded[(y * w + x) * 3:(y * w + x) * 3 + 3]) != KEY:
                sys.exit(f"make-resources: banner pixel {x},{y} does not decode to the key colour")


# ---------------------------------------------------------------- icon

ICON_SIZES = (16, 32, 48)


def icon_art(size):
    s = 16  # draw on a 16 x finer grid
    u = size * s / 48.0  # one unit of the 48-unit design

    def p(x, y):
        return f"{x * u:.1f},{y * u:.1f}"
    args = ["-size", f"{size * s}x{size * s}", "gradient:#3b7fd0-#16356b",
            "(", "-size", f"{size * s}x{size * s}", "xc:none", "-fill", "white", "-draw",
            f"roundrectangle {p(1, 1)} {p(47, 47)} {9 * u:.1f},{9 * u:.1f}", ")",
            "-compose", "DstIn", "-composite", "-compose", "Over",
            "-fill", "#c9dcf5", "-draw", f"polygon {p(4, 34)} {p(18, 12)} {p(27, 25)} {p(33, 17)} {p(45, 34)}",
            "-fill", "#ffffff", "-draw", f"polygon {p(18, 12)} {p(22.5, 18.5)} {p(19, 17)} {p(15.5, 19.5)} {p(13.5, 19)}",
            "-fill", "#f2a541", "-draw",
            f"path 'M {p(9, 35)} L {p(39, 35)} Q {p(36, 42)} {p(24, 42)} Q {p(12, 42)} {p(9, 35)} Z'"]
    return convert(args + ["-filter", "box", "-resize", f"{size}x{size}!", "-depth", "8", "rgba:-"])


def icon_image(size):
    """One icon image: BITMAPINFOHEADER, a palette of the colours used (biClrUsed), 8-bit pixels,
    AND mask. A full 256-entry palette would cost up to 3 KiB of the installer for nothing."""
    rgba = icon_art(size)
    opaque = [rgba[i + 3] >= 128 for i in range(0, len(rgba), 4)]
    rgb = b"".join(rgba[i:i + 3] if opaque[i // 4] else b"\0\0\0" for i in range(0, len(rgba), 4))
    quantised = convert(["-size", f"{size}x{size}", "-depth", "8", "rgb:-", "+dither", "-colors", "255",
                         "-depth", "8", "rgb:-"], rgb)
    pixels = [tuple(quantised[i:i + 3]) for i in range(0, len(quantised), 3)]
    # Index 0 is black: masked-out pixels must be black so the screen shows through.
    colours = [(0, 0, 0)] + sorted(set(c for c, o in zip(pixels, opaque) if o) - {(0, 0, 0)})
    index = {}
    for i, c in enumerate(colours):
        index.setdefault(c, i)
    xor_rows, and_rows = [], []
    mask_stride = (size + 31) // 32 * 4
    for y in reversed(range(size)):  # bottom-up
        row = pixels[y * size:(y + 1) * size]
        xor_rows.append(bytes(index[c] if opaque[y * size + x] else 0 for x, c in enumerate(row)))
        bits = 0
        for x in range(size):
            if not opaque[y * size + x]:
                bits |= 1 << (mask_stride * 8 - 1 - x)
        and_rows.append(bits.to_bytes(mask_stride, "big"))
    xor, mask = b"".join(xor_rows), b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, len(xor) + len(mask), 0, 0, len(colours), 0)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    return header + palette + xor + mask


def make_icon():
    images = [icon_image(size) for size in ICON_SIZES]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, image in zip(ICON_SIZES, images):
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(image), offset)
        offset += len(image)
    with open(os.path.join(OUT, "AppIcon.ico"), "wb") as f:
        f.write(directory + b"".join(images))
    make_icon_group()


def make_icon_group():
    """The shell's icon group names the window class's images again instead of a copy of them:
    the .ico's directory with each entry's file offset replaced by the image's resource id,
    which windres numbers from 1 for the only ICON statement."""
    with open(os.path.join(OUT, "AppIcon.ico"), "rb") as f:
        ico = f.read()
    count = struct.unpack_from("<H", ico, 4)[0]
    group = struct.pack("<HHH", 0, 1, count)
    for i in range(count):
        entry = struct.unpack_from("<BBBBHHII", ico, 6 + 16 * i)
        group += struct.pack("<BBBBHHIH", *entry[:7], i + 1)
    with open(os.path.join(OUT, "AppIconGroup.bin"), "wb") as f:
        f.write(group)


if __name__ == "__main__":
    make_welcome()
    make_banner()
    make_icon()
