#!/usr/bin/env python3
"""House rules a reader relies on, checked from the tree:

  includes   a folder includes only its own headers and those of folders
             below it (the ranks below); an include that runs upward fails
  lengths    no source file (.c .cc .cpp .h .hpp .py .sh) over 600 lines
  tests      test code (tests/ and fuzz/, with their .py and .sh) at most 40 %
             of the code elsewhere, counting non-blank, non-comment lines

  tools/check_house.py [ROOT] [-v]
      exit 1 on any broken rule
"""
import os
import re
import sys

# Lower ranks are the base; a folder may include its own rank's folder and
# any lower one, never a sibling of the same rank or a higher one.
RANKS = {
    "platform": 0, "modelio": 1, "compiler": 2, "project": 3, "datamake": 4,
    "res": 5, "render": 5, "probes": 5,
    "dialogs": 6, "preview": 6, "cli": 6,
    "app": 7, "bench": 8,
}
SKIPPED = {"build", "build2", ".git", "dist", "node_modules"}
CODE = (".c", ".cc", ".cpp", ".h", ".hpp")
SCRIPT = (".py", ".sh")
MAX_LINES = 600
MAX_TEST_SHARE = 0.40
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/')


def walk(root):
    for folder, dirs, files in os.walk(root):
        dirs[:] = sorted(d for d in dirs if d not in SKIPPED)
        for name in sorted(files):
            path = os.path.join(folder, name)
            yield os.path.relpath(path, root).replace(os.sep, "/"), path


def generated(relative):
    return "generated" in relative or relative.endswith(".inc")


def counted_lines(path):
    """Non-blank lines that are not wholly a comment."""
    script = path.endswith(SCRIPT)
    count, in_block = 0, False
    with open(path, encoding="utf-8", errors="replace") as f:
        for raw in f:
            line = raw.strip()
            if not line:
                continue
            if script:
                count += not line.startswith("#")
                continue
            if in_block:
                in_block = "*/" not in line
                continue
            if line.startswith("//"):
                continue
            if line.startswith("/*"):
                in_block = "*/" not in line
                continue
            count += 1
    return count


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("-")]
    verbose = "-v" in sys.argv
    root = args[0] if args else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    faults = []
    test_lines = code_lines = 0
    for relative, path in walk(root):
        top = relative.split("/")[0]
        ext = os.path.splitext(relative)[1]
        if ext not in CODE + SCRIPT or generated(relative):
            continue
        with open(path, encoding="utf-8", errors="replace") as f:
            lines = f.read().splitlines()
        if len(lines) > MAX_LINES:
            faults.append(f"{relative}: {len(lines)} lines (at most {MAX_LINES})")
        if top in ("tests", "fuzz"):
            test_lines += counted_lines(path)
            continue
        if ext in CODE and "/" in relative:
            code_lines += counted_lines(path)
        if top not in RANKS or ext not in CODE:
            continue
        for number, line in enumerate(lines, 1):
            match = INCLUDE.match(line)
            if not match or match.group(1) not in RANKS or match.group(1) == top:
                continue
            if RANKS[match.group(1)] >= RANKS[top]:
                faults.append(f"{relative}:{number}: includes {match.group(1)}/, which is not below {top}/")
    share = test_lines / code_lines if code_lines else 0.0
    if share > MAX_TEST_SHARE:
        faults.append(f"test code is {share:.1%} of the code ({test_lines} against {code_lines} lines; "
                      f"at most {MAX_TEST_SHARE:.0%})")
    for fault in faults:
        print(fault)
    if verbose or not faults:
        print(f"tests {test_lines} lines, code {code_lines} lines: {share:.1%}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
