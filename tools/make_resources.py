#!/usr/bin/python3
"""Writes the framework's pictures and the maker's mark into resources/, and the gallery's icon.

Run from any folder: /usr/bin/python3 tools/make_resources.py
The output is byte-for-byte the same on every run: the BMP and ICO files are assembled here,
PIL only renders the anti-aliased shapes and the text (Debian's python3-pil, fonts-arphic-uming,
fonts-dejavu-core).
"""

import math
import os
import struct

from PIL import Image, ImageDraw, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "resources")
CJK_FONT = "/usr/share/fonts/truetype/arphic/uming.ttc"
LATIN_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf"

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
HOUSE_BLUE = (30, 85, 149)


def hex_rgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


# Caption bar gradient, one colour per row: dark top line, light upper half, saturated lower half.
BAR_ROWS = [hex_rgb(c) for c in (
    "1E5595 AFC3DB 8CA9C9 89A7C9 87A3C8 82A2C9 7C9DC6 799CC6 7499C5 6E97C5 6993C5 6591C2 "
    "2F69B3 306CB4 316CB8 336EBC 3570BE 3572C2 3774C4 3875C6 3978C7 3A78CB 3C79CC 3D7BD0").split()]
BAR_HEIGHT = 22  # the bitmap is stretched over a bar this high

BUTTON_ROWS = [hex_rgb(c) for c in (
    "FEFEFE FDFDFD FCFCFC FAFAFA F8F8F8 F7F7F7 F5F5F5 F3F3F3 F1F1F1 "
    "E1E1E1 E2E2E2 E4E4E4 E5E5E5 E7E7E7 EBEBEB EEEEEE F1F1F1 F4F4F4").split()]
BUTTON_B_ROWS = [hex_rgb(c) for c in (
    "C2E3FA B3D6F2 A3C8EA 96BDE5 91BBE4 8FBAE7 90BCEA 91BEED 90BFF0 "
    "6BA8E5 6DAAE8 71AEEC 77B4F2 80BBF7 8CC4FB 9ACFFD ABDCFD BDE9FD").split()]

# The tab strip behind the tabs of a tab or page control: one flat light blue, stretched.
PAGE_STRIP = hex_rgb("E7EEF8")
# Tab set strip, one colour per row: a soft light blue.
TABSET_ROWS = [hex_rgb(c) for c in (
    "C3D4EE BBCFEA B8CDEA B9CEE9 BACEE9 BACEE9 BBCFEA BACFEA BBCFE8 BCD0E9 BFD0EA C1D1EB "
    "C2D2EB C2D4EC C2D4EC C3D5ED C4D6EC C6D6ED C6D7EB C7D8EC C8D9ED C9D8ED C8D9ED").split()]


# ---------------------------------------------------------------------------------------------
# File formats

def bmp_bytes(pixels, bits):
    """A bottom-up BMP with a BITMAPINFOHEADER; pixels is a list of rows of RGB tuples.
    8-bit files carry exactly the colours used, in order of first appearance."""
    height, width = len(pixels), len(pixels[0])
    palette = []
    if bits == 8:
        for row in pixels:
            palette.extend(c for c in row if c not in palette)
        if len(palette) > 256:
            raise ValueError("more than 256 colours in an 8-bit picture")
        index = {c: i for i, c in enumerate(palette)}
    stride = (width * bits // 8 + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):
        line = bytes(index[c] for c in row) if bits == 8 else b"".join(bytes((b, g, r)) for r, g, b in row)
        data += line + bytes(stride - len(line))
    colour_table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(colour_table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 0, 0, len(palette), 0)
    return header + info + colour_table + bytes(data)


def ico_image_bytes(indices, opaque, palette):
    """One 4-bit icon image: header (height doubled for the mask), 16 colours, colour bits, AND mask."""
    size = len(indices)
    colour = bytearray()
    for row in reversed(indices):
        line = bytes((row[x] << 4) | row[x + 1] for x in range(0, size, 2))
        colour += line + bytes(-len(line) % 4)
    mask = bytearray()
    for row in reversed(opaque):
        line = bytearray((size + 7) // 8)
        for x, solid in enumerate(row):
            if not solid:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line + bytes(-len(line) % 4)
    info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0, len(colour) + len(mask), 0, 0, 0, 0)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return info + table + bytes(colour) + bytes(mask)


def ico_bytes(images):
    """An .ico file from (size, image bytes) pairs of 16-colour images."""
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = len(head) + 16 * len(images)
    entries, bodies = b"", b""
    for size, body in images:
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(body), offset + len(bodies))
        bodies += body
    return head + entries + bodies


def image_rows(img):
    img = img.convert("RGB")
    return [[img.getpixel((x, y)) for x in range(img.width)] for y in range(img.height)]


# ---------------------------------------------------------------------------------------------
# Caption bar and its glyphs

def bar_colour_at(glyph_height, row):
    """Bar colour behind a glyph row: glyphs are drawn vertically centred in the 22-pixel bar,
    over which the 24-row bitmap is stretched (sampled at pixel centres)."""
    bar_y = (BAR_HEIGHT - glyph_height) // 2 + row
    return BAR_ROWS[(2 * bar_y + 1) * len(BAR_ROWS) // (2 * BAR_HEIGHT)]


def glyph(art, colours):
    """Pixel art on the bar gradient; '.' is background, other characters index colours."""
    return [[colours[ch] if ch != "." else bar_colour_at(len(art), y) for ch in line]
            for y, line in enumerate(art)]


W = {"W": WHITE}

CLOSE_ART = [
    "...........",
    ".##.....##.",
    "..##...##..",
    "...##.##...",
    "....###....",
    "....###....",
    "...##.##...",
    "..##...##..",
    ".##.....##.",
    "...........",
]
MAXIMISE_ART = [
    "............",
    ".##########.",
    ".##########.",
    ".#........#.",
    ".#........#.",
    ".#........#.",
    ".#........#.",
    ".#........#.",
    ".##########.",
    "............",
]
MINIMISE_ART = [
    ".............",
    ".............",
    ".............",
    ".............",
    ".............",
    ".............",
    "...#######...",
    "...#######...",
    ".............",
    ".............",
]
RESTORE_ART = [
    "....#######.",
    "....#######.",
    "....#.....#.",
    ".#######..#.",
    ".#######..#.",
    ".#.....####.",
    ".#.....#....",
    ".#.....#....",
    ".#######....",
    "............",
]
HELP_ART = [
    "..........",
    "...####...",
    "..######..",
    ".###..###.",
    ".##....##.",
    "......###.",
    ".....###..",
    "....###...",
    "....##....",
    "....##....",
    "..........",
    "....##....",
    "....##....",
]
# A page with a folded corner and text lines; a yellow question mark with a dark outline over it.
TOPICS_PAGE_ART = [
    "................",
    "..WWWWWWWWF.....",
    "..WWWWWWWWFF....",
    "..WWWWWWWWFFF...",
    "..WggggggWWWW...",
    "..WWWWWWWWWWW...",
    "..WgggggggggW...",
    "..WWWWWWWWWWW...",
    "..WgggggggggW...",
    "..WWWWWWWWWWW...",
    "..WgggggggggW...",
    "..WWWWWWWWWWW...",
    "..WggggggWWWW...",
    "..WWWWWWWWWWW...",
    "..WWWWWWWWWWW...",
    "................",
]
TOPICS_MARK_ART = [  # placed with its top-left corner at (10, 7)
    ".YYY.",
    "Y...Y",
    "....Y",
    "...Y.",
    "..Y..",
    "..Y..",
    ".....",
    "..Y..",
]
TOPICS_COLOURS = {"W": WHITE, "F": (192, 192, 192), "g": (156, 156, 156),
                  "Y": (255, 214, 0), "K": (96, 72, 0)}


def help_topics_art():
    """Stamps the outlined question mark onto the page."""
    art = [list(line) for line in TOPICS_PAGE_ART]
    left, top = 10, 7
    marks = {(left + x, top + y) for y, line in enumerate(TOPICS_MARK_ART) for x, ch in enumerate(line) if ch == "Y"}
    for x, y in marks:
        for dx, dy in ((-1, -1), (0, -1), (1, -1), (-1, 0), (1, 0), (-1, 1), (0, 1), (1, 1)):
            if (x + dx, y + dy) not in marks and 0 <= x + dx < 16 and 0 <= y + dy < 16:
                art[y + dy][x + dx] = "K"
    for x, y in marks:
        art[y][x] = "Y"
    return ["".join(line) for line in art]


# ---------------------------------------------------------------------------------------------
# Anti-aliased drawings: drawn SCALE times larger, then averaged down

SCALE = 8


class Canvas:
    """Shapes in the final picture's pixel units (floats, origin at the top-left corner)."""

    def __init__(self, width, height, background=WHITE):
        self.size = (width, height)
        self.img = Image.new("RGB", (width * SCALE, height * SCALE), background)
        self.draw = ImageDraw.Draw(self.img)

    def disc(self, cx, cy, r, colour):
        s = SCALE
        self.draw.ellipse([(cx - r) * s, (cy - r) * s, (cx + r) * s, (cy + r) * s], fill=colour)

    def polygon(self, points, colour):
        self.draw.polygon([(x * SCALE, y * SCALE) for x, y in points], fill=colour)

    def stroke(self, points, width, colour):
        """A path drawn with a round pen."""
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            self.draw.line([(x0 * SCALE, y0 * SCALE), (x1 * SCALE, y1 * SCALE)], fill=colour, width=round(width * SCALE))
        for x, y in points:
            self.disc(x, y, width / 2, colour)

    def rounded_polygon(self, points, radius, colour):
        """The polygon grown by radius in every direction: round corners."""
        self.polygon(points, colour)
        self.stroke(points + points[:1], 2 * radius, colour)

    def result(self):
        return self.img.resize(self.size, Image.BOX)


def arc_points(cx, cy, r, start_deg, end_deg, steps=24):
    """Points of an arc; angles in degrees, clockwise on screen from the positive x axis."""
    return [(cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a)))
            for a in (start_deg + (end_deg - start_deg) * i / steps for i in range(steps + 1))]


STROKE = 3.4
DOT = 2.0
CX = 22.5


def glyph_cross(c):
    c.stroke([(18.2, 20.3), (26.8, 28.9)], STROKE, BLACK)
    c.stroke([(26.8, 20.3), (18.2, 28.9)], STROKE, BLACK)


def glyph_info(c):
    c.disc(CX, 17.0, DOT, BLACK)
    c.stroke([(CX, 21.6), (CX, 30.6)], STROKE, BLACK)


def glyph_question(c):
    c.stroke(arc_points(CX, 19.8, 4.2, 195, 400) + [(CX, 25.2), (CX, 26.4)], STROKE, BLACK)
    c.disc(CX, 30.8, DOT, BLACK)


def glyph_exclamation(c):
    c.stroke([(CX, 16.4), (CX, 26.2)], STROKE, BLACK)
    c.disc(CX, 30.8, DOT, BLACK)


def dialog_icon(draw_glyph):
    """45 x 45: white disc with a light grey rim, a yellow triangle standing on it, a black glyph."""
    c = Canvas(45, 45)
    c.disc(CX, CX, 21.5, (200, 200, 200))
    c.disc(CX, CX, 19.8, (236, 236, 236))
    c.disc(CX, CX, 19.0, WHITE)
    core = [(CX, 10.0), (CX + 13.0, 32.5), (CX - 13.0, 32.5)]
    c.rounded_polygon(core, 3.9, (206, 146, 0))
    c.rounded_polygon(core, 2.8, (255, 206, 0))
    draw_glyph(c)
    return c.result()


# ---------------------------------------------------------------------------------------------
# Message box pictures and the logo

def hint_picture():
    """67 x 15: 提示信息 in blue, bold by drawing every character twice, one pixel apart."""
    img = Image.new("RGB", (67, 15), WHITE)
    draw = ImageDraw.Draw(img)
    draw.fontmode = "1"
    font = ImageFont.truetype(CJK_FONT, 15, index=0)  # AR PL UMing CN
    for i, ch in enumerate("提示信息"):
        for dx in (0, 1):
            draw.text((i * 17 + dx, -1), ch, font=font, fill=(16, 64, 168))
    return img


def rule_picture():
    """283 x 9: white, the bottom row a line that fades out towards both ends."""
    width, height, darkest = 283, 9, (218, 226, 239)
    rows = [[WHITE] * width for _ in range(height)]
    middle = (width - 1) / 2
    for x in range(width):
        t = 1 - abs(x - middle) / middle
        t = t * t * (3 - 2 * t)
        rows[-1][x] = tuple(round(255 - (255 - d) * t) for d in darkest)
    return rows


MARK_BLUE = HOUSE_BLUE
MARK_RIM = (18, 52, 104)
MARK_GOLD = (255, 190, 0)


def draw_mark(c, cx, cy, r):
    """The maker's mark: a blue disc carrying a white open ring, closed on the right by a gold diamond."""
    c.disc(cx, cy, r, MARK_RIM)
    c.disc(cx, cy, r * 0.9, MARK_BLUE)
    c.stroke(arc_points(cx, cy, r * 0.52, 35, 325), r * 0.26, WHITE)
    d = r * 0.2
    gx = cx + r * 0.52
    c.polygon([(gx, cy - d), (gx + d, cy), (gx, cy + d), (gx - d, cy)], MARK_GOLD)


def logo_picture():
    """70 x 35: the mark above the word Corvane."""
    c = Canvas(70, 35)
    draw_mark(c, 35.0, 11.0, 10.0)
    img = c.result()
    draw = ImageDraw.Draw(img)
    font = ImageFont.truetype(LATIN_FONT, 11)
    left, _, right, _ = draw.textbbox((0, 0), "Corvane", font=font)
    draw.text(((70 - (right - left)) // 2 - left, 21), "Corvane", font=font, fill=MARK_RIM)
    return img


ICON_PALETTE = [BLACK, WHITE, MARK_BLUE, MARK_RIM, MARK_GOLD] + [BLACK] * 11


def draw_tiles(c, cx, cy, r):
    """The gallery's mark: four tiles, one per page, on the house blue disc."""
    c.disc(cx, cy, r, MARK_RIM)
    c.disc(cx, cy, r * 0.9, MARK_BLUE)
    t, gap = r * 0.36, r * 0.08
    for dx, dy, colour in ((-1, -1, WHITE), (1, -1, MARK_GOLD), (-1, 1, MARK_GOLD), (1, 1, WHITE)):
        x0 = cx + (gap if dx > 0 else -gap - t)
        y0 = cy + (gap if dy > 0 else -gap - t)
        c.polygon([(x0, y0), (x0 + t, y0), (x0 + t, y0 + t), (x0, y0 + t)], colour)


def icon_image(size, draw=draw_mark):
    """A mark at one icon size, every pixel snapped to the nearest colour of the 16-colour palette;
    pixels mostly outside the disc are transparent."""
    c = Canvas(size, size, BLACK)
    centre, radius = size / 2, size / 2 - 0.8
    draw(c, centre, centre, radius)
    colours = c.result()
    coverage = Canvas(size, size, BLACK)
    coverage.disc(centre, centre, radius, WHITE)
    cover = coverage.result()
    used = ICON_PALETTE[:5]
    indices, opaque = [], []
    for y in range(size):
        index_row, opaque_row = [], []
        for x in range(size):
            solid = cover.getpixel((x, y))[0] >= 128
            pixel = colours.getpixel((x, y))
            nearest = min(range(1, len(used)), key=lambda i: sum((a - b) ** 2 for a, b in zip(pixel, used[i])))
            index_row.append(nearest if solid else 0)
            opaque_row.append(solid)
        indices.append(index_row)
        opaque.append(opaque_row)
    return ico_image_bytes(indices, opaque, ICON_PALETTE)


def icon_bytes(draw):
    return ico_bytes([(32, icon_image(32, draw)), (16, icon_image(16, draw))])


# The framework's own icon images are numbered here, not by the resource compiler: it numbers the images of every
# script from 1, so a program's icon would collide with them at the link.
MARK_IMAGE_IDS = {32: 8011, 16: 8012}


def icon_group_bytes(images):
    """An icon group resource from (size, image bytes, image id) triples of 16-colour images."""
    head = struct.pack("<HHH", 0, 1, len(images))
    return head + b"".join(struct.pack("<BBBBHHIH", size, size, 16, 0, 1, 4, len(body), ident)
                           for size, body, ident in images)


# ---------------------------------------------------------------------------------------------

def pictures():
    """File name, pixel rows, bits per pixel: 8 wherever the colour table costs less than the third of the bytes
    it saves (no picture has more than 256 colours, so the pixels are the same)."""
    return [
        ("formtitilebitmap.bmp", [[c] * 9 for c in BAR_ROWS], 8),
        ("close.bmp", glyph(CLOSE_ART, {"#": WHITE}), 8),
        ("maximize.bmp", glyph(MAXIMISE_ART, {"#": WHITE}), 8),
        ("minimize.bmp", glyph(MINIMISE_ART, {"#": WHITE}), 8),
        ("restore.bmp", glyph(RESTORE_ART, {"#": WHITE}), 8),
        ("helptopics.bmp", glyph(help_topics_art(), TOPICS_COLOURS), 8),
        ("help.bmp", glyph(HELP_ART, {"#": WHITE}), 8),
        ("button_background.bmp", [[c] * 2 for c in BUTTON_ROWS], 8),
        ("button_background_b.bmp", [[c] * 2 for c in BUTTON_B_ROWS], 24),
        ("pagecontrolbackground.bmp", [[PAGE_STRIP]] * 21, 24),
        ("tabsetback_s.bmp", [[c] for c in TABSET_ROWS], 24),
        ("dlg_iconerrorex.bmp", image_rows(dialog_icon(glyph_cross)), 8),
        ("dlg_iconinformationex.bmp", image_rows(dialog_icon(glyph_info)), 8),
        ("dlg_iconquestionex.bmp", image_rows(dialog_icon(glyph_question)), 8),
        ("dlg_iconwarningex.bmp", image_rows(dialog_icon(glyph_exclamation)), 8),
        ("hintinfo.bmp", image_rows(hint_picture()), 8),
        ("hintline.bmp", rule_picture(), 8),
        ("logo.bmp", image_rows(logo_picture()), 8),
    ]


def write(name, data, folder=OUT):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    for name, rows, bits in pictures():
        write(name, bmp_bytes(rows, bits))
    write("mark.ico", icon_bytes(draw_mark))
    images = [(size, icon_image(size), MARK_IMAGE_IDS[size]) for size in (32, 16)]
    write("mark.grp", icon_group_bytes(images))
    for size, body, _ in images:
        write("mark%d.img" % size, body)
    write("Gallery.ico", icon_bytes(draw_tiles), os.path.join(ROOT, "examples", "gallery"))


if __name__ == "__main__":
    main()
