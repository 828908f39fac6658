#!/usr/bin/env python3
"""Writes the sample vehicle's models, textures and container-part script.

Everything in examples/models/ except sample_models.txt comes from here:
OBJ/MTL models of a small N-scale electric car (units are millimetres of the
model: 9 mm gauge, body 130 mm long), its PNG textures, and a container part
with its own script. The textures are drawn in example_textures.py. The
output is deterministic, so running it again leaves the committed files
unchanged.

Axes: x along the car (+x is the front end), y up, z across; faces are
written so that the flat normal the reader computes points outward.

    python3 tools/make_example_models.py [OUTPUT_FOLDER]
"""
import math
import os
import sys

from example_textures import (CONTAINER, MAIN, SIGN, container_side, container_texture, main_texture,
                              side_view, sign_texture)


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def centre(points):
    n = float(len(points))
    return tuple(sum(p[i] for p in points) / n for i in range(3))


class Model:
    """One OBJ file: named groups, each with one material, flat or smooth."""

    def __init__(self, mtllib, page):
        self.mtllib = mtllib
        self.page = page  # texture size in pixels, for the region mapping
        self.positions, self.uvs, self.normals = [], [], []
        self.groups = []  # [name, material, smooth, faces]

    def group(self, name, material, smooth=False):
        self.groups.append([name, material, smooth, []])

    def _uv(self, region, s, t):
        x0, y0, x1, y1 = region
        w, h = self.page
        # OBJ texture coordinates grow upward; image rows grow downward.
        u = (x0 + 0.5 + s * (x1 - x0 - 1)) / w
        v = 1.0 - (y0 + 0.5 + t * (y1 - y0 - 1)) / h
        self.uvs.append((u, v))
        return len(self.uvs)

    def face(self, points, region, outward, st=None, normals=None):
        """A triangle or quad; reordered so its computed normal faces `outward`."""
        st = st or [(0, 1), (1, 1), (1, 0), (0, 0)][:len(points)]
        order = list(range(len(points)))
        n = cross(sub(points[1], points[0]), sub(points[2], points[0]))
        if dot(n, outward) < 0:
            order = [0] + order[:0:-1]
        corners = []
        for i in order:
            self.positions.append(points[i])
            vi = len(self.positions)
            ti = self._uv(region, *st[i])
            if normals:
                self.normals.append(normals[i])
                corners.append("%d/%d/%d" % (vi, ti, len(self.normals)))
            else:
                corners.append("%d/%d" % (vi, ti))
        self.groups[-1][3].append(corners)

    def box(self, lo, hi, region, skip=()):
        (x0, y0, z0), (x1, y1, z1) = lo, hi
        sides = {
            "+x": ([(x1, y0, z0), (x1, y0, z1), (x1, y1, z1), (x1, y1, z0)], (1, 0, 0)),
            "-x": ([(x0, y0, z1), (x0, y0, z0), (x0, y1, z0), (x0, y1, z1)], (-1, 0, 0)),
            "+y": ([(x0, y1, z0), (x1, y1, z0), (x1, y1, z1), (x0, y1, z1)], (0, 1, 0)),
            "-y": ([(x0, y0, z1), (x1, y0, z1), (x1, y0, z0), (x0, y0, z0)], (0, -1, 0)),
            "+z": ([(x1, y0, z1), (x0, y0, z1), (x0, y1, z1), (x1, y1, z1)], (0, 0, 1)),
            "-z": ([(x0, y0, z0), (x1, y0, z0), (x1, y1, z0), (x0, y1, z0)], (0, 0, -1)),
        }
        for key, (points, outward) in sides.items():
            if key not in skip:
                self.face(points, region, outward)

    def beam(self, a, b, half_width, half_depth, region):
        """A square-section bar from a to b in an x-y plane (arms, struts)."""
        d = sub(b, a)
        length = math.hypot(d[0], d[1])
        side = (-d[1] / length * half_width, d[0] / length * half_width, 0.0)
        corners = []
        for end in (a, b):
            for sx in (-1, 1):
                for sz in (-1, 1):
                    corners.append((end[0] + sx * side[0], end[1] + sx * side[1], end[2] + sz * half_depth))
        mid = centre(corners)
        for quad in ((0, 1, 3, 2), (4, 5, 7, 6), (0, 1, 5, 4), (2, 3, 7, 6), (0, 2, 6, 4), (1, 3, 7, 5)):
            points = [corners[i] for i in quad]
            self.face(points, region, sub(centre(points), mid))

    def disc_x(self, cx, cy, cz, r, segments, region, facing):
        """A flat round plate facing +x or -x (the head mark)."""
        rim = [(cx, cy + r * math.sin(2 * math.pi * i / segments), cz + r * math.cos(2 * math.pi * i / segments))
               for i in range(segments)]
        for i in range(segments):
            j = (i + 1) % segments
            st = [(0.5, 0.5)] + [(0.5 + 0.5 * (p[2] - cz) / r * facing, 0.5 - 0.5 * (p[1] - cy) / r)
                                 for p in (rim[i], rim[j])]
            self.face([(cx, cy, cz), rim[i], rim[j]], region, (facing, 0, 0), st)

    def cylinder_z(self, r, z0, z1, segments, region):
        """A smooth cylinder round the z axis with flat caps (wheels, axle)."""
        ring = [(r * math.cos(2 * math.pi * i / segments), r * math.sin(2 * math.pi * i / segments))
                for i in range(segments)]
        for i in range(segments):
            j = (i + 1) % segments
            (xa, ya), (xb, yb) = ring[i], ring[j]
            na, nb = (xa / r, ya / r, 0.0), (xb / r, yb / r, 0.0)
            points = [(xa, ya, z0), (xb, yb, z0), (xb, yb, z1), (xa, ya, z1)]
            st = [(i / segments, 1), ((i + 1) / segments, 1), ((i + 1) / segments, 0.8), (i / segments, 0.8)]
            self.face(points, region, ((xa + xb) / 2, (ya + yb) / 2, 0), st, [na, nb, nb, na])
        for z, outward in ((z0, -1), (z1, 1)):
            for i in range(segments):
                j = (i + 1) % segments
                rim = [ring[i], ring[j]]
                st = [(0.5, 0.4)] + [(0.5 + 0.5 * x / r, 0.4 - 0.4 * y / r) for x, y in rim]
                points = [(0, 0, z)] + [(x, y, z) for x, y in rim]
                n = (0.0, 0.0, float(outward))
                self.face(points, region, n, st, [n, n, n])

    def text(self):
        lines = ["# Railwick sample vehicle (tools/make_example_models.py)", "mtllib " + self.mtllib]
        lines += ["v %.4f %.4f %.4f" % p for p in self.positions]
        lines += ["vt %.6f %.6f" % t for t in self.uvs]
        lines += ["vn %.6f %.6f %.6f" % n for n in self.normals]
        for name, material, smooth, faces in self.groups:
            lines += ["g " + name, "usemtl " + material, "s 1" if smooth else "s off"]
            lines += ["f " + " ".join(corners) for corners in faces]
        return "\n".join(lines) + "\n"

    def triangles(self):
        return sum(len(corners) - 2 for g in self.groups for corners in g[3])


# Car body dimensions.
HALF_LENGTH, HALF_WIDTH = 65.0, 9.5
FLOOR_Y, EAVES_Y, ROOF_Y = 8.0, 22.0, 26.0
BOGIE_X, AXLE_OFFSET, WHEEL_RADIUS = 45.0, 7.0, 2.85


def roof_profile(steps=12):
    """Points of the roof arc from one eave to the other (z, y)."""
    points = []
    for i in range(steps + 1):
        a = math.pi * i / steps
        points.append((-HALF_WIDTH * math.cos(a), EAVES_Y + (ROOF_Y - EAVES_Y) * math.sin(a)))
    return points


def main_model():
    return Model("main.mtl", (256, 256))


def sign_model():
    return Model("sign.mtl", (128, 128))


def body_glossy():
    m = main_model()
    m.group("body_side", "body")
    segments = 6
    for i in range(segments):
        xa = -HALF_LENGTH + 2 * HALF_LENGTH * i / segments
        xb = -HALF_LENGTH + 2 * HALF_LENGTH * (i + 1) / segments
        s0, s1 = i / segments, (i + 1) / segments
        for z in (-HALF_WIDTH, HALF_WIDTH):
            pts = [(xa, FLOOR_Y, z), (xb, FLOOR_Y, z), (xb, EAVES_Y, z), (xa, EAVES_Y, z)]
            m.face(pts, MAIN["side"], (0, 0, z), [(s0, 1), (s1, 1), (s1, 0), (s0, 0)])
    m.group("body_end", "front")
    arc = roof_profile()
    for x in (-HALF_LENGTH, HALF_LENGTH):
        facing = 1 if x > 0 else -1
        st = lambda z, y: (0.5 + 0.5 * facing * z / HALF_WIDTH, (ROOF_Y - y) / (ROOF_Y - FLOOR_Y))
        pts = [(x, FLOOR_Y, -HALF_WIDTH), (x, FLOOR_Y, HALF_WIDTH), (x, EAVES_Y, HALF_WIDTH), (x, EAVES_Y, -HALF_WIDTH)]
        m.face(pts, MAIN["front"], (facing, 0, 0), [st(p[2], p[1]) for p in pts])
        for (za, ya), (zb, yb) in zip(arc, arc[1:]):
            pts = [(x, EAVES_Y, 0.0), (x, ya, za), (x, yb, zb)]
            m.face(pts, MAIN["front"], (facing, 0, 0), [st(p[2], p[1]) for p in pts])
    return m


def body_matte():
    m = main_model()
    m.group("roof", "roof")
    arc = roof_profile()
    segments = 16
    for i in range(segments):
        xa = -HALF_LENGTH + 2 * HALF_LENGTH * i / segments
        xb = -HALF_LENGTH + 2 * HALF_LENGTH * (i + 1) / segments
        for k, ((za, ya), (zb, yb)) in enumerate(zip(arc, arc[1:])):
            outward = ((za + zb) / 2, (ya + yb) / 2 - EAVES_Y, 0)
            outward = (0, outward[1], outward[0])
            t0, t1 = k / (len(arc) - 1), (k + 1) / (len(arc) - 1)
            pts = [(xa, ya, za), (xb, ya, za), (xb, yb, zb), (xa, yb, zb)]
            m.face(pts, MAIN["roof"], outward, [(0, t0), (1, t0), (1, t1), (0, t1)])
    m.group("underframe", "roof")
    m.box((-HALF_LENGTH + 1, FLOOR_Y - 1.0, -HALF_WIDTH + 0.5), (HALF_LENGTH - 1, FLOOR_Y, HALF_WIDTH - 0.5),
          MAIN["under"], skip=("+y",))
    return m


WINDOW_XS = [-52, -38, -24, -10, 4, 18, 32, 46]


def windows():
    m = main_model()
    m.group("side_windows", "glass")
    for x in WINDOW_XS:
        for z in (-HALF_WIDTH - 0.05, HALF_WIDTH + 0.05):
            pts = [(x, 13.5, z), (x + 9, 13.5, z), (x + 9, 19.5, z), (x, 19.5, z)]
            m.face(pts, MAIN["glass"], (0, 0, z))
    m.group("door_windows", "glass")
    for x in (-31.5, 11.5, 39.5):
        for z in (-HALF_WIDTH - 0.05, HALF_WIDTH + 0.05):
            pts = [(x, 14.5, z), (x + 2.5, 14.5, z), (x + 2.5, 19.5, z), (x, 19.5, z)]
            m.face(pts, MAIN["glass"], (0, 0, z))
    return m


def windows_heated():
    m = main_model()
    m.group("windscreens", "glass")
    for x in (-HALF_LENGTH - 0.05, HALF_LENGTH + 0.05):
        for z0, z1 in ((-7.0, -1.0), (1.0, 7.0)):
            pts = [(x, 14.5, z0), (x, 14.5, z1), (x, 19.5, z1), (x, 19.5, z0)]
            m.face(pts, MAIN["glass"], (1 if x > 0 else -1, 0, 0))
    return m


def interior():
    m = main_model()
    m.group("floor", "floor")
    m.face([(-HALF_LENGTH + 1, FLOOR_Y + 0.2, -HALF_WIDTH + 0.3), (HALF_LENGTH - 1, FLOOR_Y + 0.2, -HALF_WIDTH + 0.3),
            (HALF_LENGTH - 1, FLOOR_Y + 0.2, HALF_WIDTH - 0.3), (-HALF_LENGTH + 1, FLOOR_Y + 0.2, HALF_WIDTH - 0.3)],
           MAIN["floor"], (0, 1, 0))
    m.group("seats", "seat")
    for x0, x1 in ((-60, -34), (-29, 9), (14, 37), (42, 60)):
        for sign in (-1, 1):
            inner, outer = sign * (HALF_WIDTH - 2.6), sign * (HALF_WIDTH - 0.4)
            lo, hi = min(inner, outer), max(inner, outer)
            m.box((x0, FLOOR_Y + 0.2, lo), (x1, FLOOR_Y + 2.2, hi), MAIN["seat"], skip=("-y",))
            back_lo, back_hi = (hi - 0.8, hi) if sign > 0 else (lo, lo + 0.8)
            m.box((x0, FLOOR_Y + 2.2, back_lo), (x1, FLOOR_Y + 5.0, back_hi), MAIN["seat"], skip=("-y",))
    m.group("partitions", "floor")
    for x in (-HALF_LENGTH + 8, HALF_LENGTH - 8):
        m.box((x - 0.3, FLOOR_Y + 0.2, -HALF_WIDTH + 0.4), (x + 0.3, EAVES_Y - 1, -1.5), MAIN["floor"])
        m.box((x - 0.3, FLOOR_Y + 0.2, 1.5), (x + 0.3, EAVES_Y - 1, HALF_WIDTH - 0.4), MAIN["floor"])
    return m


def bogie_frame():
    m = main_model()
    m.group("side_frames", "bogie")
    for z in (-5.6, 5.6):
        m.box((-9.0, 1.8, z - 0.5), (9.0, 4.2, z + 0.5), MAIN["bogie"])
        for x in (-AXLE_OFFSET, AXLE_OFFSET):
            m.box((x - 1.6, 2.0, z - 0.7), (x + 1.6, 3.8, z + 0.7), MAIN["bogie"])
        m.box((-2.5, 3.0, z - 0.7), (2.5, 5.0, z + 0.7), MAIN["bogie"])
    m.group("bolster", "bogie")
    m.box((-2.0, 4.0, -5.1), (2.0, 5.6, 5.1), MAIN["bogie"])
    m.box((-1.0, 5.6, -1.0), (1.0, FLOOR_Y - 1.0, 1.0), MAIN["bogie"])
    return m


def wheel():
    m = main_model()
    m.group("treads", "wheel", smooth=True)
    for z0, z1 in ((-4.9, -4.1), (4.1, 4.9)):
        m.cylinder_z(WHEEL_RADIUS, z0, z1, 24, MAIN["wheel"])
    m.group("axle", "wheel", smooth=True)
    m.cylinder_z(0.5, -4.1, 4.1, 12, MAIN["wheel"])
    return m


def underfloor():
    m = main_model()
    m.group("equipment", "under")
    m.box((-26.0, FLOOR_Y - 4.0, -7.0), (-4.0, FLOOR_Y - 1.0, 7.0), MAIN["under"], skip=("+y",))
    m.box((6.0, FLOOR_Y - 3.5, -6.0), (24.0, FLOOR_Y - 1.0, 6.0), MAIN["under"], skip=("+y",))
    return m


PANTA_X = 40.0


def pantograph(raised):
    m = main_model()
    m.group("panta_base", "panta")
    m.box((PANTA_X - 5.0, ROOF_Y, -4.0), (PANTA_X + 5.0, ROOF_Y + 0.6, 4.0), MAIN["panta"])
    for z in (-3.5, 3.5):
        for x in (PANTA_X - 4.0, PANTA_X + 4.0):
            m.box((x - 0.4, ROOF_Y - 0.1, z - 0.4), (x + 0.4, ROOF_Y + 1.0, z + 0.4), MAIN["panta"])
    m.group("panta_arms", "panta")
    pivot = (PANTA_X - 4.0, ROOF_Y + 1.0)
    knee, head = ((PANTA_X + 3.5, ROOF_Y + 4.6), (PANTA_X - 0.5, 33.5)) if raised else \
        ((PANTA_X + 4.5, ROOF_Y + 1.7), (PANTA_X - 0.5, ROOF_Y + 2.4))
    for z in (-1.5, 1.5):
        m.beam((pivot[0], pivot[1], z), (knee[0], knee[1], z), 0.25, 0.25, MAIN["panta"])
        m.beam((knee[0], knee[1], z), (head[0], head[1], z), 0.2, 0.2, MAIN["panta"])
    m.group("panta_head", "panta")
    m.box((head[0] - 1.0, head[1], -5.5), (head[0] + 1.0, head[1] + 0.5, 5.5), MAIN["panta"])
    return m


def end_lights(region, y0, y1, zs, x_sign, material):
    m = main_model()
    m.group(material + "_lights", material)
    x = x_sign * (HALF_LENGTH + 0.1)
    for z0, z1 in zs:
        pts = [(x, y0, z0), (x, y0, z1), (x, y1, z1), (x, y1, z0)]
        m.face(pts, region, (x_sign, 0, 0))
    return m


LAMP_ZS = ((-7.5, -5.8), (5.8, 7.5))


def head_light(x_sign):
    return end_lights(MAIN["head"], 10.8, 12.2, LAMP_ZS, x_sign, "head")


def tail_light(x_sign):
    return end_lights(MAIN["tail"], 9.0, 10.2, LAMP_ZS, x_sign, "tail")


def shunting_light():
    return end_lights(MAIN["shunt"], 8.4, 9.2, ((-1.0, 1.0),), 1, "shunt")


def destination_sign():
    m = sign_model()
    m.group("destination", "dest")
    for x in (-HALF_LENGTH - 0.08, HALF_LENGTH + 0.08):
        facing = 1 if x > 0 else -1
        pts = [(x, 20.3, -4.0), (x, 20.3, 4.0), (x, 21.7, 4.0), (x, 21.7, -4.0)]
        st = [(0.5 + 0.5 * facing * p[2] / 4.0, (21.7 - p[1]) / 1.4) for p in pts]
        m.face(pts, SIGN["dest"], (facing, 0, 0), st)
    return m


def side_plate(region, x0):
    m = sign_model()
    m.group("side_plate", "plate")
    for z in (-HALF_WIDTH - 0.08, HALF_WIDTH + 0.08):
        pts = [(x0, 11.8, z), (x0 + 6.0, 11.8, z), (x0 + 6.0, 13.0, z), (x0, 13.0, z)]
        st = [(1, 1), (0, 1), (0, 0), (1, 0)] if z > 0 else [(0, 1), (1, 1), (1, 0), (0, 0)]
        m.face(pts, region, (0, 0, z), st)
    return m


def led_sign():
    m = sign_model()
    m.group("led_panel", "led")
    for z in (-HALF_WIDTH - 0.08, HALF_WIDTH + 0.08):
        pts = [(28.0, 20.0, z), (36.0, 20.0, z), (36.0, 21.4, z), (28.0, 21.4, z)]
        st = [(1, 1), (0, 1), (0, 0), (1, 0)] if z > 0 else [(0, 1), (1, 1), (1, 0), (0, 0)]
        m.face(pts, SIGN["led"], (0, 0, z), st)
    return m


def head_mark():
    m = sign_model()
    m.group("head_mark", "mark")
    m.disc_x(HALF_LENGTH + 0.15, 15.5, 0.0, 2.6, 24, SIGN["mark"], 1)
    return m


def option_cooler():
    m = main_model()
    m.group("coolers", "cooler")
    for x in (-30.0, 8.0):
        m.box((x, ROOF_Y - 0.2, -4.5), (x + 14.0, ROOF_Y + 2.2, 4.5), MAIN["cooler"], skip=("-y",))
    return m


def option_skirt():
    m = main_model()
    m.group("skirt", "skirt")
    x = HALF_LENGTH - 0.5
    m.beam((x, 3.5, 0), (x, FLOOR_Y - 0.8, 0), 0.4, 8.0, MAIN["skirt"])
    return m


def option_sign():
    m = sign_model()
    m.group("option_sign", "optsign")
    x = HALF_LENGTH + 0.12
    pts = [(x, 12.8, 2.0), (x, 12.8, 5.0), (x, 14.0, 5.0), (x, 14.0, 2.0)]
    m.face(pts, SIGN["optsign"], (1, 0, 0), [(0, 1), (1, 1), (1, 0), (0, 0)])
    return m


def option_antenna():
    m = main_model()
    m.group("antenna", "antenna")
    m.box((-50.0, ROOF_Y - 0.2, -0.5), (-47.0, ROOF_Y + 0.4, 0.5), MAIN["antenna"], skip=("-y",))
    m.beam((-48.5, ROOF_Y + 0.4, 0), (-48.5, ROOF_Y + 3.0, 0), 0.15, 0.15, MAIN["antenna"])
    return m


def container():
    m = Model("container.mtl", (128, 128))
    m.group("container_box", "container")
    lo, hi = (-12.0, 0.0, -8.0), (12.0, 16.0, 8.0)
    walls = {"+z", "-z"}
    m.box(lo, hi, CONTAINER["wall"], skip=("+x", "-x", "+y", "-y"))
    m.group("container_ends", "container_end")
    m.box(lo, hi, CONTAINER["door"], skip=tuple(walls | {"+y", "-y"}))
    m.box(lo, hi, CONTAINER["top"], skip=tuple(walls | {"+x", "-x"}))
    return m


MAIN_MATERIALS = ["body", "front", "roof", "glass", "seat", "floor", "bogie", "wheel", "panta", "under",
                  "head", "tail", "shunt", "cooler", "skirt", "antenna"]


def mtl(materials, texture):
    lines = ["# Railwick sample vehicle (tools/make_example_models.py)"]
    for name in materials:
        lines += ["newmtl " + name, "Kd 1.000 1.000 1.000", "map_Kd " + texture, ""]
    return "\n".join(lines)


CONTAINER_SCRIPT = """//Z5 Railwick sample container part
出力パス ""
コンテナ部品
ContainerInfoBegin
ContainerName "サンプル12ftコンテナ"
ContainerType 1
ContainerLength 24.0
ContainerSavetime
ContainerGuide "Railwick のサンプル車両に積む 12 フィートコンテナ"
ContainerMaker "Railwick"
ContainerSize 12
ContainerSideview "container_side.png"
ContainerInfoEnd
ContainerModelBegin 128
ContainerOBJMain "container.obj"
ContainerModelEnd
"""

MODELS = {
    "body_glossy.obj": body_glossy, "body_matte.obj": body_matte, "windows.obj": windows,
    "windows_heated.obj": windows_heated, "interior.obj": interior, "bogie_frame.obj": bogie_frame,
    "wheel.obj": wheel, "underfloor.obj": underfloor,
    "panta_up.obj": lambda: pantograph(True), "panta_down.obj": lambda: pantograph(False),
    "headlight_front.obj": lambda: head_light(1), "headlight_rear.obj": lambda: head_light(-1),
    "taillight_front.obj": lambda: tail_light(1), "taillight_rear.obj": lambda: tail_light(-1),
    "shunting_light.obj": shunting_light, "sign_destination.obj": destination_sign,
    "sign_plate.obj": lambda: side_plate(SIGN["plate"], -4.0),
    "sign_plate2.obj": lambda: side_plate(SIGN["plate2"], -46.0),
    "sign_led.obj": led_sign, "head_mark.obj": head_mark,
    "option_cooler.obj": option_cooler, "option_skirt.obj": option_skirt,
    "option_sign.obj": option_sign, "option_antenna.obj": option_antenna,
    "container.obj": container,
}


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "examples", "models")
    os.makedirs(out, exist_ok=True)
    write(os.path.join(out, "main.png"), main_texture().png())
    write(os.path.join(out, "sign.png"), sign_texture().png())
    write(os.path.join(out, "container.png"), container_texture().png())
    write(os.path.join(out, "sideview.png"), side_view().png())
    write(os.path.join(out, "container_side.png"), container_side().png())
    write(os.path.join(out, "main.mtl"), mtl(MAIN_MATERIALS, "main.png").encode("ascii"))
    write(os.path.join(out, "sign.mtl"), mtl(list(SIGN), "sign.png").encode("ascii"))
    write(os.path.join(out, "container.mtl"), mtl(["container", "container_end"], "container.png").encode("ascii"))
    total = 0
    for name, make in MODELS.items():
        model = make()
        total += model.triangles()
        write(os.path.join(out, name), model.text().encode("ascii"))
    write(os.path.join(out, "container_part.txt"), CONTAINER_SCRIPT.replace("\n", "\r\n").encode("cp932"))
    print("%d models, %d triangles in all, written to %s" % (len(MODELS), total, out))


if __name__ == "__main__":
    main()
