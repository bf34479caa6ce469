#!/usr/bin/env python3
"""Draws Lumora's icons, logo and image lists and writes them to src/forms/images.

Usage: make_images.py [output-directory]

Everything is drawn here from geometric shapes, so the output is reproducible byte for byte.
"""

import math
import pathlib
import sys

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__

import encoders  # noqa: E402
from lettering import Metrics, word, word_width  # noqa: E402
from raster import (  # noqa: E402
    Canvas, Frame, arc_stroke, capsule, circle, colour, linear, polar, polygon, radial, ring,
    round_rect, union)

WHITE = colour("#FFFFFF")
SLATE_LIGHT = colour("#46525F")
SLATE_DARK = colour("#1E2630")
SCREEN_TOP = colour("#3D8EF7")
SCREEN_BOTTOM = colour("#10B3A3")
NAVY = colour("#163A5F")
NAVY_LIGHT = colour("#1F5A8C")


# --- the monitor glyph shared by the icons and the logo ---------------------------------------


def monitor(c, x, y, w, h):
    """Draws a monitor in the box (x, y, w, h); returns the screen rectangle."""
    bezel_h = h * 0.79
    r = max(1.2, w * 0.07)
    b = max(1.4, w * 0.06)
    cx = x + w / 2
    stand = linear(x, y + bezel_h, SLATE_LIGHT, x, y + h, SLATE_DARK)
    base_h = max(1.6, h * 0.075)
    neck_w = w * 0.15
    c.fill(polygon([(cx - neck_w / 2, y + bezel_h - 1), (cx + neck_w / 2, y + bezel_h - 1),
                    (cx + neck_w * 0.8, y + h - base_h + 0.5),
                    (cx - neck_w * 0.8, y + h - base_h + 0.5)]), stand)
    c.fill(round_rect(cx - w * 0.28, y + h - base_h, cx + w * 0.28, y + h, base_h / 2), stand)
    c.fill(round_rect(x, y, x + w, y + bezel_h, r),
           linear(x, y, SLATE_LIGHT, x, y + bezel_h, SLATE_DARK))
    sx0, sy0, sx1, sy1 = x + b, y + b, x + w - b, y + bezel_h - b
    screen = round_rect(sx0, sy0, sx1, sy1, max(0.6, r - b))
    c.fill(screen, linear(sx0, sy0, SCREEN_TOP, sx1, sy1, SCREEN_BOTTOM))
    sw = sx1 - sx0
    gloss = polygon([(sx0, sy0), (sx0 + sw * 0.6, sy0), (sx0 + sw * 0.34, sy1), (sx0, sy1)])
    c.fill(gloss & screen, WHITE, opacity=0.10)
    return sx0, sy0, sx1, sy1


def network(c, screen, scale=1.0):
    """A hub with four linked nodes, drawn on a screen rectangle."""
    sx0, sy0, sx1, sy1 = screen
    sw, sh = sx1 - sx0, sy1 - sy0

    def at(u, v):
        return (sx0 + sw * u, sy0 + sh * v)

    hub = at(0.5, 0.56)
    nodes = [at(0.2, 0.28), at(0.8, 0.28), at(0.22, 0.8), at(0.78, 0.8)]
    line = max(1.0, sh * 0.07) * scale
    r_hub = sh * 0.17 * scale
    r_node = sh * 0.1 * scale
    c.fill(union(*[capsule(*hub, *n, line) for n in nodes]), WHITE, opacity=0.85)
    for n in nodes:
        c.fill(circle(*n, r_node), WHITE)
    c.fill(circle(*hub, r_hub), WHITE)
    c.fill(circle(*hub, r_hub * 0.5), SCREEN_TOP)


# --- window icons and logo --------------------------------------------------------------------


def login_icon():
    c = Canvas(48, 32)
    network(c, monitor(c, 1, 1, 34, 30), 1.1)
    # padlock in front of the monitor's lower right corner
    steel = linear(0, 9, colour("#C9D2DB"), 0, 20, colour("#7C8894"))
    c.fill(union(ring(38.5, 16.5, 6.2, 3.8, 0, 180), round_rect(32.3, 16, 34.7, 20, 0),
                 round_rect(42.3, 16, 44.7, 20, 0)), steel)
    c.fill(round_rect(29.5, 17.5, 47.5, 31.5, 2.6), colour("#8A5A00"))
    c.fill(round_rect(30.5, 18.5, 46.5, 30.5, 1.8),
           linear(0, 18.5, colour("#FFD45C"), 0, 30.5, colour("#F0A500")))
    c.fill(union(circle(38.5, 23, 2.1), polygon([(37.6, 23.5), (39.4, 23.5), (39.9, 28),
                                                 (37.1, 28)])), colour("#6B4500"))
    return c


def main_icon():
    c = Canvas(64, 64)
    network(c, monitor(c, 2, 4, 60, 56))
    return c


def editor_icon():
    """The host editor's window icon: the monitor with a pencil in front."""
    c = Canvas(48, 32)
    network(c, monitor(c, 1, 1, 34, 30), 1.1)
    pencil(c, (27.5, 30.5), 24, 3.6)
    return c


def editor_picture():
    c = Canvas(32, 32)
    network(c, monitor(c, 1, 2, 26, 25))
    pencil(c, (13.5, 30.5), 23, 3.4)
    return c


def settings_icon():
    """The settings window's icon: the monitor with the settings gear in front."""
    c = Canvas(48, 32)
    network(c, monitor(c, 1, 1, 34, 30), 1.1)
    steel_gear(c, 37.5, 20.5, 0.85)
    return c


def settings_picture():
    c = Canvas(32, 32)
    steel_gear(c, 16, 16, 1.2)
    return c


def logo():
    c = Canvas(291, 81)
    network(c, monitor(c, 3, 5, 78, 72))
    m = Metrics(x_height=30, cap_height=42, stroke=7)
    spacing = 5.0
    width = word_width("Lumora", m, spacing)
    left = 89
    x = left + (291 - 3 - left - width) / 2
    base = 63
    shapes, _ = word("Lumora", x, base, m, spacing)
    c.fill(union(*shapes), linear(0, base - m.cap_height, NAVY_LIGHT, 0, base, NAVY))
    # a teal rule under the name ties it to the screen colours
    c.fill(round_rect(x, base + 6, x + width, base + 9, 1.5),
           linear(x, 0, SCREEN_TOP, x + width, 0, SCREEN_BOTTOM))
    return c


# --- toolbar (48 x 29, artwork in a 26 x 26 box in the middle) --------------------------------


def toolbar_canvas():
    c = Canvas(48, 29)
    c.origin = (11.0, 1.5)
    return c


def tb_connect():
    c = toolbar_canvas()
    _, sy0, _, sy1 = monitor(c, 0, 1, 26, 24)
    cy = (sy0 + sy1) / 2
    arrow = union(round_rect(5.5, cy - 1.9, 15, cy + 1.9, 0.8),
                  polygon([(13.5, cy - 5.6), (20.8, cy), (13.5, cy + 5.6)]))
    c.fill(arrow, WHITE)
    return c


def tb_about():
    c = toolbar_canvas()
    c.fill(circle(13, 13, 12.5), colour("#1A5BB5"))
    c.fill(circle(13, 13, 11.5), radial(10, 8, 15, colour("#6CB6FF"), colour("#1E6FD9")))
    mark = union(arc_stroke(13, 10, 4.3, 3.2, -90, 165), capsule(13, 14.3, 13, 16.2, 3.2))
    c.fill(mark, WHITE)
    c.fill(circle(13, 20.4, 2.0), WHITE)
    return c


def tb_modify():
    c = toolbar_canvas()
    pencil(c, (2.5, 23.5), 29, 4.2)
    return c


def pencil(c, tip, length, half):
    """A yellow pencil pointing down-left with its tip at `tip`."""
    f = Frame(tip, 45)
    c.fill(f.shape([(0, 0), (7, -half - 0.9), (length + 0.9, -half - 0.9),
                    (length + 0.9, half + 0.9), (7, half + 0.9)]), colour("#5B4210"))
    c.fill(f.shape([(0.6, 0), (7, -half), (7, half)]), colour("#F3D5A4"))
    c.fill(f.shape([(0.6, 0), (2.9, -1.5), (2.9, 1.5)]), colour("#333A42"))
    c.fill(f.quad(7, length - 6, -half, half),
           linear(*f.point(0, -half), colour("#FFD45C"), *f.point(0, half), colour("#E89400")))
    c.fill(f.quad(7, length - 6, -0.7, 0.7), colour("#F5B02A"))
    c.fill(f.quad(length - 6, length - 3.5, -half, half), colour("#A7B1BC"))
    c.fill(f.quad(length - 3.5, length, -half, half), colour("#F08A9A"))


def tb_refresh():
    c = toolbar_canvas()
    paint = linear(0, 0, colour("#23C2A8"), 26, 26, colour("#1E6FD9"))
    cx, cy, r, width = 13, 13, 8.6, 3.4
    for start, end in ((25, 160), (205, 340)):
        # clockwise arrows: the arc runs from `end` down to `start`, the head sits at `start`
        c.fill(ring(cx, cy, r + width / 2, r - width / 2, start + 4, end), paint)
        px, py = polar(cx, cy, r, start + 6)
        a = math.radians(start + 6)
        dx, dy = math.sin(a), math.cos(a)  # clockwise tangent in screen coordinates
        ox, oy = math.cos(a), -math.sin(a)  # outward normal
        head = 4.6
        c.fill(polygon([(px + ox * head, py + oy * head), (px + dx * 5.8, py + dy * 5.8),
                        (px - ox * head, py - oy * head)]), paint)
    return c


def tb_add():
    c = toolbar_canvas()

    def plus(grow):
        return union(round_rect(2 - grow, 10 - grow, 24 + grow, 16 + grow, 1.6 + grow),
                     round_rect(10 - grow, 2 - grow, 16 + grow, 24 + grow, 1.6 + grow))

    c.fill(plus(1.0), colour("#15803D"))
    c.fill(plus(0), linear(0, 2, colour("#5EE08C"), 0, 24, colour("#22A052")))
    c.fill(round_rect(10.8, 2.8, 15.2, 6.5, 1.2), WHITE, opacity=0.25)
    return c


def tb_clear():
    c = toolbar_canvas()
    f = Frame((21.5, 1.2), -118)  # down and to the left
    c.fill(f.quad(-0.2, 13.5, -1.6, 1.6), colour("#7A4E25"))
    c.fill(f.quad(0.3, 13.5, -1.0, 0.8), colour("#A8733F"))
    bristles = f.shape([(14.5, -3.6), (14.5, 3.6), (25.2, 7.8), (26.2, 0), (25.2, -7.8)])
    c.fill(bristles, linear(*f.point(14, 0), colour("#FFC44D"), *f.point(26, 0),
                            colour("#E58A00")))
    for v in (-4.2, -1.4, 1.4, 4.2):
        c.fill(capsule(*f.point(17.5, v * 0.55), *f.point(25, v), 0.7), colour("#B86B00"),
               opacity=0.8)
    c.fill(f.quad(12.8, 15.8, -4.3, 4.3), colour("#C0392B"))
    # swept dust
    for x, y, r in ((20.5, 22.5, 1.3), (23.5, 20, 1.0), (24.5, 24, 0.8)):
        c.fill(circle(x, y, r), colour("#8D99A6"))
    return c


def tb_delete():
    c = toolbar_canvas()

    def cross(width):
        return union(capsule(5, 5, 21, 21, width), capsule(21, 5, 5, 21, width))

    c.fill(cross(7.4), colour("#9B1C23"))
    c.fill(cross(5.4), linear(0, 4, colour("#FF6B72"), 0, 22, colour("#D0262F")))
    return c


def gear(cx, cy, body, tip, teeth, grow=0.0):
    parts = [circle(cx, cy, body + grow)]
    step = 360 / teeth
    for k in range(teeth):
        a = k * step + step / 2
        parts.append(polygon([polar(cx, cy, body - 1, a - step * 0.3),
                              polar(cx, cy, tip + grow, a - step * 0.17 - grow * 2),
                              polar(cx, cy, tip + grow, a + step * 0.17 + grow * 2),
                              polar(cx, cy, body - 1, a + step * 0.3)]))
    return union(*parts)


def tb_settings():
    c = toolbar_canvas()
    steel_gear(c, 13, 13, 1.0)
    return c


def steel_gear(c, cx, cy, scale):
    """The settings gear with its centre at (cx, cy); scale 1 fills a 26 x 26 box."""
    hole = circle(cx, cy, 3.6 * scale)
    body, tip = 8.6 * scale, 12.3 * scale
    c.fill(gear(cx, cy, body, tip, 8, 0.9 * scale) - circle(cx, cy, 2.8 * scale),
           colour("#3B4550"))
    c.fill(gear(cx, cy, body, tip, 8) - hole,
           linear(0, cy - 12 * scale, colour("#A9B6C3"), 0, cy + 12 * scale, colour("#5D6B79")))
    c.fill(ring(cx, cy, 6.2 * scale, 4.6 * scale), colour("#FFFFFF"), opacity=0.18)


# --- list row status dots (12 x 12) -----------------------------------------------------------


def status_dot(light, base, rim):
    c = Canvas(12, 12)
    c.fill(circle(6, 6, 5.6), colour(rim), samples=8)
    c.fill(circle(6, 6, 4.6), radial(4.6, 4.4, 6.2, colour(light), colour(base)), samples=8)
    c.fill(circle(4.7, 4.4, 1.4), WHITE, opacity=0.45, samples=8)
    return c


ROW_ICONS = [
    ("row_0_offline", ("#FF8A8E", "#E0343B", "#9B1C23")),
    ("row_1_online", ("#7EF0A4", "#25B456", "#146C33")),
    ("row_2_checking", ("#FFE48A", "#F2B300", "#8F6A00")),
    ("row_3_new", ("#8CC4FF", "#2F7FEA", "#1A4F9C")),
]

TOOLBAR = [
    ("toolbar_0_connect", tb_connect),
    ("toolbar_1_about", tb_about),
    ("toolbar_2_modify", tb_modify),
    ("toolbar_3_refresh", tb_refresh),
    ("toolbar_4_add", tb_add),
    ("toolbar_5_clear", tb_clear),
    ("toolbar_6_delete", tb_delete),
    ("toolbar_7_settings", tb_settings),
]


def main():
    here = pathlib.Path(__file__).resolve().parent
    out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else here.parents[1] / "src/forms/images"
    out.mkdir(parents=True, exist_ok=True)

    def save(name, canvas, kind):
        data = (encoders.ico if kind == "ico" else encoders.png)(canvas.width, canvas.height,
                                                                   canvas.rgba())
        (out / f"{name}.{kind}").write_bytes(data)
        print(f"{name}.{kind}: {canvas.width}x{canvas.height}, {len(data)} bytes")

    save("login", login_icon(), "ico")
    save("main", main_icon(), "ico")
    save("editor", editor_icon(), "ico")
    save("editor_picture", editor_picture(), "ico")
    save("settings", settings_icon(), "ico")
    save("settings_picture", settings_picture(), "ico")
    save("logo", logo(), "png")
    for name, draw in TOOLBAR:
        save(name, draw(), "png")
    for name, colours in ROW_ICONS:
        save(name, status_dot(*colours), "png")


if __name__ == "__main__":
    main()
