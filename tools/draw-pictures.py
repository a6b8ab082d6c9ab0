#!/usr/bin/env python3
"""Draws the window's own pictures as PNG files into src/app/pictures/, each
also at twice its size (name@2x.png) for dense screens, where its lines stay
one screen pixel thin. Run by hand after changing a drawing; the results are
committed."""
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(__file__), '..', 'src', 'app', 'pictures')
CLEAR = (0, 0, 0, 0)


def png(name, rows):
    height, width = len(rows), len(rows[0])
    raw = b''.join(b'\0' + bytes(c for px in row for c in px) for row in rows)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)
    data = (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))
    with open(os.path.join(OUT, name), 'wb') as f:
        f.write(data)


def canvas(w, h, fill=CLEAR):
    return [[fill] * w for _ in range(h)]


def art(lines, palette):
    return [[palette[ch] for ch in line] for line in lines]


def start():
    # A green square with cut corners; a lighter rim on the top left.
    rows = canvas(16, 16, (0, 150, 40, 255))
    for y in range(16):
        for x in range(16):
            if x in (0, 15) or y in (0, 15):
                rows[y][x] = (0, 100, 20, 255)
            elif x == 1 or y == 1:
                rows[y][x] = (90, 210, 110, 255)
    for x, y in ((0, 0), (15, 0), (0, 15), (15, 15)):
        rows[y][x] = CLEAR
    return rows


def stop():
    # Red, inside a clear frame: the button keys out its picture's top-left
    # colour, so a picture red to the corner would vanish whole.
    rows = canvas(12, 12)
    for y in range(1, 11):
        for x in range(1, 11):
            rows[y][x] = (220, 30, 30, 255)
    return rows


FOLDER = [
    "................",
    "................",
    "..#####.........",
    ".#ttttt#........",
    ".#tttttt#######.",
    ".#tllllllllllll#",
    ".#tllllllllllll#",
    ".#tllllllllllll#",
    ".#tllllllllllll#",
    ".#tllllllllllll#",
    ".#tllllllllllll#",
    ".#tllllllllllll#",
    ".#tttttttttttt#.",
    "..############..",
    "................",
    "................",
]


def folder():
    return art(FOLDER, {'.': CLEAR, '#': (120, 84, 40, 255), 't': (196, 154, 96, 255), 'l': (226, 190, 130, 255)})


def background(scale=1):
    h = 300 * scale
    return [[(round(250 - (250 - 166) * y / (h - 1)),) * 3 + (255,)] * scale for y in range(h)]


def start2x():
    # As start(), with hairline rims and rounded corners.
    n = 32
    rows = canvas(n, n, (0, 150, 40, 255))
    for y in range(n):
        for x in range(n):
            corner = min(x, n - 1 - x) + min(y, n - 1 - y)
            if corner < 2:
                rows[y][x] = CLEAR
            elif corner == 2 or x in (0, n - 1) or y in (0, n - 1):
                rows[y][x] = (0, 100, 20, 255)
            elif x == 1 or y == 1 or (corner == 3 and x < n / 2 and y < n / 2):
                rows[y][x] = (90, 210, 110, 255)
    return rows


def stop2x():
    # As stop(), with a hairline darker edge.
    rows = canvas(24, 24)
    for y in range(2, 22):
        for x in range(2, 22):
            edge = x in (2, 21) or y in (2, 21)
            rows[y][x] = (170, 20, 20, 255) if edge else (220, 30, 30, 255)
    return rows


def folder2x():
    return thin2x(FOLDER, {'.': CLEAR, '#': (120, 84, 40, 255), 't': (196, 154, 96, 255), 'l': (226, 190, 130, 255)})


def icon(size):
    # A picture card with an arrow going up: a picture on its way out.
    s = size / 32
    rows = canvas(size, size)
    for y in range(size):
        for x in range(size):
            if 2 * s <= x < 30 * s and 8 * s <= y < 30 * s:
                edge = x < 3 * s or x >= 29 * s or y < 9 * s or y >= 29 * s
                rows[y][x] = (60, 60, 60, 255) if edge else (150, 200, 240, 255)
                if not edge and y > 20 * s and abs(x - 10 * s) < (y - 20 * s) * 1.2:
                    rows[y][x] = (40, 140, 60, 255)
            cx = 22 * s
            if abs(x - cx) < 3 * s and 2 * s <= y < 20 * s or (y < 12 * s and abs(x - cx) <= (y - 1 * s) * 0.9 and y >= 2 * s):
                rows[y][x] = (0, 150, 40, 255)
    return rows


HAND = [
    ".....##.........................",
    "....#ww#........................",
    "....#ww#........................",
    "....#ww#........................",
    "....#ww#........................",
    "....#ww###......................",
    "....#ww#ww###...................",
    "....#ww#ww#ww##.................",
    "....#ww#ww#ww#w#................",
    "##..#ww#ww#ww#ww#...............",
    "#ww##wwwwwwwwwww#...............",
    "#www#wwwwwwwwwww#...............",
    ".#wwwwwwwwwwwwww#...............",
    "..#wwwwwwwwwwwww#...............",
    "..#wwwwwwwwwwwww#...............",
    "...#wwwwwwwwwww#................",
    "...#wwwwwwwwwww#................",
    "....#wwwwwwwww#.................",
    "....#wwwwwwwww#.................",
    "....###########.................",
] + ["." * 32] * 12


def hand():
    return art(HAND, {'.': CLEAR, '#': (0, 0, 0, 255), 'w': (255, 255, 255, 255)})


def thin2x(cells, palette):
    # Twice the size with the outline ('#') one pixel thin: an outline cell
    # stays outline only where it meets the outside, or on its first half
    # where it parts two inner cells; elsewhere it takes its inner
    # neighbour's colour.
    h, w = len(cells), len(cells[0])

    def cell(x, y):
        return cells[y][x] if 0 <= x < w and 0 <= y < h else '.'

    rows = canvas(2 * w, 2 * h)
    for Y in range(2 * h):
        for X in range(2 * w):
            x, y = X // 2, Y // 2
            c = cell(x, y)
            if c != '#':
                rows[Y][X] = palette[c]
                continue
            near = [cell((X + dx) // 2, (Y + dy) // 2) for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1))]
            inner = [n for n in near if n not in '.#']
            parts_across = cell(x - 1, y) not in '.#' and cell(x + 1, y) not in '.#' and X % 2 == 0
            parts_down = cell(x, y - 1) not in '.#' and cell(x, y + 1) not in '.#' and Y % 2 == 0
            if '.' in near or parts_across or parts_down or not inner:
                rows[Y][X] = palette['#']
            else:
                rows[Y][X] = palette[inner[0]]
    return rows


def hand2x():
    return thin2x(HAND, {'.': CLEAR, '#': (0, 0, 0, 255), 'w': (255, 255, 255, 255)})


if __name__ == '__main__':
    os.makedirs(OUT, exist_ok=True)
    png('start.png', start())
    png('stop.png', stop())
    png('folder.png', folder())
    png('background.png', background())
    png('icon32.png', icon(32))
    png('icon16.png', icon(16))
    png('hand.png', hand())
    png('start@2x.png', start2x())
    png('stop@2x.png', stop2x())
    png('folder@2x.png', folder2x())
    png('background@2x.png', background(2))
    png('icon32@2x.png', icon(64))
    png('icon16@2x.png', icon(32))
    png('hand@2x.png', hand2x())


def button(caption, picture, width, height, mask, extent):
    import base64
    with open(os.path.join(OUT, picture), 'rb') as f:
        data = base64.b64encode(f.read()).decode()
    return [
        {"key": "_ExtentX", "int": extent[0]},
        {"key": "_ExtentY", "int": extent[1]},
        {"key": "Caption", "text": caption},
        {"key": "ButtonStyle", "int": 1},
        {"key": "Picture", "bytes": data},
        {"key": "PictureWidth", "int": width},
        {"key": "PictureHeight", "int": height},
        {"key": "ShowFocusRect", "bool": False},
        {"key": "XPColor_Pressed", "int": 0},
        {"key": "XPColor_Hover", "int": 0},
        {"key": "XPDefaultColors", "bool": False},
        {"key": "MaskColor", "int": mask},
    ]


def form():
    import json
    controls = [
        {"key": "XpB1", "bag": button("Выбрать каталог", 'folder.png', 16, 16, 0xFFFFFF, (3731, 661))},
        {"key": "Start", "bag": button("Закачать", 'start.png', 16, 16, 0xC0C0C0, (3731, 767))},
        {"key": "StopB", "bag": button("Остановить", 'stop.png', 12, 12, 0x5A73EF, (3731, 767))},
    ]
    with open(os.path.join(OUT, '..', 'Main.form.json'), 'w', encoding='utf-8') as f:
        json.dump(controls, f, ensure_ascii=False, indent=1)
        f.write('\n')


if __name__ == '__main__':
    form()
