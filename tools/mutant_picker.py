"""Picks the mutants of tools/mutate.py: which lines of the portable code
change, and how; finds a mutant's lines again in a tree whose files moved."""
import hashlib
import json
import os
import random
import re

PORTABLE_DIRS = ("platform", "modelio", "compiler", "project", "datamake", "cli", "dialogs", "preview")
CPP_SUFFIXES = (".c", ".cc", ".cpp", ".h", ".hpp")
SKIPPED_DIRS = {".git", "build", "__pycache__"}
KINDS = ("comparison", "arithmetic", "constant", "drop", "swap")
SNIPPET_MAX_LINES = 7
KEYWORDS = {"if", "for", "while", "switch", "return", "sizeof", "alignof", "decltype", "catch", "delete",
            "throw", "assert", "static_assert", "new", "goto", "break", "continue", "case", "using",
            "typedef", "else", "do", "default", "noexcept", "alignas", "operator"}


def code_lines(lines):
    """Each line's code with comments blanked and the insides of string and
    character literals masked (same length, so columns stay); None for lines
    never mutated (preprocessor, raw strings, templates)."""
    out = []
    in_block = False
    continued = False
    for line in lines:
        if continued or line.lstrip().startswith("#") or 'R"' in line:
            continued = line.endswith("\\")
            out.append(None)
            continue
        code = []
        i = 0
        while i < len(line):
            c = line[i]
            if in_block:
                if line.startswith("*/", i):
                    in_block = False
                    code.append("  ")
                    i += 2
                else:
                    code.append(" ")
                    i += 1
            elif line.startswith("//", i):
                code.append(" " * (len(line) - i))
                break
            elif line.startswith("/*", i):
                in_block = True
                code.append("  ")
                i += 2
            elif c in "\"'":
                j = i + 1
                while j < len(line) and line[j] != c:
                    j += 2 if line[j] == "\\" else 1
                code.append(c + "\x01" * (min(j, len(line)) - i - 1) + (c if j < len(line) else ""))
                i = j + 1
            else:
                code.append(c)
                i += 1
        text = "".join(code)
        out.append(None if re.search(r"\btemplate\b", text) else text)
    return out


COMPARISON = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
ARITHMETIC = {"+": "-", "-": "+", "*": "/", "/": "*", "+=": "-=", "-=": "+=", "*=": "/=", "/=": "*="}
SIMPLE_ARG = re.compile(r"^[A-Za-z_0-9][\w.:]*(->\w+)*$")
ASSIGNMENT = re.compile(r"^\*?[A-Za-z_][\w.\[\]:>-]*\s*(=|[-+*/%|&^]=|<<=|>>=)\s")
STEP = re.compile(r"^(\+\+|--)[\w.\[\]:>-]+;$|^[\w.\[\]:>-]+(\+\+|--);$")
TEXT = re.compile(r'"|string')
CALL = re.compile(r"^([A-Za-z_][\w:.>-]*)\(.*\);$")


def balanced(text):
    depth = 0
    for c in text:
        depth += c == "("
        depth -= c == ")"
        if depth < 0:
            return False
    return depth == 0


def call_arguments(code, open_at):
    """Spans (start, end) of the top-level arguments of the call whose '(' is
    at open_at, or None when it does not close on this line."""
    spans, depth, start = [], 0, open_at + 1
    for i in range(open_at, len(code)):
        c = code[i]
        if c in "([{":
            depth += 1
        elif c in ")]}":
            depth -= 1
            if depth == 0:
                spans.append((start, i))
                return spans
        elif c == "," and depth == 1:
            spans.append((start, i))
            start = i + 1
    return None


def line_mutants(line, code, previous_code):
    """The mutants of one line: (kind, new line). previous_code is the code of
    the nearest earlier line holding code, for telling a statement's start."""
    found = []
    for m in re.finditer(r"(?<= )(<=|>=|==|!=|<|>|[-+*/]=?)(?= )", code):
        op = m.group(1)
        kind, table = ("comparison", COMPARISON) if op in COMPARISON else ("arithmetic", ARITHMETIC)
        if kind == "arithmetic" and TEXT.search(code):
            continue  # most likely joins strings: a minus would not compile
        found.append((kind, line[:m.start()] + table[op] + line[m.end():]))
    for m in re.finditer(r"(?<![\w.])(\d+)([uUlL]*)(?![\w.])", code):
        value = int(m.group(1))
        for changed in (value + 1, value - 1):
            if changed >= 0:
                found.append(("constant", line[:m.start(1)] + str(changed) + line[m.end(1):]))
    statement = code.strip()
    if (previous_code is not None and previous_code.rstrip()[-1:] in (";", "{", "}", ":")
            and statement.endswith(";") and balanced(statement) and not re.search(r"[{}]", statement)):
        call = CALL.match(statement)
        if (ASSIGNMENT.match(statement) or STEP.match(statement)
                or (call and call.group(1).split("<")[0] not in KEYWORDS)):
            found.append(("drop", ""))
    for m in re.finditer(r"(\w+)(<[\w:, ]*>)?\(", code):
        if m.group(1) in KEYWORDS:
            continue
        spans = call_arguments(code, m.end() - 1)
        for a, b in zip(spans or [], (spans or [])[1:]):
            first, second = code[a[0]:a[1]].strip(), code[b[0]:b[1]].strip()
            if (first != second and SIMPLE_ARG.match(first) and SIMPLE_ARG.match(second)
                    and first[0].isdigit() == second[0].isdigit()):
                lead_a = a[0] + len(code[a[0]:a[1]]) - len(code[a[0]:a[1]].lstrip())
                lead_b = b[0] + len(code[b[0]:b[1]]) - len(code[b[0]:b[1]].lstrip())
                new = (line[:lead_a] + second + line[lead_a + len(first):lead_b] + first
                       + line[lead_b + len(second):])
                found.append(("swap", new))
    return found


def text_mutants(text):
    """Every mutant of a file's text: (line index, kind, new line)."""
    lines = text.split("\n")
    result = []
    previous = None
    for index, code in enumerate(code_lines(lines)):
        if code is None:
            previous = None
            continue
        if code.strip():
            for kind, new in line_mutants(lines[index], code, previous):
                result.append((index, kind, new))
            previous = code
    return result


def read_text(path):
    with open(path, "rb") as f:
        return f.read().decode("utf-8", "surrogateescape")


def write_text(path, text):
    with open(path, "wb") as f:
        f.write(text.encode("utf-8", "surrogateescape"))


def tree_files(root):
    """Relative paths of the tree's C++ files, sorted."""
    found = []
    for folder, dirs, files in os.walk(root):
        dirs[:] = sorted(d for d in dirs if d not in SKIPPED_DIRS)
        for name in files:
            if name.endswith(CPP_SUFFIXES):
                found.append(os.path.relpath(os.path.join(folder, name), root))
    return sorted(found)


def mutable(relative):
    parts = relative.split(os.sep)
    name = parts[-1]
    return (len(parts) == 2 and parts[0] in PORTABLE_DIRS and name.endswith((".cpp", ".h"))
            and not name.endswith(("_win.cpp", "_win.h")))


class Tree:
    """The C++ files of a tree, as lines compared without surrounding blanks."""

    def __init__(self, root):
        self.root = root
        self.lines = {}
        self.where = {}
        for relative in tree_files(root):
            stripped = [l.strip() for l in read_text(os.path.join(root, relative)).split("\n")]
            self.lines[relative] = stripped
            for index, l in enumerate(stripped):
                self.where.setdefault(l, []).append((relative, index))

    def find(self, snippet):
        """Every (file, first line index) where the snippet's lines stand."""
        hits = []
        for relative, index in self.where.get(snippet[0], []):
            if self.lines[relative][index:index + len(snippet)] == snippet:
                hits.append((relative, index))
        return hits


def make_snippet(tree, relative, index):
    """The shortest run of lines around index found only once in the tree:
    (lines, offset of index in them), or None."""
    lines = tree.lines[relative]
    first, last = index, index
    while last - first < SNIPPET_MAX_LINES:
        snippet = lines[first:last + 1]
        if len(tree.find(snippet)) == 1:
            return snippet, index - first
        if last + 1 < len(lines) and (last - index <= index - first or first == 0):
            last += 1
        elif first > 0:
            first -= 1
        else:
            break
    return None


def pick(root, seed, count):
    """A seeded sample of mutants, kinds taken in turn, one per line."""
    tree = Tree(root)
    by_kind = {kind: [] for kind in KINDS}
    for relative in tree.lines:
        if mutable(relative):
            text = read_text(os.path.join(root, relative))
            for index, kind, new in text_mutants(text):
                by_kind[kind].append((relative, index, new))
    rng = random.Random(seed)
    for kind in KINDS:
        rng.shuffle(by_kind[kind])
    plan, used = [], set()
    while len(plan) < count and any(by_kind.values()):
        for kind in KINDS:
            while by_kind[kind] and len(plan) < count:
                relative, index, new = by_kind[kind].pop()
                if (relative, index) in used:
                    continue
                snippet = make_snippet(tree, relative, index)
                if snippet is None:
                    continue
                used.add((relative, index))
                lines, offset = snippet
                plan.append({"file": relative, "line": index + 1, "kind": kind, "snippet": lines,
                             "offset": offset, "replacement": new.strip()})
                break
    for mutant in plan:
        mutant["id"] = mutant_id(mutant)
    return plan


def mutant_id(mutant):
    key = json.dumps([mutant["snippet"], mutant["offset"], mutant["replacement"]])
    return hashlib.sha1(key.encode("utf-8", "surrogateescape")).hexdigest()[:12]
