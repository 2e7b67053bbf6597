#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Draws the default skin of Kestrix into data/skins/default/.

Every image is drawn at four times its size and scaled down, once for a device pixel ratio
of 1 (name.png) and once for 2 (name@2x.png), so edges stay crisp on both. The output is
committed; run this again after changing it:

    /usr/bin/python3 tools/skin/make_skin.py [output folder]

Needs Pillow (Debian: python3-pil). Fonts: Open Sans (fonts-open-sans) when installed,
DejaVu Sans otherwise.
"""

import argparse
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "..", "data", "skins", "default")

if __name__ == "__main__":
    # Read the command line before Pillow is needed, so --help works without it.
    _parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    _parser.add_argument("output", nargs="?", default=OUT, help="output folder (default: data/skins/default)")
    OUT = _parser.parse_args().output

from PIL import Image, ImageDraw, ImageFilter, ImageFont  # noqa: E402

SUPER = 4  # supersampling factor on top of the pixel ratio

WINDOW = (26, 26, 26, 255)
PANEL = (36, 36, 38, 255)
PANEL_BORDER = (52, 52, 56, 255)
INPUT = (44, 44, 48, 255)
INPUT_BORDER = (60, 60, 66, 255)
TEXT = (200, 200, 200, 255)
HEADING = (235, 235, 235, 255)
SECONDARY = (150, 150, 150, 255)
ACCENT = (0, 174, 239, 255)
RECORD = (232, 72, 85, 255)

FONT_FILES = [
    "/usr/share/fonts/truetype/open-sans/OpenSans-Bold.ttf",
    "/usr/share/fonts/truetype/open-sans/OpenSans-Semibold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
]


def font(size):
    for path in FONT_FILES:
        if os.path.exists(path):
            return ImageFont.truetype(path, size)
    return ImageFont.load_default()


class Canvas:
    """A drawing surface in design pixels, backed by a supersampled RGBA image."""

    def __init__(self, width, height, ratio):
        self.width = width
        self.height = height
        self.scale = ratio * SUPER
        self.ratio = ratio
        self.image = Image.new("RGBA", (round(width * self.scale), round(height * self.scale)), (0, 0, 0, 0))
        self.draw = ImageDraw.Draw(self.image)

    def s(self, value):
        return value * self.scale

    def box(self, x0, y0, x1, y1):
        return [self.s(x0), self.s(y0), self.s(x1) - 1, self.s(y1) - 1]

    def rounded(self, x0, y0, x1, y1, radius, fill=None, outline=None, width=1.0):
        self.draw.rounded_rectangle(self.box(x0, y0, x1, y1), radius=self.s(radius), fill=fill, outline=outline,
                                    width=max(1, round(self.s(width))) if outline else 0)

    def line(self, points, colour, width):
        pts = [(self.s(x), self.s(y)) for x, y in points]
        w = max(1, round(self.s(width)))
        self.draw.line(pts, fill=colour, width=w, joint="curve")
        r = w / 2
        for x, y in (pts[0], pts[-1]):
            self.draw.ellipse([x - r, y - r, x + r, y + r], fill=colour)

    def circle(self, cx, cy, radius, fill=None, outline=None, width=1.0):
        self.draw.ellipse(self.box(cx - radius, cy - radius, cx + radius, cy + radius), fill=fill, outline=outline,
                          width=max(1, round(self.s(width))) if outline else 0)

    def arc(self, cx, cy, radius, start, end, colour, width):
        self.draw.arc(self.box(cx - radius, cy - radius, cx + radius, cy + radius), start, end, fill=colour,
                      width=max(1, round(self.s(width))))

    def polygon(self, points, fill):
        self.draw.polygon([(self.s(x), self.s(y)) for x, y in points], fill=fill)

    def text(self, x, y, string, size, colour, anchor="lm"):
        self.draw.text((self.s(x), self.s(y)), string, font=font(round(self.s(size))), fill=colour, anchor=anchor)

    def save(self, name):
        path = os.path.join(OUT, name)
        if self.ratio != 1:
            root, ext = os.path.splitext(path)
            path = root + "@%dx" % self.ratio + ext
        os.makedirs(os.path.dirname(path), exist_ok=True)
        size = (round(self.width * self.ratio), round(self.height * self.ratio))
        self.image.resize(size, Image.LANCZOS).save(path, optimize=True)

    def result(self):
        return self.image.resize((round(self.width * self.ratio), round(self.height * self.ratio)), Image.LANCZOS)


def both(name, width, height, painter):
    for ratio in (1, 2):
        canvas = Canvas(width, height, ratio)
        painter(canvas)
        canvas.save(name)


# ---- glyphs on a 24 x 24 grid, drawn into (x, y, side) --------------------------------------

def glyph(c, name, x, y, side, colour, stroke=1.7):
    k = side / 24.0

    def p(px, py):
        return (x + px * k, y + py * k)

    def ln(*points):
        c.line([p(*pt) for pt in points], colour, stroke)

    if name == "close":
        ln((7, 7), (17, 17))
        ln((17, 7), (7, 17))
    elif name == "minimize":
        ln((6.5, 12.5), (17.5, 12.5))
    elif name == "maximize":
        c.rounded(*p(7, 7), *p(17, 17), 1.5 * k, outline=colour, width=stroke)
    elif name == "restore":
        c.rounded(*p(6.5, 9), *p(15, 17.5), 1.2 * k, outline=colour, width=stroke)
        ln((9, 9), (9, 6.5), (17.5, 6.5), (17.5, 15), (15, 15))
    elif name in ("settings", "set"):
        pts = []
        for i in range(8):
            for angle, radius in ((i * 45 - 12, 8.5), (i * 45 + 12, 8.5), (i * 45 + 33, 6.4)):
                a = math.radians(angle)
                pts.append((12 + math.cos(a) * radius, 12 + math.sin(a) * radius))
        pts.append(pts[0])
        ln(*pts)
        c.circle(*p(12, 12), 2.8 * k, outline=colour, width=stroke)
    elif name == "reset":
        # A circular arrow: most of a circle, its head at the top left pointing clockwise.
        c.arc(*p(12, 12.5), 7.5 * k, 215, 505, colour, stroke)
        ln((4.2, 4.8), (5.6, 9.4), (10.2, 8.6))
    elif name in ("return", "prev"):
        ln((14.5, 6), (8.5, 12), (14.5, 18))
        if name == "return":
            ln((8.5, 12), (19, 12))
    elif name == "next":
        ln((9.5, 6), (15.5, 12), (9.5, 18))
    elif name == "up":
        ln((12, 18.5), (12, 5.5))
        ln((7, 10.5), (12, 5.5), (17, 10.5))
    elif name == "down":
        ln((12, 5.5), (12, 18.5))
        ln((7, 13.5), (12, 18.5), (17, 13.5))
    elif name == "home":
        ln((4.5, 11.5), (12, 5), (19.5, 11.5))
        ln((6.5, 10), (6.5, 19), (17.5, 19), (17.5, 10))
        c.rounded(*p(10.3, 13.5), *p(13.7, 19), 0.8 * k, outline=colour, width=stroke)
    elif name == "key":
        c.rounded(*p(6.5, 3.5), *p(17.5, 20.5), 5.5 * k, outline=colour, width=stroke)
        ln((12, 3.8), (12, 9.5))
        ln((6.8, 9.5), (17.2, 9.5))
    elif name == "dpi":
        c.arc(*p(12, 13.5), 8 * k, 200, 340, colour, stroke)
        ln((12, 13.5), (16.5, 8.5))
        c.circle(*p(12, 13.5), 1.6 * k, fill=colour)
        ln((5, 18.5), (19, 18.5))
    elif name == "macro":
        c.rounded(*p(3.5, 7), *p(20.5, 18), 2 * k, outline=colour, width=stroke)
        for i in range(4):
            c.circle(*p(7 + i * 3.3, 10.5), 0.9 * k, fill=colour)
        ln((8, 14.5), (16, 14.5))
    elif name == "light":
        c.circle(*p(12, 10.5), 5 * k, outline=colour, width=stroke)
        ln((10, 17.5), (14, 17.5))
        ln((10.6, 20), (13.4, 20))
        ln((12, 2.5), (12, 3.5))
        ln((4, 10.5), (5, 10.5))
        ln((19, 10.5), (20, 10.5))
    elif name == "rec":
        c.circle(*p(12, 12), 8 * k, outline=colour, width=stroke)
        c.circle(*p(12, 12), 4.2 * k, fill=colour)
    elif name == "stop":
        c.circle(*p(12, 12), 8 * k, outline=colour, width=stroke)
        c.rounded(*p(8.6, 8.6), *p(15.4, 15.4), 1.2 * k, fill=colour)
    elif name == "help":
        c.circle(*p(12, 12), 8.5 * k, outline=colour, width=stroke)
        c.arc(*p(12, 9.6), 2.6 * k, 180, 400, colour, stroke)
        ln((12, 12.3), (12, 14))
        c.circle(*p(12, 17), 0.9 * k, fill=colour)


def shield(c, x, y, side, fill, cut):
    """The Kestrix mark: a shield with a 'K' cut out of it."""
    k = side / 24.0
    outline = [(12, 1.8), (20.6, 5.0), (19.6, 13.8), (17.6, 18.2), (12, 22.2), (6.4, 18.2), (4.4, 13.8), (3.4, 5.0)]
    c.polygon([(x + px * k, y + py * k) for px, py in outline], fill)
    stroke = 2.3 * k
    c.line([(x + 9.4 * k, y + 7 * k), (x + 9.4 * k, y + 17 * k)], cut, stroke)
    c.line([(x + 15.4 * k, y + 7 * k), (x + 10.2 * k, y + 12.2 * k), (x + 15.4 * k, y + 17 * k)], cut, stroke)


# ---- images ---------------------------------------------------------------------------------

def icon_button(name, glyph_name, size=36, colour=SECONDARY, stroke=1.7):
    both(name, size, size, lambda c: glyph(c, glyph_name, size * 0.2, size * 0.2, size * 0.6, colour, stroke))


def nine_slice(name, width, height, radius, fill, outline=None, border=1.0):
    both(name, width, height, lambda c: c.rounded(0, 0, width, height, radius, fill=fill, outline=outline, width=border))


def gradient_panel(name, width, height, radius, top, bottom, outline):
    def paint(c):
        mask = Image.new("L", c.image.size, 0)
        ImageDraw.Draw(mask).rounded_rectangle([0, 0, c.image.size[0] - 1, c.image.size[1] - 1], radius=c.s(radius),
                                               fill=255)
        fill = Image.new("RGBA", c.image.size)
        fd = ImageDraw.Draw(fill)
        for row in range(c.image.size[1]):
            t = row / max(1, c.image.size[1] - 1)
            fd.line([(0, row), (c.image.size[0], row)],
                    fill=tuple(round(top[i] + (bottom[i] - top[i]) * t) for i in range(4)))
        c.image.paste(fill, (0, 0), mask)
        c.rounded(0, 0, width, height, radius, outline=outline, width=1)

    both(name, width, height, paint)


def logo():
    def paint(c):
        shield(c, 2, 4, 32, ACCENT, WINDOW)
        c.text(44, 20.5, "KESTRIX", 22, HEADING)

    both("logo.png", 150, 40, paint)


def record_button_images():
    both("icon/icon_rec.png", 48, 48, lambda c: glyph(c, "rec", 4, 4, 40, RECORD, 2.2))
    both("icon/icon_stop_rec.png", 48, 48, lambda c: glyph(c, "stop", 4, 4, 40, RECORD, 2.2))


def record_item_images():
    for name, g in (("img_recorditem_up.png", "up"), ("img_recorditem_down.png", "down")):
        def paint(c, g=g):
            c.rounded(0, 0, 36, 36, 8, fill=INPUT, outline=INPUT_BORDER, width=1)
            glyph(c, g, 8, 8, 20, TEXT, 1.8)
        both(name, 36, 36, paint)


def scroll_buttons():
    for name, g in (("img_btn_pre.png", "prev"), ("img_btn_next.png", "next")):
        def paint(c, g=g):
            c.circle(20, 20, 19.5, fill=(44, 44, 48, 230), outline=INPUT_BORDER, width=1)
            glyph(c, g, 8, 8, 24, HEADING, 2.0)
        both(name, 40, 40, paint)


def app_icons():
    def tray(c):
        shield(c, 0, 0, c.width, ACCENT, WINDOW)

    both("tray.png", 32, 32, tray)
    images = []
    for size in (16, 24, 32, 48, 64, 128, 256):
        canvas = Canvas(size, size, 1)
        shield(canvas, 0, 0, size, ACCENT, WINDOW)
        images.append(canvas.result())
    path = os.path.join(OUT, "DeviceDriver.ico")
    images[-1].save(path, sizes=[(i.width, i.height) for i in images], append_images=images[:-1])
    images[-1].save(os.path.join(OUT, "DeviceDriver.png"))


# ---- device pictures ------------------------------------------------------------------------

def bezier(p0, p1, p2, p3, steps=40):
    out = []
    for i in range(steps + 1):
        t = i / steps
        u = 1 - t
        out.append((u ** 3 * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t ** 3 * p3[0],
                    u ** 3 * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t ** 3 * p3[1]))
    return out


MODELS = {
    # name: (shell width at the waist, right-handed bulge, side buttons, light strip, body colour)
    "vireo": dict(waist=0.0, bulge=0.0, sides=2, strip=True, body=(54, 56, 62)),
    "falco": dict(waist=10.0, bulge=14.0, sides=3, strip=False, body=(46, 46, 50)),
    "harrier_pro": dict(waist=4.0, bulge=8.0, sides=3, strip=True, body=(40, 42, 48)),
}


def mouse_outline(spec):
    # Design space 342 x 440 (the model files place their buttons in it).
    bulge = spec["bulge"]
    waist = spec["waist"]
    top = (171, 34)
    right_shoulder = (262 + bulge * 0.3, 150)
    right_bottom = (250 + bulge, 360)
    bottom = (171, 418)
    left_bottom = (92 - bulge * 0.2, 360)
    left_shoulder = (80 - waist * 0.2, 150)
    points = []
    points += bezier(top, (222, 34), (258, 70), right_shoulder)
    points += bezier(right_shoulder, (268 + bulge, 220 - waist * 2), (274 + bulge, 300), right_bottom)
    points += bezier(right_bottom, (232 + bulge * 0.5, 410), (205, 418), bottom)
    points += bezier(bottom, (137, 418), (110, 410), left_bottom)
    points += bezier(left_bottom, (68 + waist, 300), (70 + waist * 1.6, 220), left_shoulder)
    points += bezier(left_shoulder, (84, 70), (120, 34), top)
    return points


def mouse_top(c, spec, accent=ACCENT):
    outline = mouse_outline(spec)
    s = c.scale
    size = c.image.size
    # Shadow.
    shadow = Image.new("L", size, 0)
    ImageDraw.Draw(shadow).polygon([(x * s, (y + 8) * s) for x, y in outline], fill=150)
    shadow = shadow.filter(ImageFilter.GaussianBlur(10 * s))
    c.image.paste((0, 0, 0, 255), (0, 0), shadow)
    # Shell with a top-lit gradient.
    mask = Image.new("L", size, 0)
    ImageDraw.Draw(mask).polygon([(x * s, y * s) for x, y in outline], fill=255)
    body = spec["body"]
    shell = Image.new("RGBA", size)
    sd = ImageDraw.Draw(shell)
    for row in range(size[1]):
        t = row / size[1]
        light = 1.35 - 0.55 * t
        sd.line([(0, row), (size[0], row)], fill=tuple(min(255, round(ch * light)) for ch in body) + (255,))
    c.image.paste(shell, (0, 0), mask)
    # Soft highlight on the back of the shell.
    glow = Image.new("L", size, 0)
    ImageDraw.Draw(glow).ellipse([130 * s, 200 * s, 215 * s, 330 * s], fill=60)
    glow = glow.filter(ImageFilter.GaussianBlur(24 * s))
    glow = Image.composite(glow, Image.new("L", size, 0), mask)
    c.image.paste((255, 255, 255, 255), (0, 0), glow)
    edge = tuple(min(255, ch + 46) for ch in body) + (255,)
    c.line(outline, edge, 1.6)
    seam = tuple(max(0, ch - 26) for ch in body) + (255,)
    # Button split and the line closing the buttons off the palm rest.
    c.line([(171, 38), (171, 196)], seam, 2.2)
    c.line(bezier((86, 196), (130, 210), (212, 210), (256 + spec["bulge"] * 0.3, 196)), seam, 2.2)
    # Wheel and DPI button.
    c.rounded(160, 70, 182, 120, 10, fill=(24, 24, 26, 255), outline=(84, 84, 92, 255), width=1.2)
    for i in range(7):
        y = 76 + i * 6.5
        c.line([(164, y), (178, y)], (70, 70, 78, 255), 1.1)
    c.rounded(163, 150, 179, 182, 5, fill=(30, 30, 34, 255), outline=(90, 90, 98, 255), width=1.2)
    c.rounded(167, 156, 175, 166, 2, fill=accent)
    # Side buttons on the left edge.
    for i in range(spec["sides"]):
        y0 = 176 + i * 42
        c.rounded(60 + spec["waist"] * 0.9, y0, 76 + spec["waist"] * 0.9, y0 + 34, 6, fill=(34, 34, 38, 255),
                  outline=(96, 96, 104, 255), width=1.2)
    # Light strip around the palm, and the mark.
    if spec["strip"]:
        glow = Image.new("L", size, 0)
        gd = ImageDraw.Draw(glow)
        strip = bezier((120, 392), (150, 404), (192, 404), (222, 392))
        gd.line([(x * s, y * s) for x, y in strip], fill=255, width=round(5 * s))
        halo = glow.filter(ImageFilter.GaussianBlur(7 * s))
        c.image.paste(accent[:3] + (255,), (0, 0), Image.composite(halo, Image.new("L", size, 0), mask).point(lambda v: v * 0.7))
        c.image.paste(accent[:3] + (255,), (0, 0), glow)
    shield(c, 161, 300, 20, (120, 120, 128, 255), body + (255,))


def device_pictures():
    for name, spec in MODELS.items():
        both("device/%s_top.png" % name, 342, 440, lambda c, spec=spec: mouse_top(c, spec))

        def card(c, spec=spec):
            inner = Canvas(342, 440, c.ratio)
            mouse_top(inner, spec)
            picture = inner.image.rotate(-14, resample=Image.BICUBIC, expand=True)
            scale = (c.image.size[1] * 0.98) / picture.size[1]
            picture = picture.resize((round(picture.size[0] * scale), round(picture.size[1] * scale)), Image.LANCZOS)
            c.image.paste(picture, ((c.image.size[0] - picture.size[0]) // 2, (c.image.size[1] - picture.size[1]) // 2),
                          picture)

        both("device/%s.png" % name, 300, 300, card)


def mouse_outline_image(c):
    """The home view's no-device picture: the shell of the default model drawn as line art,
    with a dashed cable reaching up to show that nothing is plugged in."""
    k = 0.5
    dx = (c.width - 342 * k) / 2
    dy = 38

    def at(points):
        return [(dx + x * k, dy + y * k) for x, y in points]

    spec = MODELS["vireo"]
    outline = at(mouse_outline(spec))
    s = c.scale
    size = c.image.size
    # A faint top-lit fill so the shape reads as a surface, not a hole.
    mask = Image.new("L", size, 0)
    ImageDraw.Draw(mask).polygon([(x * s, y * s) for x, y in outline], fill=255)
    shell = Image.new("RGBA", size)
    sd = ImageDraw.Draw(shell)
    for row in range(size[1]):
        t = row / size[1]
        sd.line([(0, row), (size[0], row)], fill=(52, 52, 58, round(120 - 70 * t)))
    c.image.paste(shell, (0, 0), mask)
    line = (104, 104, 112, 255)
    detail = (78, 78, 86, 255)
    c.line(outline + outline[:1], line, 2.0)
    # The button split, broken where the wheel and the DPI button sit.
    for y0, y1 in ((40, 64), (126, 144), (188, 200)):
        c.line(at([(171, y0), (171, y1)]), detail, 1.4)
    c.line(at(bezier((86, 196), (130, 210), (212, 210), (256, 196))), detail, 1.4)
    wx, wy = dx + 160 * k, dy + 70 * k
    c.rounded(wx, wy, wx + 22 * k, wy + 50 * k, 10 * k, outline=line, width=1.4)
    c.rounded(dx + 163 * k, dy + 150 * k, dx + 179 * k, dy + 182 * k, 5 * k, outline=detail, width=1.2)
    for i in range(spec["sides"]):
        y0 = 176 + i * 42
        c.rounded(dx + 60 * k, dy + y0 * k, dx + 76 * k, dy + (y0 + 34) * k, 6 * k, outline=detail, width=1.2)
    # Dashed cable from the nose of the shell up to the top edge.
    top = (dx + 171 * k, dy + 34 * k)
    cable = bezier(top, (top[0], top[1] - 22), (top[0] + 26, top[1] - 14), (top[0] + 28, 2), 60)
    dash, gap, run, drawing, piece = 5.0, 4.0, 0.0, True, [cable[0]]
    for a, b in zip(cable, cable[1:]):
        run += math.hypot(b[0] - a[0], b[1] - a[1])
        piece.append(b)
        if run >= (dash if drawing else gap):
            if drawing:
                c.line(piece, detail, 1.6)
            drawing, run, piece = not drawing, 0.0, [b]
    if drawing and len(piece) > 1:
        c.line(piece, detail, 1.6)


def main():
    os.makedirs(OUT, exist_ok=True)
    nine_slice("img_button.png", 40, 36, 18, INPUT, INPUT_BORDER)
    gradient_panel("bk_prompt.png", 64, 64, 12, (40, 40, 44, 255), (30, 30, 32, 255), (40, 96, 120, 255))
    gradient_panel("img_upgrade_bkg.png", 64, 64, 12, (44, 40, 42, 255), (30, 30, 32, 255), (120, 60, 64, 255))
    nine_slice("img_area_bkg.png", 48, 48, 8, PANEL, PANEL_BORDER)
    nine_slice("img_area_content.png", 48, 48, 10, (32, 32, 34, 255), PANEL_BORDER)
    nine_slice("img_area2.png", 48, 48, 8, (30, 30, 32, 255), (46, 46, 50, 255))
    nine_slice("img_area.png", 48, 48, 8, PANEL, PANEL_BORDER)
    nine_slice("img_edit.png", 32, 32, 6, INPUT, PANEL_BORDER)
    nine_slice("img_list_bkg.png", 32, 32, 6, (255, 255, 255, 22))
    nine_slice("img_tabitem_bkg.png", 32, 32, 8, (255, 255, 255, 16))
    nine_slice("img_dpi_bar.png", 12, 6, 3, (64, 64, 70, 255))
    nine_slice("img_slider_bar.png", 12, 6, 3, (64, 64, 70, 255))
    for name, g in (("sysbtn_close.png", "close"), ("sysbtn_min.png", "minimize"), ("sysbtn_maximize.png", "maximize"),
                    ("sysbtn_restore.png", "restore"), ("sysbtn_setting.png", "settings")):
        icon_button(name, g, 36, (170, 170, 176, 255), 1.6)
    icon_button("btn_reset.png", "reset", 28, (170, 170, 176, 255), 1.7)
    icon_button("img_return.png", "return", 36, (200, 200, 200, 255), 1.8)
    for name in ("home", "key", "dpi", "macro", "light", "set"):
        both("icon/tab_%s.png" % name, 24, 24, lambda c, name=name: glyph(c, name, 0, 0, 24, SECONDARY, 1.6))
    record_button_images()
    record_item_images()
    scroll_buttons()
    logo()
    app_icons()
    device_pictures()
    both("img_mouse_outline.png", 180, 260, mouse_outline_image)


if __name__ == "__main__":
    main()
