"""A tiny antialiased rasteriser: shapes are point predicates with a bounding box, filled by
supersampling each pixel and composited source-over into a premultiplied RGBA canvas."""

import math


def colour(hex_text, alpha=1.0):
    """'#RRGGBB' -> (r, g, b, a) with components in 0..1."""
    value = hex_text.lstrip("#")
    return (int(value[0:2], 16) / 255, int(value[2:4], 16) / 255, int(value[4:6], 16) / 255, alpha)


def mix(a, b, t):
    t = min(1.0, max(0.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(4))


def linear(x0, y0, c0, x1, y1, c1):
    """Paint that runs from c0 at (x0, y0) to c1 at (x1, y1)."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1.0

    def paint(x, y):
        return mix(c0, c1, ((x - x0) * dx + (y - y0) * dy) / length2)

    return paint


def radial(cx, cy, radius, c0, c1):
    """Paint that runs from c0 at the centre to c1 at `radius` and beyond."""

    def paint(x, y):
        return mix(c0, c1, math.hypot(x - cx, y - cy) / radius)

    return paint


class Shape:
    def __init__(self, bbox, inside):
        self.bbox = bbox  # (x0, y0, x1, y1)
        self.inside = inside

    def __or__(self, other):
        return union(self, other)

    def __sub__(self, other):
        a, b = self.inside, other.inside
        return Shape(self.bbox, lambda x, y: a(x, y) and not b(x, y))

    def __and__(self, other):
        a, b = self.inside, other.inside
        box = (max(self.bbox[0], other.bbox[0]), max(self.bbox[1], other.bbox[1]),
               min(self.bbox[2], other.bbox[2]), min(self.bbox[3], other.bbox[3]))
        return Shape(box, lambda x, y: a(x, y) and b(x, y))


def union(*shapes):
    boxes = [s.bbox for s in shapes]
    box = (min(b[0] for b in boxes), min(b[1] for b in boxes),
           max(b[2] for b in boxes), max(b[3] for b in boxes))
    parts = [(s.bbox, s.inside) for s in shapes]

    def inside(x, y):
        for (x0, y0, x1, y1), test in parts:
            if x0 <= x <= x1 and y0 <= y <= y1 and test(x, y):
                return True
        return False

    return Shape(box, inside)


def circle(cx, cy, r):
    r2 = r * r
    return Shape((cx - r, cy - r, cx + r, cy + r),
                 lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r2)


def _angle_in(angle, start, end):
    return (angle - start) % 360.0 <= (end - start) % 360.0


def ring(cx, cy, r_out, r_in, start=None, end=None):
    """Annulus; with start/end (degrees, counter-clockwise, 0 = east, y up) only that sector."""
    o2, i2 = r_out * r_out, r_in * r_in

    def inside(x, y):
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        if d2 > o2 or d2 < i2:
            return False
        if start is None:
            return True
        return _angle_in(math.degrees(math.atan2(cy - y, x - cx)), start, end)

    return Shape((cx - r_out, cy - r_out, cx + r_out, cy + r_out), inside)


def polar(cx, cy, r, degrees):
    a = math.radians(degrees)
    return (cx + r * math.cos(a), cy - r * math.sin(a))


def arc_stroke(cx, cy, r, width, start, end):
    """Arc of radius r drawn with a round-capped pen."""
    half = width / 2
    s = polar(cx, cy, r, start)
    e = polar(cx, cy, r, end)
    return union(ring(cx, cy, r + half, r - half, start, end), circle(*s, half), circle(*e, half))


def round_rect(x0, y0, x1, y1, r=0.0):
    r = min(r, (x1 - x0) / 2, (y1 - y0) / 2)

    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        qx = max(x0 + r - x, 0.0, x - (x1 - r))
        qy = max(y0 + r - y, 0.0, y - (y1 - r))
        return qx * qx + qy * qy <= r * r

    return Shape((x0, y0, x1, y1), inside)


def capsule(x0, y0, x1, y1, width):
    """Line segment with round ends."""
    half = width / 2
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1e-9

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx - x, y0 + t * dy - y
        return px * px + py * py <= half * half

    return Shape((min(x0, x1) - half, min(y0, y1) - half, max(x0, x1) + half,
                  max(y0, y1) + half), inside)


def polygon(points):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    edges = list(zip(points, points[1:] + points[:1]))

    def inside(x, y):
        hit = False
        for (ax, ay), (bx, by) in edges:
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit

    return Shape((min(xs), min(ys), max(xs), max(ys)), inside)


class Frame:
    """A rotated coordinate frame: u runs along `direction` from `origin`, v across it."""

    def __init__(self, origin, direction_degrees):
        self.ox, self.oy = origin
        a = math.radians(direction_degrees)
        self.ux, self.uy = math.cos(a), -math.sin(a)
        self.vx, self.vy = -self.uy, self.ux

    def point(self, u, v):
        return (self.ox + u * self.ux + v * self.vx, self.oy + u * self.uy + v * self.vy)

    def quad(self, u0, u1, v0, v1):
        return polygon([self.point(u0, v0), self.point(u1, v0), self.point(u1, v1),
                        self.point(u0, v1)])

    def shape(self, points):
        return polygon([self.point(u, v) for u, v in points])


class Canvas:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = [0.0] * (width * height * 4)  # premultiplied RGBA
        self.origin = (0.0, 0.0)  # where local drawing coordinates start

    def fill(self, shape, paint, opacity=1.0, samples=5):
        ox, oy = self.origin
        x0, y0, x1, y1 = shape.bbox
        px0, py0 = max(0, math.floor(x0 + ox)), max(0, math.floor(y0 + oy))
        px1 = min(self.width, math.ceil(x1 + ox) + 1)
        py1 = min(self.height, math.ceil(y1 + oy) + 1)
        offsets = [(i + 0.5) / samples for i in range(samples)]
        total = samples * samples
        test = shape.inside
        data = self.pixels
        for py in range(py0, py1):
            for px in range(px0, px1):
                lx, ly = px - ox, py - oy
                hits = 0
                for sy in offsets:
                    for sx in offsets:
                        if test(lx + sx, ly + sy):
                            hits += 1
                if not hits:
                    continue
                r, g, b, a = paint(lx + 0.5, ly + 0.5) if callable(paint) else paint
                a *= opacity * hits / total
                i = (py * self.width + px) * 4
                keep = 1.0 - a
                data[i] = r * a + data[i] * keep
                data[i + 1] = g * a + data[i + 1] * keep
                data[i + 2] = b * a + data[i + 2] * keep
                data[i + 3] = a + data[i + 3] * keep

    def rgba(self):
        """Straight (not premultiplied) 8-bit RGBA rows, top to bottom."""
        out = bytearray()
        data = self.pixels
        for i in range(0, len(data), 4):
            a = data[i + 3]
            alpha = round(a * 255)
            if alpha == 0:
                out += b"\0\0\0\0"
                continue
            out += bytes(min(255, round(data[i + k] / a * 255)) for k in range(3))
            out.append(alpha)
        return bytes(out)
