"""Geometric letters built from bars and rings: just the ones the product name needs."""

from raster import ring, round_rect, union


class Metrics:
    def __init__(self, x_height, cap_height, stroke):
        self.x_height = x_height
        self.cap_height = cap_height
        self.stroke = stroke
        self.corner = stroke * 0.22  # slight rounding of bar ends


def _bar(x0, y0, x1, y1, m):
    return round_rect(x0, y0, x1, y1, m.corner)


def letter_L(x, base, m):
    width = m.cap_height * 0.56
    shape = union(_bar(x, base - m.cap_height, x + m.stroke, base, m),
                  _bar(x, base - m.stroke, x + width, base, m))
    return shape, width


def letter_u(x, base, m):
    w, s = m.x_height * 0.9, m.stroke
    top, r = base - m.x_height, w / 2
    shape = union(_bar(x, top, x + s, base - r, m),
                  ring(x + r, base - r, r, r - s, 180, 360),
                  _bar(x + w - s, top, x + w, base, m))
    return shape, w


def _arch(x, top, base, w, m, left_stem=True):
    s, r = m.stroke, w / 2
    parts = [ring(x + r, top + r, r, r - s, 0, 180), _bar(x + w - s, top + r, x + w, base, m)]
    if left_stem:
        parts.append(_bar(x, top, x + s, base, m))
    return parts


def letter_m(x, base, m):
    w = m.x_height * 0.76
    top = base - m.x_height
    parts = _arch(x, top, base, w, m) + _arch(x + w - m.stroke, top, base, w, m, False)
    return union(*parts), 2 * w - m.stroke


def letter_o(x, base, m):
    r = m.x_height / 2 + 0.4  # round letters overshoot a little to look as tall
    return ring(x + r, base - m.x_height / 2, r, r - m.stroke), 2 * r


def letter_r(x, base, m):
    top, s = base - m.x_height, m.stroke
    r = m.x_height * 0.46
    shape = union(_bar(x, top, x + s, base, m), ring(x + r, top + r, r, r - s, 62, 180))
    return shape, r * 1.36


def letter_a(x, base, m):
    r = m.x_height / 2 + 0.4
    s = m.stroke
    shape = union(ring(x + r, base - m.x_height / 2, r, r - s),
                  _bar(x + 2 * r - s, base - m.x_height, x + 2 * r, base, m))
    return shape, 2 * r


LETTERS = {"L": letter_L, "u": letter_u, "m": letter_m, "o": letter_o, "r": letter_r,
           "a": letter_a}


def word(text, x, base, m, spacing):
    """The shapes of `text` set from x on the baseline, and the total advance."""
    shapes = []
    start = x
    for ch in text:
        shape, advance = LETTERS[ch](x, base, m)
        shapes.append(shape)
        x += advance + spacing
    return shapes, x - spacing - start


def word_width(text, m, spacing):
    return word(text, 0, 0, m, spacing)[1]
