#!/usr/bin/env python3
"""Fails when source folders include each other in a circle; prints the test-to-product ratio.

Every folder of src/, sevenzip32/ and tools/ that holds sources is a node; an #include of a
file in another folder is an edge. Any strongly connected group of more than one folder is a
cycle, reported with the include lines that make it.
"""
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE_ROOTS = ["src", "sevenzip32", "tools"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SOURCE = (".cpp", ".h", ".c", ".in")


def tracked(prefixes):
    out = subprocess.run(["git", "-C", ROOT, "ls-files", "--", *prefixes], capture_output=True, text=True,
                         check=True).stdout
    return [line for line in out.splitlines() if line]


def resolve(including, name):
    """The folder (relative to ROOT) of the file an include names, or None for outside files."""
    for base in (os.path.dirname(including), "src"):
        candidate = os.path.normpath(os.path.join(base, name))
        if os.path.isfile(os.path.join(ROOT, candidate)):
            return os.path.dirname(candidate)
    return None


def include_edges(files):
    edges = {}
    for path in files:
        if not path.endswith(SOURCE):
            continue
        with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                target = resolve(path, m.group(1))
                source = os.path.dirname(path)
                if target and target != source:
                    edges.setdefault((source, target), []).append(f"{path}:{number}: {m.group(1)}")
    return edges


def cycles(edges):
    """Strongly connected groups of more than one folder (Tarjan)."""
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


def main():
    product = tracked(SOURCE_ROOTS)
    edges = include_edges(product)
    groups = cycles(edges)
    for group in groups:
        print("include cycle between: " + " ".join(group))
        for (a, b), lines in sorted(edges.items()):
            if a in group and b in group:
                for line in lines:
                    print("  " + line)
    tests = code_lines(tracked(["tests"]))
    code = code_lines(product)
    pairs = {tuple(sorted(e)) for e in edges if (e[1], e[0]) in edges}
    print(f"source folders: {len({d for e in edges for d in e})}, include cycles: {len(groups)}, "
          f"folder pairs including each other: {len(pairs)}")
    print(f"lines of tests / product: {tests} / {code} = {tests / code:.2f}")
    return 1 if groups else 0


if __name__ == "__main__":
    sys.exit(main())
