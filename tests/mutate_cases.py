#!/usr/bin/env python3
"""Checks the mutation sampler's picker against tests/data/mutate/picker_cases.txt."""
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "tools"))
import mutant_picker  # noqa: E402

failures = 0
with open(os.path.join(here, "data", "mutate", "picker_cases.txt"), encoding="utf-8") as f:
    blocks = f.read().split("\n\n")
for block in blocks:
    lines = [l for l in block.split("\n") if l and not l.startswith("#")]
    if not lines:
        continue
    code = [l[2:] for l in lines if l[:2] in ("< ", "> ")]
    expected = sorted((kind, new[1:]) for kind, new in
                      (l.split(":", 1) for l in lines if l[:2] not in ("< ", "> ")))
    found = sorted((kind, new) for index, kind, new in mutant_picker.text_mutants("\n".join(code))
                   if index == len(code) - 1)
    if found != expected:
        failures += 1
        print("case %r:\n  expected %r\n  found    %r" % (code[-1], expected, found))
print("%d of %d cases failed" % (failures, len(blocks)) if failures else "all cases pass")
sys.exit(1 if failures else 0)
