#!/usr/bin/env python3
"""Draws Zorvik's toolbar bitmap and icons as XPM files in this folder.

Every image keeps to the 16 colours of the classic VGA palette. Run it again after a change:
    python3 res/make-images.py
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))

PALETTE = {
    "k": "#000000", "r": "#800000", "G": "#008000", "o": "#808000",
    "n": "#000080", "p": "#800080", "t": "#008080", "s": "#C0C0C0",
    "d": "#808080", "R": "#FF0000", "g": "#00FF00", "y": "#FFFF00",
    "b": "#0000FF", "m": "#FF00FF", "c": "#00FFFF", "w": "#FFFFFF",
    ".": "None",
}


def write_xpm(name, rows):
    height = len(rows)
    width = len(rows[0])
    assert all(len(row) == width for row in rows), name
    used = sorted({ch for row in rows for ch in row})
    ident = name.replace(".", "_").replace("-", "_")
    lines = [
        "/* XPM */",
        f"static const char *{ident}[] = {{",
        f'"{width} {height} {len(used)} 1",',
    ]
    lines += [f'"{ch} c {PALETTE[ch]}",' for ch in used]
    lines += [f'"{row}",' for row in rows[:-1]] + [f'"{rows[-1]}"', "};"]
    with open(os.path.join(HERE, name), "w") as f:
        f.write("\n".join(lines) + "\n")


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
ABOUT = outlined([
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
], "y", "k", "s")

write_xpm("toolbar.xpm", [a + b + c for a, b, c in zip(START, OPTIONS, ABOUT)])


# --- Icons -----------------------------------------------------------------------------------

# Squares of the application icon on a 4x4 grid: a Z pentomino coming down onto a stack.
ICON_CELLS = {
    (0, 0): "g", (1, 0): "g", (1, 1): "g", (1, 2): "g", (2, 2): "g",
    (3, 1): "b", (3, 2): "b", (3, 3): "b", (2, 3): "b",
    (0, 3): "R", (1, 3): "R",
    (0, 2): ".",
}
# Each colour's light and dark edge, for a raised square.
BEVEL = {"g": ("w", "G"), "b": ("c", "n"), "R": ("y", "r"), "y": ("w", "o")}


def draw_square(canvas, left, top, side, colour):
    light, dark = BEVEL[colour]
    for y in range(top, top + side):
        for x in range(left, left + side):
            if side >= 5 and (y == top or x == left):
                canvas[y][x] = light
            elif side >= 5 and (y == top + side - 1 or x == left + side - 1):
                canvas[y][x] = dark
            else:
                canvas[y][x] = colour


def app_icon(size):
    pitch = size // 4
    canvas = [["k"] * size for _ in range(size)]
    for (col, row), colour in ICON_CELLS.items():
        if colour != ".":
            draw_square(canvas, col * pitch + 1, row * pitch + 1, pitch - 1, colour)
    return ["".join(row) for row in canvas]


write_xpm("zorvik32.xpm", app_icon(32))
write_xpm("zorvik16.xpm", app_icon(16))
