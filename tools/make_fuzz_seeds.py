#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets from examples/ and the tests.

    tools/make_fuzz_seeds.py

Run from anywhere; rewrites fuzz/corpus/<target>/ for the targets it knows
(the data-file and text seeds are kept as they are). Names in the
seeds are changed to the files the targets put in their scratch folders.
"""
import os
import re
import struct
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CORPUS = os.path.join(ROOT, "fuzz", "corpus")
MODELS = os.path.join(ROOT, "examples", "models")
ASSETS = os.path.join(ROOT, "examples", "assets")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write_corpus(target, seeds):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    for name in os.listdir(folder):
        os.remove(os.path.join(folder, name))
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


def compile_seeds():
    """The example and test scripts, naming the scratch folder's files."""
    scripts = {"sample": "examples/Sample.txt", "sample_models": "examples/models/sample_models.txt",
               "container_part": "examples/models/container_part.txt",
               "whole_vehicle.txt": "tests/data/golden/whole_vehicle.txt",
               "full_script": "tests/data/project/full_script.txt"}
    seeds = {}
    for name, path in scripts.items():
        text = read(os.path.join(ROOT, path))
        text = re.sub(rb'"?[^\s"]*\.obj"?', b'"m.obj"', text)
        text = re.sub(rb'"?[^\s"]*\.wav"?', b'"a.wav"', text)
        for image in (b"main", b"sign", b"side"):
            text = re.sub(rb'"?[^\s"]*' + image + rb'[^\s"]*\.png"?', b'"' + image + b'.png"', text)
        seeds[name] = text.replace(b'"side.png"', b'"sideview.png"')
    return seeds


def model_seeds():
    """OBJ, a NUL and its MTL, for every example model up to 8 KB."""
    seeds = {}
    for name in sorted(os.listdir(MODELS)):
        if not name.endswith(".obj"):
            continue
        obj = read(os.path.join(MODELS, name))
        if len(obj) > 8192:
            continue
        mtl = b""
        found = re.search(rb"^mtllib (\S+)", obj, re.M)
        if found:
            mtl = read(os.path.join(MODELS, found.group(1).decode()))
            obj = obj.replace(found.group(0), b"mtllib m.mtl")
            mtl = re.sub(rb"map_Kd \S+", b"map_Kd t.png", mtl)
        seeds[name[:-4]] = obj + b"\0" + mtl
    # Texture kinds and smoothing the examples do not use.
    quad = (b"v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\n"
            b"mtllib m.mtl\ng a\nusemtl %s\ns 1\nf 1/1/1 2/2/1 3/3/1 4/4/1\nf -1/-1 -2/-2 -3/-3\n")
    seeds["textures"] = (quad % b"b") + b"\0" + (
        b"newmtl a\nmap_Kd t.png\nnewmtl b\nmap_Kd t.bmp\nnewmtl c\nmap_Kd t.tim\n"
        b"newmtl d\nmap_Kd sub\\t.png\nnewmtl e\nmap_Kd odd.tim\n")
    return seeds


def image_seeds():
    seeds = {}
    for name in ("main.png", "sideview.png", "sign.png", "gap1.wav"):
        seeds[name] = read(os.path.join(ASSETS, name))
    seeds["bmp"] = b"BM" + struct.pack("<IIII", 54, 0, 54, 40) + struct.pack("<iiHH", 64, -32, 1, 24) + bytes(24)
    seeds["tim"] = struct.pack("<IIIHHHH", 0x10, 3, 12, 64, 0, 96, 64)
    # A WAVE whose data chunk comes before its format chunk, with a pad byte.
    fmt = struct.pack("<HHIIHH", 1, 1, 22050, 22050, 1, 8)
    body = b"WAVE" + b"data" + struct.pack("<I", 3) + b"\x80\x80\x80\x00" + b"fmt " + struct.pack("<I", 16) + fmt
    seeds["wave_data_first"] = b"RIFF" + struct.pack("<I", len(body)) + body
    return seeds


def mesh_seeds():
    def mesh(vertices, indices):
        out = struct.pack("<IIII", 100, 0x112, len(vertices), len(indices))
        for v in vertices:
            out += struct.pack("<8f", *v)
        return out + struct.pack("<%dH" % len(indices), *indices)

    triangle = [(0, 0, 0, 0, 0, 1, 0, 0), (1, 0, 0, 0, 0, 1, 1, 0), (0, 1, 0, 0, 0, 1, 0, 1)]
    return {"triangle": mesh(triangle, [0, 1, 2]), "empty": mesh([], [])}


def pack_seeds():
    out = os.path.join(CORPUS, "..", "pack.tmp")
    subprocess.run([sys.executable, os.path.join(ROOT, "tools", "make_resource_pack.py"), "-o", out], check=True,
                   stdout=subprocess.DEVNULL)
    whole = read(out)
    os.remove(out)

    def entry(name, flag, data):
        raw = name.encode("utf-16-le").ljust(48, b"\0")
        return struct.pack("<H", 0x10) + raw + struct.pack("<II", flag, len(data)) + data

    small = struct.pack("<H", 0x2000) + entry("title", 0, "Railwick\0".encode("utf-16-le")) + \
        entry("hlsl_E5", 1, b"technique E5Shader {}") + struct.pack("<H", 0)
    return {"program_pack": whole, "small": small}


def project_seeds():
    sample = read(os.path.join(ROOT, "examples", "sample.xml"))
    renames = {b"assets\\main.png": b"main.png", b"assets\\sideview.png": b"side.png",
               b"assets\\sign.png": b"sign.png"}
    for old, new in renames.items():
        sample = sample.replace(old, new)
    sample = re.sub(rb"assets\\[^<]*\.wav", b"a.wav", sample)
    return {"sample": sample, "reset": read(os.path.join(ROOT, "tests", "data", "project", "reset_project.xml"))}


def number_seeds():
    """Lines of numbers: a vertex line of the sample vehicle and the shapes
    beside the short decimal."""
    vertex = next(line for line in read(os.path.join(MODELS, "body_glossy.obj")).splitlines()
                  if line.startswith(b"v "))
    return {"vertex": vertex[2:],
            "shapes": b"1.5e1 -.5 +2 5. 12345678.5 0.123456789 -0.0",
            "separators": b"0.1,2\t3\x1e4\r5\x016",
            "special": b"inf nan 1e400 -1e-400 0x10"}


def main():
    write_corpus("fuzz_compile", compile_seeds())
    write_corpus("fuzz_obj_numbers", number_seeds())
    write_corpus("fuzz_model_input", model_seeds())
    write_corpus("fuzz_image_headers", image_seeds())
    write_corpus("fuzz_mesh_file", mesh_seeds())
    write_corpus("fuzz_resource_pack", pack_seeds())
    write_corpus("fuzz_project_file", project_seeds())
    return 0


if __name__ == "__main__":
    sys.exit(main())
