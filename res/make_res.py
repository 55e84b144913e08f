#!/usr/bin/env python3
"""Draws the client's 16 x 16 icons and its logo picture.

Run from this folder; the outputs (*.ico, Logo.bmp) are committed beside it.
Standard library only.
"""
import math
import struct

W = H = 16

FONT = {  # 3 x 5 capitals and digits for the small lettered icons
    "A": ["010", "101", "111", "101", "101"], "B": ["110", "101", "110", "101", "110"],
    "C": ["011", "100", "100", "100", "011"], "D": ["110", "101", "101", "101", "110"],
    "F": ["111", "100", "110", "100", "100"], "K": ["101", "110", "100", "110", "101"],
    "P": ["110", "101", "110", "100", "100"], "R": ["110", "101", "110", "101", "101"],
    "S": ["011", "100", "010", "001", "110"], "W": ["101", "101", "101", "111", "101"],
    "Z": ["111", "001", "010", "100", "111"], "T": ["111", "010", "010", "010", "010"],
    "V": ["101", "101", "101", "101", "010"], "U": ["101", "101", "101", "101", "111"],
    "E": ["111", "100", "110", "100", "111"], "?": ["110", "001", "010", "000", "010"],
    "i": ["010", "000", "010", "010", "010"],
}


class Canvas:
    def __init__(self, w=W, h=H):
        self.w, self.h = w, h
        self.px = [[None] * w for _ in range(h)]  # None = transparent

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c, fill=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                if edge:
                    self.set(x, y, c)
                elif fill is not None:
                    self.set(x, y, fill)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.set(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def circle(self, cx, cy, r, c, fill=None):
        for y in range(self.h):
            for x in range(self.w):
                d = math.hypot(x - cx, y - cy)
                if fill is not None and d <= r - 0.5:
                    self.set(x, y, fill)
                elif abs(d - r) < 0.6:
                    self.set(x, y, c)

    def poly(self, pts, c):
        inside = []
        for y in range(self.h):
            for x in range(self.w):
                n = 0
                for (ax, ay), (bx, by) in zip(pts, pts[1:] + pts[:1]):
                    if (ay > y + 0.5) != (by > y + 0.5):
                        t = (y + 0.5 - ay) / (by - ay)
                        if x + 0.5 < ax + t * (bx - ax):
                            n += 1
                if n % 2:
                    inside.append((x, y))
        for x, y in inside:
            self.set(x, y, c)

    def text(self, x, y, s, c, scale=1):
        for ch in s:
            g = FONT[ch]
            for r, row in enumerate(g):
                for col, bit in enumerate(row):
                    if bit == "1":
                        for dy in range(scale):
                            for dx in range(scale):
                                self.set(x + col * scale + dx, y + r * scale + dy, c)
            x += 4 * scale


BLACK, WHITE = (0, 0, 0), (255, 255, 255)
GREY, DARK = (150, 150, 150), (70, 70, 70)
BLUE, NAVY = (40, 90, 200), (20, 40, 110)
GREEN, DGREEN = (40, 170, 60), (20, 90, 30)
RED, DRED = (210, 40, 40), (120, 20, 20)
YELLOW, ORANGE = (240, 200, 40), (230, 130, 30)
PAPER = (250, 250, 240)


def camera(c):
    c.rect(1, 5, 11, 12, DARK, GREY)
    c.poly([(11, 7), (15, 5), (15, 12), (11, 10)], DARK)
    c.circle(6, 8.5, 2, BLACK, BLUE)
    c.rect(2, 3, 5, 4, DARK, DARK)


def chart(c):
    c.rect(0, 1, 15, 14, NAVY, WHITE)
    c.line(2, 11, 5, 6, RED)
    c.line(5, 6, 8, 9, RED)
    c.line(8, 9, 13, 3, RED)


def drawer(c):
    c.rect(1, 3, 14, 13, DARK, ORANGE)
    c.line(1, 7, 14, 7, DARK)
    c.rect(6, 9, 9, 10, DARK, YELLOW)
    c.rect(6, 4, 9, 5, DARK, YELLOW)


def sheet_arrow(c):
    c.rect(1, 1, 10, 14, DARK, PAPER)
    for y in (4, 7, 10):
        c.line(3, y, 8, y, GREY)
    c.poly([(8, 6), (12, 6), (12, 3), (16, 8), (12, 13), (12, 10), (8, 10)], GREEN)


def wrench(c):
    c.line(3, 13, 10, 6, DARK)
    c.line(4, 13, 11, 6, DARK)
    c.line(3, 12, 10, 5, DARK)
    c.circle(11.5, 4.5, 3, DARK)
    c.set(12, 3, None)


def gear(c):
    c.circle(8, 8, 5, DARK, GREY)
    for a in range(0, 360, 45):
        x = 8 + 6.5 * math.cos(math.radians(a))
        y = 8 + 6.5 * math.sin(math.radians(a))
        c.rect(round(x) - 1, round(y) - 1, round(x), round(y), DARK, DARK)
    c.circle(8, 8, 2, DARK, WHITE)


def help_book(c):
    c.rect(2, 1, 13, 14, NAVY, BLUE)
    c.rect(3, 2, 12, 13, WHITE, WHITE)
    c.text(5, 3, "?", NAVY, 2)


def info(c):
    c.circle(7.5, 7.5, 7, NAVY, BLUE)
    c.rect(7, 3, 8, 4, WHITE, WHITE)
    c.rect(7, 6, 8, 12, WHITE, WHITE)


def trend(c):
    c.line(1, 1, 1, 14, BLACK)
    c.line(1, 14, 15, 14, BLACK)
    c.line(2, 10, 5, 4, RED)
    c.line(5, 4, 8, 11, RED)
    c.line(8, 11, 11, 6, RED)
    c.line(11, 6, 14, 8, RED)
    c.line(2, 12, 14, 5, BLUE)


def table(c):
    c.rect(0, 1, 15, 14, NAVY, WHITE)
    c.rect(1, 2, 14, 4, NAVY, (180, 200, 240))
    for x in (5, 10):
        c.line(x, 2, x, 13, NAVY)
    for y in (7, 10):
        c.line(1, y, 14, y, NAVY)


def pencil(c):
    c.poly([(3, 10), (11, 2), (14, 5), (6, 13)], YELLOW)
    c.line(3, 10, 11, 2, DARK)
    c.line(6, 13, 14, 5, DARK)
    c.poly([(3, 10), (6, 13), (1, 15)], PAPER)
    c.set(1, 14, BLACK)
    c.set(2, 14, BLACK)


def zipbox(c):
    c.rect(1, 4, 14, 14, DARK, ORANGE)
    c.poly([(1, 4), (4, 1), (15, 1), (14, 4)], YELLOW)
    for y in range(5, 14, 2):
        c.set(7, y, BLACK)
        c.set(8, y + 1, BLACK)


def film(c):
    c.rect(1, 1, 14, 14, BLACK, DARK)
    for y in (2, 5, 8, 11, 13):
        c.set(2, y, WHITE)
        c.set(13, y, WHITE)
    c.rect(4, 3, 11, 7, BLACK, (120, 170, 230))
    c.rect(4, 8, 11, 12, BLACK, (120, 170, 230))


def clock(c):
    c.circle(7.5, 7.5, 7, NAVY, WHITE)
    c.line(7, 7, 7, 3, BLACK)
    c.line(8, 8, 11, 9, RED)
    for a in range(0, 360, 90):
        c.set(round(7.5 + 6 * math.cos(math.radians(a))), round(7.5 + 6 * math.sin(math.radians(a))), NAVY)


def lamp(on):
    def draw(c):
        c.circle(7.5, 7.5, 6, BLACK, (60, 220, 60) if on else (90, 90, 90))
        c.set(5, 5, WHITE if on else GREY)
        c.set(6, 4, WHITE if on else GREY)
    return draw


def arrow(right):
    def draw(c):
        pts = [(2, 6), (8, 6), (8, 2), (14, 8), (8, 14), (8, 10), (2, 10)]
        if not right:
            pts = [(15 - x, y) for x, y in pts]
        c.poly(pts, BLUE)
    return draw


def play(c):
    c.poly([(4, 2), (13, 8), (4, 14)], GREEN)


def pause(c):
    c.rect(3, 2, 6, 13, DARK, BLUE)
    c.rect(9, 2, 12, 13, DARK, BLUE)


def maxmin(c):
    c.poly([(8, 0), (13, 6), (3, 6)], RED)
    c.poly([(3, 9), (13, 9), (8, 15)], BLUE)


def remove(c):
    for d in (-1, 0, 1):
        c.line(3 + d, 3, 12 + d, 12, RED)
        c.line(12 + d, 3, 3 + d, 12, RED)


def ruler(c):
    c.rect(1, 5, 14, 10, DARK, YELLOW)
    for x in range(3, 14, 2):
        c.line(x, 5, x, 7 if x % 4 else 8, DARK)


def folder(c):
    c.poly([(1, 3), (6, 3), (7, 5), (15, 5), (15, 14), (1, 14)], YELLOW)
    c.rect(1, 5, 15, 14, ORANGE, None)


def parameter(c):
    c.rect(3, 3, 12, 12, NAVY, BLUE)
    c.circle(7.5, 7.5, 2, WHITE, WHITE)


def database(c):
    c.rect(3, 4, 12, 13, NAVY, (120, 160, 220))
    c.circle(7.5, 4, 4.5, NAVY)
    for y in (7, 10):
        c.line(3, y, 12, y, NAVY)


def lettered(text, colour):
    def draw(c):
        c.rect(0, 2, 15, 13, colour, (235, 235, 255))
        c.text(8 - 2 * len(text) + 1, 5, text, colour)
    return draw


ICONS = {
    "MainWnd": camera, "MainMenu_RunFrame": chart, "MainMenu_Archive": drawer, "MainMenu_Export": sheet_arrow,
    "MainMenu_PO": wrench, "MainMenu_Access": gear, "MainMenu_Print": help_book, "MainMenu_Help": info,
    "MenuFrame_Trend": trend, "MenuFrame_Table": table, "Wnd_Modify": pencil, "MenuArchive_Ar": zipbox,
    "Film": film, "Wnd_Time": clock, "Button_ON": lamp(True), "Button_OFF": lamp(False), "Back": arrow(False),
    "Forward": arrow(True), "Play": play, "Pause": pause, "TrendMenu_MaxMin": maxmin, "TrendMenu_Remove": remove,
    "TrendMenu_Scale": ruler, "ParamGroups": folder, "Parameter": parameter, "Archive": database,
    "ChannelBlock": lettered("CB", NAVY), "ComplectBlock": lettered("KB", NAVY), "Cfg": lettered("CF", DGREEN),
    "Param": lettered("P", BLUE), "DC": lettered("DC", DRED), "PP_AZ": lettered("AZ", DRED),
    "Wrk": lettered("W", DGREEN), "Razb": lettered("R", NAVY), "Slave": lettered("S", DARK),
}


def write_ico(path, canvas):
    xor = b""
    for y in reversed(range(H)):
        for x in range(W):
            p = canvas.px[y][x]
            xor += struct.pack("BBBB", p[2], p[1], p[0], 255) if p else b"\0\0\0\0"
    mask = b""
    for y in reversed(range(H)):
        bits = 0
        for x in range(W):
            if canvas.px[y][x] is None:
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, W, H * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, 1))
        f.write(struct.pack("<BBBBHHII", W, H, 0, 0, 1, 32, len(image), 22))
        f.write(image)


def write_logo(path, w=320, h=240):
    c = Canvas(w, h)
    for y in range(h):
        for x in range(w):
            t = y / h
            c.px[y][x] = (int(20 + 30 * t), int(40 + 60 * t), int(90 + 100 * t))
    # A camera and a trend line over it, and the name.
    for (x0, y0, x1, y1) in [(40, 60, 150, 130)]:
        for y in range(y0, y1):
            for x in range(x0, x1):
                c.px[y][x] = (200, 200, 210)
    for y in range(75, 115):
        for x in range(150, 185):
            if abs(y - 95) <= (x - 150) * 0.6 + 8:
                c.px[y][x] = (200, 200, 210)
    for y in range(h):
        for x in range(w):
            if math.hypot(x - 95, y - 95) < 24:
                c.px[y][x] = (30, 60, 140) if math.hypot(x - 95, y - 95) < 20 else (20, 20, 30)
    pts = [(20, 200), (70, 170), (110, 185), (160, 150), (210, 165), (260, 120), (300, 135)]
    for (ax, ay), (bx, by) in zip(pts, pts[1:]):
        for d in range(-1, 2):
            c.line(ax, ay + d, bx, by + d, (240, 200, 40))
    c.text(190, 50, "TRAKVUE", WHITE, 4)
    rows = b""
    pad = (4 - (w * 3) % 4) % 4
    for y in reversed(range(h)):
        for x in range(w):
            r, g, b = c.px[y][x]
            rows += bytes((b, g, r))
        rows += b"\0" * pad
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 54 + len(rows), 0, 0, 54))
        f.write(struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0))
        f.write(rows)


if __name__ == "__main__":
    for name, draw in ICONS.items():
        cv = Canvas()
        draw(cv)
        write_ico(name + ".ico", cv)
    write_logo("Logo.bmp")
