#!/usr/bin/env python3
"""Checks the layout of src/, sevenzip32/ and tools/; prints the test-to-product ratio.

Fails on:
- folders that include each other in a circle;
- an include that goes up the layer order (README's layout section), or, from the DLL or the
  package tool, into a folder of src/ other than the shared platform library and contracts
  (the platform library, at the bottom, includes nothing of the three artifacts);
- writable process-wide state (a header's non-const extern or inline variable) outside src/state/;
- units (a header and its source file) that include each other in a circle;
- files that include <windows.h> outside any #if but are not named ...Win32.
Reports, without failing: stems that differ only in letter case.
"""
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE_ROOTS = ["src", "sevenzip32", "tools"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SOURCE = (".cpp", ".h", ".c", ".in")

# From the bottom; a folder includes only folders of its own rank or below (same-rank circles
# are caught as circles).
LAYERS = [
    ["src/platform"],
    ["src/support"],
    ["src/contracts"],
    ["src/trust"],
    ["src/state"],
    ["src/pages"],
    ["src/retrieval/proxy", "src/retrieval/http", "src/retrieval/indicator"],
    ["src/retrieval/package"],
    ["src/retrieval/download"],
    ["src/retrieval/handlers", "src/extract"],
    ["src/wizard"],
    ["src/forms"],
    ["src/app"],
]
# The other two artifacts share only the platform library and the contracts with the installer.
ARTIFACT_REACH = {"sevenzip32": {"src/platform", "src/contracts"}, "tools": {"src/platform", "src/contracts"}}



def tracked(prefixes):
    out = subprocess.run(["git", "-C", ROOT, "ls-files", "--", *prefixes], capture_output=True, text=True,
                         check=True).stdout
    return [line for line in out.splitlines() if line]


def resolve(including, name):
    """The path (relative to ROOT) of the file an include names, or None for outside files."""
    for base in (os.path.dirname(including), "src", ""):
        candidate = os.path.normpath(os.path.join(base, name))
        if os.path.isfile(os.path.join(ROOT, candidate)):
            return candidate
    return None


def read(path):
    with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
        return f.read().splitlines()


def file_includes(files):
    """(including file, line number, include text, included file) for every resolvable include."""
    found = []
    for path in files:
        if not path.endswith(SOURCE):
            continue
        for number, line in enumerate(read(path), 1):
            m = INCLUDE.match(line)
            target = m and resolve(path, m.group(1))
            if target:
                found.append((path, number, m.group(1), target))
    return found


def include_edges(includes, node):
    """Edges between the nodes that node() maps files to, each with the include lines behind it."""
    edges = {}
    for path, number, text, target in includes:
        a, b = node(path), node(target)
        if a != b:
            edges.setdefault((a, b), []).append(f"{path}:{number}: {text}")
    return edges


def cycles(edges):
    """Strongly connected groups of more than one node (Tarjan)."""
    graph = {}
    for a, b in edges:
        graph.setdefault(a, set()).add(b)
        graph.setdefault(b, set())
    index, low, stack, on_stack, groups, counter = {}, {}, [], set(), [], [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in sorted(graph[v]):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            group = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                group.append(w)
                if w == v:
                    break
            if len(group) > 1:
                groups.append(sorted(group))

    for v in sorted(graph):
        if v not in index:
            visit(v)
    return groups


def rank(folder):
    for number, folders in enumerate(LAYERS):
        if folder in folders:
            return number
    return None


def crossings(folder_edges):
    """Folder edges that go up the layers or leave an artifact's reach."""
    bad = {}
    for (a, b), lines in folder_edges.items():
        top = a.split("/")[0]
        if top in ARTIFACT_REACH:
            wrong = b.split("/")[0] != top and b not in ARTIFACT_REACH[top]
        else:
            ra, rb = rank(a), rank(b)
            wrong = ra is None or rb is None or rb > ra
        if wrong:
            bad[(a, b)] = lines
    return bad


GLOBAL_VARIABLE = re.compile(r"^(?:extern|inline)\s+(?!.*\bconst(?:expr)?\b)[^(]*?\b(\w+)\s*(?:\[[^]]*\])?\s*(?:[=;{]|$)")


def state_holders(files):
    """Headers outside src/state/ that declare a writable process-wide variable."""
    holders = {}
    for path in files:
        if path.endswith(".h") and not path.startswith("src/state/"):
            for line in read(path):
                m = GLOBAL_VARIABLE.match(line.strip())
                if m and not line.strip().startswith('extern "C"'):
                    holders.setdefault(path, []).append(m.group(1))
    return holders


def unit(path):
    return os.path.splitext(path)[0]


def unguarded_windows(files):
    """Files that include <windows.h> outside any #if and are not named ...Win32."""
    found = []
    for path in files:
        if not path.endswith(SOURCE) or unit(path).endswith("Win32"):
            continue
        depth = 0
        for line in read(path):
            directive = line.strip()
            if re.match(r"#\s*if", directive):
                depth += 1
            elif re.match(r"#\s*endif", directive):
                depth -= 1
            elif depth == 0 and re.match(r"#\s*include\s*<windows\.h>", directive):
                found.append(path)
                break
    return found


def case_twins(files):
    stems = {}
    for path in files:
        stems.setdefault(unit(path).lower(), set()).add(unit(path))
    return [sorted(s) for s in stems.values() if len(s) > 1]


CODE = (".cpp", ".h", ".hpp", ".c", ".cc", ".py", ".sh")
BLANK_OR_COMMENT = re.compile(rb"^\s*(//.*)?$")


def code_lines(files):
    """Lines of code files that are neither blank nor only a // comment."""
    total = 0
    for path in files:
        if path.endswith(CODE):
            with open(os.path.join(ROOT, path), "rb") as f:
                total += sum(1 for line in f.read().splitlines() if not BLANK_OR_COMMENT.match(line))
    return total


def show(title, edges, groups=None):
    print(title)
    for (a, b), lines in sorted(edges.items()):
        if groups is None or a in groups and b in groups:
            for line in lines:
                print("  " + line)


def main():
    product = tracked(SOURCE_ROOTS)
    includes = file_includes(product)
    folder_edges = include_edges(includes, os.path.dirname)
    unit_edges = include_edges(includes, unit)
    failures = 0

    folder_groups = cycles(folder_edges)
    for group in folder_groups:
        show("include cycle between folders: " + " ".join(group), folder_edges, group)
    failures += len(folder_groups)

    bad = crossings(folder_edges)
    for edge in sorted(bad):
        show(f"include against the layers: {edge[0]} -> {edge[1]}", {edge: bad[edge]})
        failures += 1

    holders = state_holders(product)
    for path in sorted(holders):
        print(f"writable process-wide state outside src/state/: {path}: {', '.join(holders[path])}")
        failures += 1

    unit_groups = cycles(unit_edges)
    for group in unit_groups:
        show("units that include each other: " + " ".join(group), unit_edges, set(group))
        failures += 1

    for path in unguarded_windows(product):
        print(f"includes <windows.h> without Win32 in its name: {path}")
        failures += 1
    for twins in case_twins(product):
        print("stems that differ only in letter case: " + " ".join(twins))

    pairs = {tuple(sorted(e)) for e in folder_edges if (e[1], e[0]) in folder_edges}
    print(f"source folders: {len({d for e in folder_edges for d in e})}, include cycles: {len(folder_groups)}, "
          f"folder pairs including each other: {len(pairs)}; unit circles: {len(unit_groups)}; "
          f"crossings: {len(bad)}; "
          f"state headers outside state/: {len(holders)}")
    tests = code_lines(tracked(["tests"]))
    code = code_lines(product)
    print(f"lines of tests / product: {tests} / {code} = {tests / code:.2f}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
