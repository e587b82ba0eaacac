#!/usr/bin/env python3
"""Draws Zorvik's toolbar images and its application icon.

Writes into res/, or into the folder given with --out:
    toolbar.xpm                 the three toolbar buttons of 16x15 pixels side by side
    toolbar@1.25x.xpm, toolbar@1.5x.xpm, toolbar@1.75x.xpm, toolbar@2x.xpm
                                the same at the sizes Qt asks for at those scale factors
    icons/hicolor/NxN/apps/nl.zorvik.Zorvik.png
                                the application icon at 16, 22, 24, 32, 48, 64, 128 and 256 px
    icons/hicolor/scalable/apps/nl.zorvik.Zorvik.svg
                                the same icon as an SVG, square for square the 256 px one

Every image keeps to the 16 colours of the classic VGA palette; in the toolbar images the light
grey of a classic button face is transparent, so the buttons take the face of the desktop's bar.
Run it again after a change:
    python3 res/make-images.py
`python3 res/make-images.py --check` draws everything into a temporary folder and tells whether
the images in res/ are the ones it draws (a test runs it).
"""
import argparse
import collections
import os
import struct
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
APP_ID = "nl.zorvik.Zorvik"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
BUTTON_SIZE = (16, 15)
# Scale factors between 1 and 2 that desktops offer; at each of them Qt asks the toolbar for its
# images at the button size times the factor, rounded half up.
FRACTIONAL_SCALES = ("1.25", "1.5", "1.75")
SVG_SIZE = 256

PALETTE = {
    "k": "#000000", "r": "#800000", "G": "#008000", "o": "#808000",
    "n": "#000080", "p": "#800080", "t": "#008080", "s": "#C0C0C0",
    "d": "#808080", "R": "#FF0000", "g": "#00FF00", "y": "#FFFF00",
    "b": "#0000FF", "m": "#FF00FF", "c": "#00FFFF", "w": "#FFFFFF",
}


def xpm(name, rows, transparent=""):
    """An XPM image whose C identifier is made from name; the colours in transparent are left
    out (XPM's None)."""
    height = len(rows)
    width = len(rows[0])
    assert all(len(row) == width for row in rows), name
    used = sorted({ch for row in rows for ch in row})
    ident = name.replace(".", "_").replace("-", "_").replace("@", "_")
    lines = [
        "/* XPM */",
        f"static const char *{ident}[] = {{",
        f'"{width} {height} {len(used)} 1",',
    ]
    lines += [f'"{ch} c {"None" if ch in transparent else PALETTE[ch]}",' for ch in used]
    lines += [f'"{row}",' for row in rows[:-1]] + [f'"{rows[-1]}"', "};"]
    return ("\n".join(lines) + "\n").encode()


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(
        ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def png(rows):
    """An 8-bit palette PNG of the rows."""
    height, width = len(rows), len(rows[0])
    used = sorted({ch for row in rows for ch in row})
    index = {ch: i for i, ch in enumerate(used)}
    plte = b"".join(bytes.fromhex(PALETTE[ch][1:]) for ch in used)
    raw = b"".join(b"\0" + bytes(index[ch] for ch in row) for row in rows)
    data = b"\x89PNG\r\n\x1a\n"
    data += png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0))
    data += png_chunk(b"PLTE", plte)
    data += png_chunk(b"IDAT", zlib.compress(raw, 9))
    data += png_chunk(b"IEND", b"")
    return data


def png_content(data):
    """What a PNG shows, whatever the deflate encoder made of it: its chunks, with the pixel rows
    unpacked."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    chunks, pos, idat = {}, 8, b""
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        if kind == b"IDAT":
            idat += body
        else:
            chunks[kind] = body
        pos += 12 + length
    chunks[b"IDAT"] = zlib.decompress(idat)
    return chunks


# --- Toolbar: three 16x15 buttons side by side ---------------------------------------------

# Start: "Go" in black on bright green.
START = [
    "gggggggggggggggg",
    "gggggggggggggggg",
    "gggggggggggggggg",
    "gggggggggggggggg",
    "ggkkkkgggggggggg",
    "gkkggkkggggggggg",
    "gkkgggggggkkkkgg",
    "gkkggggggkkggkkg",
    "gkkgkkkggkkggkkg",
    "gkkggkkggkkggkkg",
    "gkkggkkggkkggkkg",
    "ggkkkkgggggkkkgg",
    "gggggggggggggggg",
    "gggggggggggggggg",
    "gggggggggggggggg",
]
# The o's bottom row sits on the baseline with the G.
START[11] = "ggkkkkggggkkkkgg"

# Options: a small black wrench on cyan, its jaw open to the upper right.
OPTIONS = [
    "cccccccccccccccc",
    "cccccccccckkkccc",
    "ccccccccckkkcccc",
    "ccccccccckkccckc",
    "ccccccccckkkckkc",
    "cccccccckkkkkkkc",
    "ccccccckkkkkkkcc",
    "cccccckkkkkkcccc",
    "ccccckkkcccccccc",
    "cccckkkccccccccc",
    "ccckkkcccccccccc",
    "cckkkccccccccccc",
    "ckkkcccccccccccc",
    "cckccccccccccccc",
    "cccccccccccccccc",
]


def outlined(glyph, fill, outline, background):
    """A glyph of '#' in fill, with every background pixel that touches it turned outline."""
    height, width = len(glyph), len(glyph[0])
    rows = []
    for y in range(height):
        row = ""
        for x in range(width):
            if glyph[y][x] == "#":
                row += fill
                continue
            near = any(
                0 <= y + dy < height and 0 <= x + dx < width and glyph[y + dy][x + dx] == "#"
                for dy in (-1, 0, 1) for dx in (-1, 0, 1))
            row += outline if near else background
        rows.append(row)
    return rows


# About: a yellow question mark outlined in black on light grey.
QUESTION_MARK = [
    "                ",
    "                ",
    "      ####      ",
    "     ######     ",
    "     ##  ##     ",
    "         ##     ",
    "        ##      ",
    "       ##       ",
    "       ##       ",
    "                ",
    "                ",
    "       ##       ",
    "       ##       ",
    "                ",
    "                ",
]
ABOUT = outlined(QUESTION_MARK, "y", "k", "s")


def scale2x(rows):
    """Twice the size by the Scale2x rule: each pixel becomes four, and a corner of the four takes
    its two neighbours' colour where they agree, so diagonal edges stay sharp and no colour is
    mixed."""
    height, width = len(rows), len(rows[0])

    def at(x, y, default):
        return rows[y][x] if 0 <= x < width and 0 <= y < height else default

    out = []
    for y in range(height):
        top, bottom = "", ""
        for x in range(width):
            e = rows[y][x]
            b, d, f, h = at(x, y - 1, e), at(x - 1, y, e), at(x + 1, y, e), at(x, y + 1, e)
            if b != h and d != f:
                top += (d if d == b else e) + (f if b == f else e)
                bottom += (d if d == h else e) + (f if h == f else e)
            else:
                top += e + e
                bottom += e + e
        out += [top, bottom]
    return out


def downscaled(rows, width, height, ink):
    """rows drawn at width x height from their Scale2x-twice version (smooth diagonals at four
    times the size): each pixel takes the colour that covers most of its area there, ink on a
    tie. No colour is mixed, so the image stays sharp at any size."""
    big = scale2x(scale2x(rows))
    big_height, big_width = len(big), len(big[0])

    def overlap(low, high, cell, scale):
        # The length that [low, high) and [cell * scale, (cell + 1) * scale) share.
        return max(0, min(high, (cell + 1) * scale) - max(low, cell * scale))

    # Coordinates are counted in 1/width (x) and 1/height (y) of a pixel of big.
    out = []
    for y in range(height):
        top, bottom = y * big_height, (y + 1) * big_height
        row = ""
        for x in range(width):
            left, right = x * big_width, (x + 1) * big_width
            area = collections.Counter()
            for by in range(top // height, min(big_height, -(-bottom // height))):
                dy = overlap(top, bottom, by, height)
                for bx in range(left // width, min(big_width, -(-right // width))):
                    area[big[by][bx]] += dy * overlap(left, right, bx, width)
            row += max(area, key=lambda ch: (area[ch], ch == ink))
        out.append(row)
    return out


def buttons_at(scale):
    """The three buttons at a fractional scale (a string such as "1.5"), at the size Qt asks for.
    The question mark is scaled as a glyph and outlined afterwards, so its outline stays one
    pixel wide."""
    factor = float(scale)
    width, height = (int(n * factor + 0.5) for n in BUTTON_SIZE)
    return (downscaled(START, width, height, "k"), downscaled(OPTIONS, width, height, "k"),
            outlined(downscaled(QUESTION_MARK, width, height, "#"), "y", "k", "s"))


def side_by_side(*images):
    return ["".join(parts) for parts in zip(*images)]


# --- Application icon ------------------------------------------------------------------------

# Squares of the application icon on a 4x4 grid: a Z pentomino coming down onto a stack.
ICON_CELLS = {
    (0, 0): "g", (1, 0): "g", (1, 1): "g", (1, 2): "g", (2, 2): "g",
    (3, 1): "b", (3, 2): "b", (3, 3): "b", (2, 3): "b",
    (0, 3): "R", (1, 3): "R",
}
# Each colour's light and dark edge, for a raised square.
BEVEL = {"g": ("w", "G"), "b": ("c", "n"), "R": ("y", "r")}


def icon_rects(size):
    """The icon at size pixels as rectangles (left, top, width, height, colour), each painted over
    the ones before it: a black ground, and per square its dark edge, the light edge above and to
    the left, and the face. Gap and edge grow with the size; from 5 pixels a square has an edge."""
    pitch = size // 4
    gap = max(1, pitch // 8)
    side = pitch - gap
    edge = max(1, pitch // 8) if side >= 5 else 0
    origin = (size - (4 * side + 3 * gap) + 1) // 2
    rects = [(0, 0, size, size, "k")]
    for (col, row), colour in sorted(ICON_CELLS.items(), key=lambda cell: (cell[0][1], cell[0][0])):
        left, top = origin + col * pitch, origin + row * pitch
        if edge:
            light, dark = BEVEL[colour]
            rects += [
                (left, top, side, side, dark),
                (left, top, side, edge, light),
                (left, top, edge, side, light),
                (left + edge, top + edge, side - 2 * edge, side - 2 * edge, colour),
            ]
        else:
            rects.append((left, top, side, side, colour))
    return rects


def icon_pixels(size):
    canvas = [[" "] * size for _ in range(size)]
    for left, top, width, height, colour in icon_rects(size):
        for y in range(top, top + height):
            canvas[y][left:left + width] = [colour] * width
    return ["".join(row) for row in canvas]


def icon_svg():
    lines = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{SVG_SIZE}" height="{SVG_SIZE}" '
        f'viewBox="0 0 {SVG_SIZE} {SVG_SIZE}" shape-rendering="crispEdges">',
        "  <title>Zorvik</title>",
    ]
    for left, top, width, height, colour in icon_rects(SVG_SIZE):
        lines.append(f'  <rect x="{left}" y="{top}" width="{width}" height="{height}" '
                     f'fill="{PALETTE[colour]}"/>')
    lines.append("</svg>")
    return ("\n".join(lines) + "\n").encode()


def images():
    """Every file this script draws, by its path below res/."""
    buttons = (START, OPTIONS, ABOUT)
    # Each button is scaled on its own, so no edge borrows from its neighbour.
    strips = {"toolbar.xpm": buttons, "toolbar@2x.xpm": tuple(map(scale2x, buttons))}
    for scale in FRACTIONAL_SCALES:
        strips[f"toolbar@{scale}x.xpm"] = buttons_at(scale)
    files = {name: xpm(name, side_by_side(*strip), transparent="s")
             for name, strip in strips.items()}
    for size in ICON_SIZES:
        files[f"icons/hicolor/{size}x{size}/apps/{APP_ID}.png"] = png(icon_pixels(size))
    files[f"icons/hicolor/scalable/apps/{APP_ID}.svg"] = icon_svg()
    return files


def write(folder, files):
    for path, data in files.items():
        target = os.path.join(folder, path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(data)


def differences(folder, drawn_folder):
    """The paths whose file in folder is missing or shows other than the one in drawn_folder."""
    wrong = []
    for path in sorted(images()):
        try:
            with open(os.path.join(folder, path), "rb") as f:
                have = f.read()
        except OSError:
            wrong.append(path)
            continue
        with open(os.path.join(drawn_folder, path), "rb") as f:
            want = f.read()
        if path.endswith(".png"):
            try:
                same = png_content(have) == png_content(want)
            except (AssertionError, struct.error, zlib.error):
                same = False
        else:
            same = have == want
        if not same:
            wrong.append(path)
    return wrong


def main():
    parser = argparse.ArgumentParser(description="Draws Zorvik's toolbar images and icons.")
    parser.add_argument("--out", default=HERE, help="folder to write into (default: res/)")
    parser.add_argument("--check", action="store_true",
                        help="draw into a temporary folder and compare with the images in --out")
    args = parser.parse_args()
    if not args.check:
        write(args.out, images())
        return 0
    with tempfile.TemporaryDirectory() as drawn:
        write(drawn, images())
        wrong = differences(args.out, drawn)
    for path in wrong:
        print(f"{path}: not what make-images.py draws; run python3 res/make-images.py",
              file=sys.stderr)
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
