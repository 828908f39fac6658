#!/usr/bin/env python3
"""Turns one run of railwick_bench (JSON) and the callgrind counts that
./run-bench takes into the table of ratios.

    bench/report.py BENCH_JSON CALLGRIND_TXT

BENCH_JSON is --benchmark_out of railwick_bench; with repetitions the
medians are used. In-process figures are per CPU second of the benchmark
process, and the whole-process pair compares the processes' own CPU time, so
that other work on a shared machine does not enter the ratios. CALLGRIND_TXT
has one line per count: "KIND SIZE BYTES INSTRUCTIONS", or "file PATH BYTES
INSTRUCTIONS" for a model file of the examples and tests read alone.
"""
import json
import sys

MB = 1e6
FAILED = {}  # benchmark: the message it failed with (its rows are left out)


def load(path):
    with open(path) as f:
        doc = json.load(f)
    runs, medians = {}, {}
    for b in doc["benchmarks"]:
        name = b.get("run_name", b["name"])
        if b.get("error_occurred"):
            FAILED.setdefault(name, b.get("error_message", "failed"))
        if b.get("aggregate_name") == "median":
            medians[name] = b
        elif b.get("run_type", "iteration") == "iteration" and "error_occurred" not in b:
            runs.setdefault(name, b)
    runs.update(medians)
    return doc.get("context", {}), runs


def ratio_row(what, ours, theirs, unit, goal, better_high=True):
    if ours is None or theirs is None or theirs == 0:
        return f"| {what} | — | — | — | {goal} |"
    r = ours / theirs
    return f"| {what} | {ours:,.1f} {unit} | {theirs:,.1f} {unit} | {r:.2f}× | {goal} |"


def per_unit_ns(b, units):
    return b["cpu_time"] * {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b["time_unit"]] / units


def linearity(points):
    """Marginal cost of the second step over that of the first (1.00 is linear)."""
    (n1, c1), (n2, c2), (n3, c3) = points
    first = (c2 - c1) / (n2 - n1)
    second = (c3 - c2) / (n3 - n2)
    return second / first if first else float("nan")


def main(argv):
    context, runs = load(argv[0])
    counts = {}
    files = []  # (instructions per byte, path, bytes)
    if len(argv) > 1:
        with open(argv[1]) as f:
            for line in f:
                kind, size, size_bytes, instructions = line.split()
                if kind == "file":
                    if int(size_bytes) > 0:
                        files.append((int(instructions) / int(size_bytes), size, int(size_bytes)))
                    continue
                counts[(kind, int(size))] = (int(size_bytes), int(instructions))

    def rate(name, key="bytes_per_second"):
        b = runs.get(name)
        return b[key] / MB if b and key in b else None

    out = []
    out.append("| what | ours | reference | ratio | goal |")
    out.append("|---|---|---|---|---|")
    out.append(ratio_row("OBJ+MTL read, 50k corners, record reused (vs tinyobjloader)",
                         rate("BM_ReadObj/49998"), rate("BM_TinyObjLoader/49998"), "MB/s", "≥ 5× (≥ 6×)"))
    out.append(ratio_row("OBJ+MTL read, 50k corners, fresh record (vs tinyobjloader)",
                         rate("BM_ReadObjNewModel/49998"), rate("BM_TinyObjLoader/49998"), "MB/s", "≥ 5× (≥ 6×)"))
    ours, tiny = counts.get(("obj", 49998)), counts.get(("tiny", 49998))
    if ours and tiny:
        a, b = ours[1] / ours[0], tiny[1] / tiny[0]
        out.append(f"| OBJ+MTL read, 50k corners, instructions per byte (callgrind) | {a:.1f} | {b:.1f} | "
                   f"{b / a:.2f}× fewer | ≤ 12 per byte |")
    # A model's fixed cost (opening the OBJ, its MTL and image, their paths)
    # outweighs the reading in small files: the worst of all is shown beside
    # the worst of those large enough for the reading to be most of the cost,
    # and the fixed cost itself.
    for label, chosen, goal in (("every test and example OBJ", files, "—"),
                                ("every test and example OBJ of 12 KiB or more",
                                 [x for x in files if x[2] >= 12 * 1024], "≤ 14 per byte")):
        if chosen:
            worst = max(chosen)
            out.append(f"| OBJ+MTL read, {label}, worst instructions per byte (callgrind) | {worst[0]:.1f} "
                       f"({worst[1].rsplit('/', 1)[-1]}, {worst[2]:,} bytes) | — | — | {goal} |")
    fixed = counts.get(("fixed", 0))
    if fixed:
        out.append(f"| OBJ+MTL read, fixed cost of a model (an OBJ naming only the sample's library: 16 "
                   f"materials, one image), instructions (callgrind) | {fixed[1]:,} | — | — | — |")
    for mib in (1, 16, 128):
        out.append(ratio_row(f"MD5, {mib} MiB (vs OpenSSL)", rate(f"BM_Md5/{mib}"),
                             rate(f"BM_Md5OpenSsl/{mib}"), "MB/s", "≥ 0.8× (≥ 0.9×)"))
    for mib in (1, 16):
        for name, label in (("BM_Scramble", "scramble"), ("BM_Descramble", "descramble"),
                            ("BM_ScrambleInPlace", "scramble in place")):
            out.append(ratio_row(f"{label}, {mib} MiB (vs memcpy)", rate(f"{name}/{mib}"),
                                 rate(f"BM_Memcpy/{mib}"), "MB/s", "≥ 0.5× (≥ 0.8×)"))
    for tool, baseline, label in (("BM_MakeProcess", "BM_MakeBaselineProcess",
                                   "make of the sample project (21 models), mesh files up to date"),
                                  ("BM_MakeFirstProcess", "BM_MakeBaselineProcess",
                                   "make of the sample project, every mesh file written"),
                                  ("BM_CompileModelsProcess", "BM_CompileModelsBaselineProcess",
                                   "compile of the sample vehicle with 25 models")):
        ours, base = runs.get(f"{tool}/real_time"), runs.get(f"{baseline}/real_time")
        if not ours or not base:
            continue
        out.append(ratio_row(f"{label}, process CPU time (vs reading its inputs and writing as much)",
                             ours["process_cpu_ms"], base["process_cpu_ms"], "ms", "≤ 3× (≤ 2×)"))
        out.append(ratio_row(f"{label}, wall time", ours["real_time"], base["real_time"], "ms", "—"))
        out.append(f"| {label}, peak memory | {ours['peak_rss_kib'] / 1024:.1f} MiB | "
                   f"{base['peak_rss_kib'] / 1024:.1f} MiB | — | < 64 MiB (< 32 MiB) |")
    heavy = runs.get("BM_CompileHeavyProcess/real_time")
    if heavy and heavy.get("output_bytes"):
        peak, size = heavy["peak_rss_kib"] * 1024, heavy["output_bytes"]
        out.append(f"| compile of a heavy vehicle (21 models of 16,562 triangles), peak memory (vs its data file) | "
                   f"{peak / 2**20:.1f} MiB | {size / 2**20:.1f} MiB | {peak / size:.2f}× | ≤ 1.5× |")
    out.append("")
    out.append("| scaling | cost per unit at each size | marginal cost, last step / first step | goal |")
    out.append("|---|---|---|---|")

    def scaling_row(label, name, sizes, unit, units_of=None):
        points = []
        for n in sizes:
            b = runs.get(f"{name}/{n}")
            if not b:
                return
            units = units_of(b) if units_of else n
            points.append((units, per_unit_ns(b, 1)))
        cells = ", ".join(f"{c / u:,.1f} ns/{unit} at {u:,}" for u, c in points)
        out.append(f"| {label} (time) | {cells} | {linearity(points):.2f} | 0.90–1.10 |")

    corners = lambda b: int(b["corners"])
    scaling_row("OBJ read, record reused", "BM_ReadObj", (1000, 10000, 49998), "corner", corners)
    scaling_row("OBJ read, fresh record", "BM_ReadObjNewModel", (1000, 10000, 49998), "corner", corners)
    scaling_row("OBJ conversion", "BM_ConvertObj", (1000, 10000, 49998), "corner", corners)
    scaling_row("mesh file conversion and write", "BM_WriteMeshFile", (1000, 10000, 49998), "corner", corners)
    scaling_row("compile", "BM_CompileScript", (100, 1000, 10000), "line")
    for kind, label, unit, sizes in (("obj", "OBJ read", "corner", (999, 9999, 49998)),
                                     ("convert", "OBJ conversion", "corner", (999, 9999, 49998)),
                                     ("compile", "compile", "line", (100, 1000, 10000))):
        points = [(n, counts[(kind, n)][1]) for n in sizes if (kind, n) in counts]
        if len(points) == 3:
            cells = ", ".join(f"{c / n:,.0f} instructions/{unit} at {n:,}" for n, c in points)
            out.append(f"| {label} (callgrind) | {cells} | {linearity(points):.2f} | 0.90–1.10 |")

    print("\n".join(out))
    caches = context.get("caches", [])
    print(f"\n{context.get('num_cpus', '?')} CPUs at {context.get('mhz_per_cpu', '?')} MHz, "
          f"load average {', '.join(f'{x:.2f}' for x in context.get('load_avg', []))}; "
          f"{len(caches)} cache levels; {context.get('date', '')}")
    for name, message in sorted(FAILED.items()):
        print(f"FAILED: {name}: {message}")
    return 1 if FAILED else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
