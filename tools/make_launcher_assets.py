#!/usr/bin/env python3
"""Draws the launcher's window images with ImageMagick and writes them into
launcher/ui/: the splash (451 x 372, per-pixel alpha), the dialog background
(200 x 58), the progress strip (190 x 10) and the program icon.

The splash lies over the dialog: the dialog's rectangle inside the splash
(x 185-385, y 236-294) must stay almost transparent (alpha 12 at most) apart
from a one-pixel line along its top and left edges, or the progress bar and
the status line could not be seen. The script checks that before it ends.

    tools/make_launcher_assets.py [output folder]
"""
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "launcher", "ui"))

SPLASH_W, SPLASH_H = 451, 372
DLG_X, DLG_Y, DLG_W, DLG_H = 185, 236, 201, 59   # the dialog inside the splash
EMBLEM_X, EMBLEM_Y, EMBLEM_R = 285, 104, 84
SERIF = "DejaVu-Serif-Bold"
SANS = "DejaVu-Sans"

GOLD_LIGHT, GOLD, GOLD_DARK = "#fff0b8", "#e8b452", "#8a5a1c"
NIGHT, NIGHT_DEEP = "#25204a", "#0b0a1c"


def im(*args):
    subprocess.run(["convert", *[str(a) for a in args]], check=True)


def final(*args):
    """The last step of a committed image: 8 bits a channel and no time stamps,
    so that running the script again gives the same bytes."""
    *ops, path = args
    im(*ops, "-depth", "8", "-define", "png:exclude-chunks=date,time", "+set", "date:create",
       "+set", "date:modify", path)


def star_points(cx, cy, r_out, r_in, n=8, rot=-90.0):
    import math
    pts = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = math.radians(rot + i * 180.0 / n)
        pts.append("%.1f,%.1f" % (cx + r * math.cos(a), cy + r * math.sin(a)))
    return " ".join(pts)


def emblem(path, size):
    """The game's crest: night disc, double gold ring, eight-point star."""
    s = size / 200.0
    c = size / 2.0
    tmp = path + ".parts"
    os.makedirs(tmp, exist_ok=True)
    disc = os.path.join(tmp, "disc.png")
    im("-size", "%dx%d" % (size, size), "radial-gradient:#4a3f8f-" + NIGHT_DEEP, disc)
    mask = os.path.join(tmp, "mask.png")
    im("-size", "%dx%d" % (size, size), "xc:black", "-fill", "white",
       "-draw", "circle %.1f,%.1f %.1f,%.1f" % (c, c, c, c - 96 * s), mask)
    im(disc, mask, "-alpha", "off", "-compose", "CopyOpacity", "-composite", disc)
    draw = [
        # outer and inner rings
        "-fill", "none", "-stroke", GOLD, "-strokewidth", "%.1f" % (7 * s),
        "-draw", "circle %.1f,%.1f %.1f,%.1f" % (c, c, c, c - 92 * s),
        "-stroke", GOLD_LIGHT, "-strokewidth", "%.1f" % max(1.0, 1.6 * s),
        "-draw", "circle %.1f,%.1f %.1f,%.1f" % (c, c, c, c - 95 * s),
        "-stroke", GOLD_DARK, "-strokewidth", "%.1f" % max(1.0, 2.5 * s),
        "-draw", "circle %.1f,%.1f %.1f,%.1f" % (c, c, c, c - 80 * s),
        # the long star and the short one turned between its rays
        "-stroke", GOLD_DARK, "-strokewidth", "%.1f" % max(0.8, 1.5 * s), "-fill", GOLD,
        "-draw", "polygon " + star_points(c, c, 70 * s, 17 * s, 4, -90),
        "-fill", "#c98f35",
        "-draw", "polygon " + star_points(c, c, 46 * s, 14 * s, 4, -45),
        "-stroke", "none", "-fill", GOLD_LIGHT,
        "-draw", "polygon " + star_points(c, c, 70 * s, 6 * s, 4, -90),
        "-fill", "#fff8e0", "-draw", "circle %.1f,%.1f %.1f,%.1f" % (c, c, c, c - 9 * s),
    ]
    im(disc, *draw, path)
    shutil.rmtree(tmp)


def splash(path, work):
    crest = os.path.join(work, "crest.png")
    emblem(crest, 2 * EMBLEM_R + 24)
    crest_half = (2 * EMBLEM_R + 24) // 2

    # Soft dark cloud behind everything so the art reads on any desktop.
    cloud = os.path.join(work, "cloud.png")
    im("-size", "%dx%d" % (SPLASH_W, SPLASH_H), "xc:none", "-fill", "#0b0a1cd8",
       "-draw", "ellipse %d,%d 150,118 0,360" % (EMBLEM_X, EMBLEM_Y + 40),
       "-fill", "#0b0a1cb0", "-draw", "ellipse 110,250 100,110 0,360",
       "-channel", "A", "-blur", "0x22", "+channel", cloud)

    # Warm glow around the crest.
    glow = os.path.join(work, "glow.png")
    im("-size", "%dx%d" % (SPLASH_W, SPLASH_H), "xc:none", "-fill", "#ff8a2ac0",
       "-draw", "circle %d,%d %d,%d" % (EMBLEM_X, EMBLEM_Y, EMBLEM_X, EMBLEM_Y - EMBLEM_R - 4),
       "-channel", "A", "-blur", "0x16", "+channel", glow)

    # Rays behind the crest.
    rays = os.path.join(work, "rays.png")
    ray_draw = []
    import math
    for i in range(16):
        a = math.radians(i * 22.5 + 11.25)
        b = math.radians(i * 22.5 + 15.0)
        r = 122 if i % 2 == 0 else 104
        ray_draw += ["-draw", "polygon %d,%d %.1f,%.1f %.1f,%.1f" % (
            EMBLEM_X, EMBLEM_Y, EMBLEM_X + r * math.cos(a), EMBLEM_Y + r * math.sin(a),
            EMBLEM_X + r * math.cos(b), EMBLEM_Y + r * math.sin(b))]
    im("-size", "%dx%d" % (SPLASH_W, SPLASH_H), "xc:none", "-fill", "#ffd27a50", *ray_draw,
       "-channel", "A", "-blur", "0x3", "+channel", rays)

    # Crystal shards on the left, away from the dialog.
    shards = os.path.join(work, "shards.png")
    shard_polys = [
        ("#37c6e0", "#0e5f86", "70,338 96,150 128,200 126,338"),
        ("#6fe3f0", "#14769c", "120,338 150,98 178,170 170,338"),
        ("#2aa6c8", "#0b4566", "30,338 46,232 74,262 84,338"),
    ]
    parts = []
    for i, (hi, lo, pts) in enumerate(shard_polys):
        grad = os.path.join(work, "shard_grad%d.png" % i)
        im("-size", "%dx%d" % (SPLASH_W, SPLASH_H), "gradient:%s-%s" % (hi, lo), grad)
        m = os.path.join(work, "shard_mask%d.png" % i)
        im("-size", "%dx%d" % (SPLASH_W, SPLASH_H), "xc:black", "-fill", "white", "-draw", "polygon " + pts, m)
        part = os.path.join(work, "shard%d.png" % i)
        # A lit facet from the tip down the middle gives each shard its depth.
        p = [tuple(float(v) for v in q.split(",")) for q in pts.split()]
        facet = "%.1f,%.1f %.1f,%.1f %.1f,%.1f %.1f,%.1f" % (
            p[1][0], p[1][1], p[2][0], p[2][1], (p[2][0] + p[3][0]) / 2, p[3][1], (p[0][0] + p[3][0]) / 2, p[0][1])
        im(grad, m, "-alpha", "off", "-compose", "CopyOpacity", "-composite", "-compose", "Over",
           "-fill", "#ffffff38", "-stroke", "none", "-draw", "polygon " + facet,
           "-fill", "none", "-stroke", "#c8fbff", "-strokewidth", "1.2", "-draw", "polygon " + pts, part)
        parts.append(part)
    shard_glow = os.path.join(work, "shard_glow.png")
    im("-size", "%dx%d" % (SPLASH_W, SPLASH_H), "xc:none", "-fill", "#39d0ff90",
       "-draw", "ellipse 110,330 95,20 0,360", "-channel", "A", "-blur", "0x12", "+channel", shard_glow)
    im(shard_glow, *parts, "-background", "none", "-flatten", shards)

    # Bezel around the dialog: a dark plate with a gold rim whose inner part is
    # cut away afterwards, so only the frame stays.
    bezel = os.path.join(work, "bezel.png")
    x0, y0, x1, y1 = DLG_X - 9, DLG_Y - 9, DLG_X + DLG_W + 8, DLG_Y + DLG_H + 8
    im("-size", "%dx%d" % (SPLASH_W, SPLASH_H), "xc:none",
       "-fill", "#000000a0", "-draw", "roundrectangle %d,%d %d,%d 10,10" % (x0 - 3, y0 + 2, x1 + 3, y1 + 6),
       "-channel", "A", "-blur", "0x5", "+channel",
       "-fill", "#17132e", "-stroke", GOLD_DARK, "-strokewidth", "1",
       "-draw", "roundrectangle %d,%d %d,%d 7,7" % (x0, y0, x1, y1),
       "-fill", "none", "-stroke", GOLD, "-strokewidth", "1",
       "-draw", "roundrectangle %d,%d %d,%d 6,6" % (x0 + 2, y0 + 2, x1 - 2, y1 - 2),
       bezel)

    # Title banner and lettering between the crest and the dialog.
    banner = os.path.join(work, "banner.png")
    bx0, by0, bx1, by1 = 168, 182, 402, 220
    im("-size", "%dx%d" % (SPLASH_W, SPLASH_H), "xc:none",
       "-fill", "#0b0a1ce8", "-stroke", GOLD_DARK, "-strokewidth", "1",
       "-draw", "polygon %d,%d %d,%d %d,%d %d,%d %d,%d %d,%d" % (
           bx0, (by0 + by1) // 2, bx0 + 16, by0, bx1 - 16, by0, bx1, (by0 + by1) // 2, bx1 - 16, by1, bx0 + 16, by1),
       "-fill", "none", "-stroke", GOLD, "-strokewidth", "1",
       "-draw", "line %d,%d %d,%d" % (bx0 + 22, by0 + 4, bx1 - 22, by0 + 4),
       "-draw", "line %d,%d %d,%d" % (bx0 + 22, by1 - 4, bx1 - 22, by1 - 4),
       banner)
    title = os.path.join(work, "title.png")
    tmask = os.path.join(work, "title_mask.png")
    im("-size", "%dx%d" % (SPLASH_W, SPLASH_H), "xc:black", "-font", SERIF, "-pointsize", "27",
       "-fill", "white", "-kerning", "5", "-gravity", "NorthWest",
       "-annotate", "+%d+%d" % (EMBLEM_X - 68, by0 + 2), "ORVANE", tmask)
    tgrad = os.path.join(work, "title_grad.png")
    im("-size", "%dx%d" % (SPLASH_W, SPLASH_H), "xc:none",
       "-sparse-color", "Barycentric", "0,%d %s 0,%d %s" % (by0 + 6, GOLD_LIGHT, by1 - 6, "#d0902c"), tgrad)
    im(tgrad, tmask, "-alpha", "off", "-compose", "CopyOpacity", "-composite", title)
    tshadow = os.path.join(work, "title_shadow.png")
    im(title, "-background", "black", "-shadow", "90x2+0+2", "-background", "none",
       "-gravity", "NorthWest", "-extent", "%dx%d-4-4" % (SPLASH_W, SPLASH_H), tshadow)

    crest_at = os.path.join(work, "crest_at.png")
    im("-size", "%dx%d" % (SPLASH_W, SPLASH_H), "xc:none", crest, "-geometry",
       "+%d+%d" % (EMBLEM_X - crest_half, EMBLEM_Y - crest_half), "-composite", crest_at)

    flat = os.path.join(work, "flat.png")
    im(cloud, glow, rays, shards, bezel, crest_at, banner, tshadow, title,
       "-background", "none", "-flatten", flat)

    # Open the dialog's window: transparent inside, a one-pixel light line
    # along its top and left edges so it looks set into the frame.
    hole = os.path.join(work, "hole.png")
    im("-size", "%dx%d" % (DLG_W, DLG_H), "xc:white", hole)
    final(flat, hole, "-geometry", "+%d+%d" % (DLG_X, DLG_Y), "-compose", "DstOut", "-composite",
       "+antialias", "-stroke", "#f3cf7ad0", "-strokewidth", "1",
       "-draw", "line %d,%d %d,%d" % (DLG_X, DLG_Y, DLG_X + DLG_W - 1, DLG_Y),
       "-draw", "line %d,%d %d,%d" % (DLG_X, DLG_Y, DLG_X, DLG_Y + DLG_H - 1),
       "-define", "png:color-type=6", path)


def background(path):
    """Dialog strip 200 x 58: deep night gradient, a recessed track for the
    bar at (6, 5) 190 x 10 and a faint ornament along the bottom."""
    final("-size", "200x58", "gradient:#2a2350-#0d0b1e",
       "-fill", "none", "-stroke", "#4b4080", "-draw", "line 0,0 199,0",
       "-stroke", "#05040c", "-fill", "#08070f", "-draw", "rectangle 5,4 196,15",
       "-stroke", "#6b5a2a", "-fill", "none", "-draw", "line 5,16 196,16",
       "-stroke", "#3a3166", "-draw", "line 30,50 170,50",
       "-stroke", "none", "-fill", "#c9973f", "-draw", "polygon 100,47 103,50 100,53 97,50",
       "-fill", "#7a5c28", "-draw", "circle 30,50 31,50", "-draw", "circle 170,50 171,50",
       "-define", "png:color-type=2", path)


def bar(path, work):
    """Progress strip 190 x 10: ember orange to amber, with a gloss on top."""
    base = os.path.join(work, "bar_base.png")
    im("-size", "10x190", "gradient:#ffc44a-#d9480f", "-rotate", "90", base)
    shade = os.path.join(work, "bar_shade.png")
    im("-size", "190x10", "gradient:#ffffff-#3a1400", shade)
    final(base, shade, "-compose", "SoftLight", "-composite",
       "-fill", "#fff5d080", "-stroke", "none", "-draw", "rectangle 0,1 189,2",
       "-fill", "#7a2a0070", "-draw", "rectangle 0,9 189,9",
       "-define", "png:color-type=2", path)


def icon(path, work):
    crest = os.path.join(work, "icon_crest.png")
    emblem(crest, 256)
    im(crest, "-depth", "8", "-define", "icon:auto-resize=256,48,32,16", path)


def check_dialog_window(path):
    """Every pixel inside the dialog's rectangle, apart from its top row and
    left column, must have alpha 12 or less."""
    out = subprocess.run(
        ["convert", path, "-crop", "%dx%d+%d+%d" % (DLG_W - 1, DLG_H - 1, DLG_X + 1, DLG_Y + 1),
         "-alpha", "extract", "-format", "%[fx:maxima*255]", "info:"],
        check=True, capture_output=True, text=True).stdout.strip()
    if float(out) > 12:
        sys.exit("splash: alpha %s over the dialog's area" % out)
    size = subprocess.run(["identify", "-format", "%w %h", path], check=True,
                          capture_output=True, text=True).stdout.split()
    if [int(v) for v in size] != [SPLASH_W, SPLASH_H]:
        sys.exit("splash: wrong size %s" % size)


def main():
    os.makedirs(OUT, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        splash(os.path.join(OUT, "splash.png"), work)
        background(os.path.join(OUT, "dialog_bg.png"))
        bar(os.path.join(OUT, "progress_bar.png"), work)
        icon(os.path.join(OUT, "launcher.ico"), work)
    check_dialog_window(os.path.join(OUT, "splash.png"))
    print("assets written to", OUT)


if __name__ == "__main__":
    main()
