#!/usr/bin/env python3
"""Draws the loader's skin images (loader/skin/*.png, *.jpg) and the program
icon (loader/qel_main.ico). Shapes are drawn from signed distances with a
one-pixel soft edge, so they stay crisp at their native size.

    tools/make_skin_images.py            # writes into loader/skin and loader/
The JPEG backgrounds and the icon go through ImageMagick's `convert`."""
import math
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
SKIN = os.path.join(ROOT, "loader", "skin")


# ---------------------------------------------------------------- canvas

class Canvas:
    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [list(fill) for _ in range(w * h)]

    def blend(self, x, y, rgb, a):
        """Source-over of colour rgb with coverage*alpha a (0..1)."""
        if a <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        p = self.px[y * self.w + x]
        da = p[3] / 255.0
        oa = a + da * (1 - a)
        if oa <= 0:
            return
        for i in range(3):
            p[i] = (rgb[i] * a + p[i] * da * (1 - a)) / oa
        p[3] = oa * 255

    def shape(self, dist, rgb, alpha=1.0, box=None):
        """Fills where dist(x+.5, y+.5) < 0, with a soft one-pixel edge."""
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h)
        for y in range(max(0, int(y0)), min(self.h, int(math.ceil(y1)))):
            for x in range(max(0, int(x0)), min(self.w, int(math.ceil(x1)))):
                d = dist(x + 0.5, y + 0.5)
                cov = min(1.0, max(0.0, 0.5 - d))
                if cov > 0:
                    self.blend(x, y, rgb, cov * alpha)

    def png(self, path):
        raw = bytearray()
        for y in range(self.h):
            raw.append(0)
            for x in range(self.w):
                p = self.px[y * self.w + x]
                raw.extend(int(round(min(255, max(0, c)))) for c in p)

        def chunk(tag, data):
            c = struct.pack(">I", len(data)) + tag + data
            return c + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
            f.write(chunk(b"IEND", b""))


def hexrgb(s):
    s = s.lstrip("#")
    return tuple(int(s[i:i + 2], 16) for i in (0, 2, 4))


# ---------------------------------------------------------------- distances

def rounded_rect(x0, y0, x1, y1, r):
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r
    return d


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def segment(ax, ay, bx, by, half_width):
    def d(x, y):
        px, py, vx, vy = x - ax, y - ay, bx - ax, by - ay
        t = max(0.0, min(1.0, (px * vx + py * vy) / (vx * vx + vy * vy)))
        return math.hypot(px - vx * t, py - vy * t) - half_width
    return d


def ring(inner, outer):
    return lambda x, y: max(outer(x, y), -inner(x, y))


def union(*ds):
    return lambda x, y: min(d(x, y) for d in ds)


# ---------------------------------------------------------------- images

def window_buttons():
    # Minimise on the dark progress page: a light bar; hover adds a soft plate.
    for name, hover in (("gmin_normal.png", False), ("gmin_hover.png", True)):
        c = Canvas(24, 24)
        if hover:
            c.shape(rounded_rect(1, 1, 23, 23, 4), (255, 255, 255), 0.18)
        c.shape(segment(7, 12.5, 17, 12.5, 0.9), hexrgb("#F2EEE6"), 1.0 if hover else 0.85)
        c.png(os.path.join(SKIN, name))
    # Close: a light cross; hover turns the plate red.
    for name, hover in (("gclose_normal.png", False), ("gclose_hover.png", True)):
        c = Canvas(28, 30)
        if hover:
            c.shape(rounded_rect(1, 2, 27, 28, 4), hexrgb("#E5484D"), 1.0)
        cross = union(segment(9, 10, 19, 20, 0.9), segment(19, 10, 9, 20, 0.9))
        c.shape(cross, (255, 255, 255) if hover else hexrgb("#F2EEE6"), 1.0 if hover else 0.85)
        c.png(os.path.join(SKIN, name))
    # Message box close on white: grey cross, hover a light plate and a darker cross.
    for name, hover in (("btn_close.png", False), ("btn_close_hover.png", True)):
        c = Canvas(24, 24)
        if hover:
            c.shape(circle(12, 12, 11), hexrgb("#EDEFF2"), 1.0)
        cross = union(segment(7.5, 7.5, 16.5, 16.5, 0.85), segment(16.5, 7.5, 7.5, 16.5, 0.85))
        c.shape(cross, hexrgb("#4A4F57") if hover else hexrgb("#9AA0A8"), 1.0)
        c.png(os.path.join(SKIN, name))


def progress_images():
    bk = Canvas(30, 13)
    bk.shape(rounded_rect(0, 0, 30, 13, 3), (0, 0, 0), 0.45)
    bk.shape(ring(rounded_rect(1, 1, 29, 12, 2.5), rounded_rect(0, 0, 30, 13, 3)), (255, 255, 255), 0.12)
    bk.png(os.path.join(SKIN, "gprogress_bk.png"))
    fore = Canvas(30, 13)
    top, bottom = hexrgb("#FFD27A"), hexrgb("#F08A24")
    for y in range(13):
        t = y / 12.0
        rgb = tuple(top[i] + (bottom[i] - top[i]) * t for i in range(3))
        fore.shape(rounded_rect(0, 0, 30, 13, 3), rgb, 1.0, box=(0, y, 30, y + 1))
    fore.shape(rounded_rect(1, 1, 29, 4, 1.5), (255, 255, 255), 0.25)
    fore.png(os.path.join(SKIN, "gprogress_fore.png"))


def shadow():
    # 9 px of soft falloff around a 12 px centre; the centre sits under the window.
    size, reach = 30, 9.0
    c = Canvas(size, size)
    for y in range(size):
        for x in range(size):
            dx = max(reach - (x + 0.5), 0, (x + 0.5) - (size - reach))
            dy = max(reach - (y + 0.5), 0, (y + 0.5) - (size - reach))
            d = math.hypot(dx, dy) / reach
            a = 0.0 if d >= 1 else 0.30 * (1 - d) ** 2.2
            c.px[y * size + x] = [20, 24, 32, a * 255]
    c.png(os.path.join(SKIN, "shadow.png"))


def warning_icon():
    c = Canvas(60, 60)
    c.shape(circle(30, 30, 26), hexrgb("#FFF3E0"), 1.0)
    c.shape(circle(30, 30, 20), hexrgb("#FF9F1A"), 1.0)
    c.shape(segment(30, 20, 30, 32, 2.2), (255, 255, 255), 1.0)
    c.shape(circle(30, 38.5, 2.4), (255, 255, 255), 1.0)
    c.png(os.path.join(SKIN, "icon_warning.png"))


def confirm_button():
    c = Canvas(96, 32)
    c.shape(rounded_rect(0, 0, 96, 32, 16), hexrgb("#008AFF"), 1.0)
    c.shape(rounded_rect(1, 1, 95, 31, 15), hexrgb("#F2F8FF"), 1.0)
    c.png(os.path.join(SKIN, "confirm.png"))


def backgrounds(tmp):
    """The progress page: a deep dusk gradient with a low ridge of hills and a
    glow where the bar sits. One base picture, tinted per game code."""
    tints = {
        "download_bk.png": ("#0E1726", "#233A5C", "#FFB347"),
        "tarn_download_bk.jpg": ("#0C1C1E", "#1F4A4A", "#8FE3C9"),
        "vesk_download_bk.jpg": ("#1A1020", "#45284F", "#E7A3F0"),
        "drol_download_bk.jpg": ("#1E120C", "#5A2E1A", "#FFB067"),
    }
    # a sparse, fixed field of faint stars in the upper sky
    rnd = random.Random(1207)
    stars = {(rnd.randrange(0, 960), rnd.randrange(0, 320)): rnd.uniform(0.25, 0.8) for _ in range(90)}
    for name, (deep, high, glow) in tints.items():
        w, h = 960, 620
        d, hi, g = hexrgb(deep), hexrgb(high), hexrgb(glow)
        rows = bytearray()
        for y in range(h):
            rows.append(0)
            for x in range(w):
                t = y / (h - 1)
                base = [hi[i] + (d[i] - hi[i]) * t for i in range(3)]
                # glow behind the progress bar (585, 326)
                r = math.hypot((x - 585) / 420.0, (y - 300) / 230.0)
                glow_a = max(0.0, 1 - r) ** 2 * 0.30
                ridge1 = 470 + 32 * math.sin(x / 140.0) + 14 * math.sin(x / 47.0 + 1.3)
                ridge2 = 520 + 22 * math.sin(x / 95.0 + 2.1) + 9 * math.sin(x / 31.0)
                # screen blend: the glow lightens without greying the sky
                px = [255 - (255 - base[i]) * (255 - g[i] * glow_a) / 255 for i in range(3)]
                star = stars.get((x, y))
                if star:
                    px = [px[i] + (235 - px[i]) * star * (1 - y / 330.0) for i in range(3)]
                for ridge, shade in ((ridge1, 0.72), (ridge2, 0.55)):
                    cov = min(1.0, max(0.0, y + 0.5 - ridge))
                    px = [px[i] * (1 - cov) + d[i] * shade * cov for i in range(3)]
                rows.extend(int(min(255, max(0, v))) for v in px)
                rows.append(255)
        png = os.path.join(tmp, name + ".png")
        c = Canvas(1, 1)
        c.w, c.h = w, h
        with open(png, "wb") as f:
            def chunk(tag, data):
                cc = struct.pack(">I", len(data)) + tag + data
                return cc + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(bytes(rows), 9)))
            f.write(chunk(b"IEND", b""))
        out = os.path.join(SKIN, name)
        if name.endswith(".jpg"):
            # -strip: no time stamps or profiles, so a second run gives the same bytes.
            subprocess.run(["convert", png, "-strip", "-quality", "90", out], check=True)
        else:
            shutil.copyfile(png, out)


def app_icon(tmp):
    pngs = []
    for size in (16, 32, 48, 256):
        c = Canvas(size, size)
        s = size / 32.0
        c.shape(rounded_rect(1 * s, 1 * s, 31 * s, 31 * s, 7 * s), hexrgb("#1B2B45"), 1.0)
        c.shape(ring(circle(16 * s, 16 * s, 6.5 * s), circle(16 * s, 16 * s, 10 * s)), hexrgb("#F0B45A"), 1.0)
        c.shape(segment(21 * s, 21 * s, 25 * s, 25 * s, 1.8 * s), hexrgb("#F0B45A"), 1.0)
        p = os.path.join(tmp, "icon%d.png" % size)
        c.png(p)
        pngs.append(p)
    subprocess.run(["convert", *pngs, os.path.join(ROOT, "loader", "qel_main.ico")], check=True)


def main():
    os.makedirs(SKIN, exist_ok=True)
    window_buttons()
    progress_images()
    shadow()
    warning_icon()
    confirm_button()
    with tempfile.TemporaryDirectory() as tmp:
        app_icon(tmp)
        if "--no-backgrounds" not in sys.argv:
            backgrounds(tmp)


if __name__ == "__main__":
    main()
