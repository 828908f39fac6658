#!/usr/bin/env python3
"""Expected mesh file bytes of the smoothed, mirrored, scaled triangle in
tests/data/modelio/obj/mesh.txt, worked out from the reader's and the mesh
writer's rules with 32-bit float rounding after every operation. Prints the
bytes as the case file's hex lines. Run: python3 tests/modelio/mesh_expected.py"""
import math
import struct


def f32(x):
    return struct.unpack('<f', struct.pack('<f', x))[0]


def normalize(v):
    length = f32(math.sqrt(f32(f32(f32(v[0] * v[0]) + f32(v[1] * v[1])) + f32(v[2] * v[2]))))
    return [f32(c / length) for c in v]


def cross(a, b):
    return [f32(f32(a[1] * b[2]) - f32(a[2] * b[1])),
            f32(f32(a[2] * b[0]) - f32(a[0] * b[2])),
            f32(f32(a[0] * b[1]) - f32(a[1] * b[0]))]


def sub(a, b):
    return [f32(x - y) for x, y in zip(a, b)]


# The model: "v" lines, "vt" lines, "vn" lines, and "s 1", "f 1/1/1 2/2/2 3/3".
positions = [[0.1, 0.2, 0.3], [1.7, -0.4, 0.9], [-0.6, 1.3, 2.2]]
tex_coords = [[0.1, 0.9], [0.7, 0.2], [0.3, 0.3]]
normals = [[3, 4, 0], [0.2, -0.5, 0.8]]
corners = [(0, 0, 0), (1, 1, 1), (2, 2, None)]
mirror_z = True
page = (512.0, 256.0)       # the PNG of the library
rect = (0.0, 0.0, 512.0, 256.0)
scale = f32(2.13334)

# Reading: numbers as floats, z negated under mirror Z; normals normalized first.
positions = [[f32(x), f32(y), f32(-z if mirror_z else z)] for x, y, z in positions]
tex_coords = [[f32(u), f32(v)] for u, v in tex_coords]
stored_normals = []
for n in normals:
    m = normalize([f32(c) for c in n])
    if mirror_z:
        m[2] = -m[2]
    stored_normals.append(m)

p0, p1, p2 = (positions[c[0]] for c in corners)
face_normal = normalize(cross(sub(p0, p1), sub(p0, p2)))

vertices = []
for pi, ti, ni in corners:
    # Smoothing on: a corner that gave a normal keeps it, the others take the face's.
    own = stored_normals[ni] if ni is not None else face_normal
    u, v = tex_coords[ti]
    pw, ph = page
    left, top, width, height = rect
    mu = f32(f32(f32(u * width) / pw) + f32(left / pw))
    mv = f32(f32(f32(v * height) / ph) + f32(top / ph))
    mv = f32(1.0 - mv)  # flip V
    # Writing: scale, rotation 0 (identity with its zero terms), no offset.
    p = [f32(scale * c) for c in positions[pi]]
    pos = [f32(f32(f32(f32(p[0] * 1.0) + f32(p[1] * 0.0)) + f32(p[2] * 0.0)) + 0.0),
           f32(f32(f32(f32(p[0] * 0.0) + f32(p[1] * 1.0)) + f32(p[2] * 0.0)) + 0.0),
           f32(f32(f32(f32(p[0] * -0.0) + f32(p[1] * 0.0)) + f32(p[2] * 1.0)) + 0.0)]
    n = normalize(own)
    nrm = [f32(f32(f32(n[0] * 1.0) + f32(n[1] * 0.0)) + f32(n[2] * 0.0)),
           f32(f32(f32(n[0] * 0.0) + f32(n[1] * 1.0)) + f32(n[2] * 0.0)),
           f32(f32(f32(n[0] * -0.0) + f32(n[1] * 0.0)) + f32(n[2] * 1.0))]
    vertices.append(pos + nrm + [mu, mv])

data = struct.pack('<4I', 100, 0x112, 3, 3)
for v in vertices:
    data += struct.pack('<8f', *v)
data += struct.pack('<3H', 0, 2, 1)  # mirror Z reverses the winding
for at in range(0, len(data), 16):
    print('|' + ' '.join('%02X' % b for b in data[at:at + 16]))
