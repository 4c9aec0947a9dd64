#!/usr/bin/env python3
"""The folders of Sources/ are floors: each includes only its own and the ones below it.

Without arguments: fails on every include that runs upward and is not in the list of known ones
(Tests/Seam/UpwardIncludes.txt), printing file, line and the rule it breaks; also fails on a listed
exception that no longer occurs, so the list only shrinks.
--report: prints the folder-to-folder include table, the upward includes and the largest cycle
between units (a header and its source are one unit).
"""
import argparse
import os
import re
import sys

# Floor of each folder; folders on one floor may include each other.
FLOORS = {
    "Platform": 0,
    "Other": 1,
    "Model": 2,
    "Interface": 3,
    "View": 4,
    "Files": 5,
    "Exchange": 5,
    "Tools": 6,
    "Dialogs": 7,
    "Shell": 8,
}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([A-Za-z]+)/([^"]+)"')


def scan(root):
    """Yields (path relative to Sources, line number, included folder, included path)."""
    sources = os.path.join(root, "Sources")
    for folder in sorted(os.listdir(sources)):
        directory = os.path.join(sources, folder)
        if not os.path.isdir(directory):
            continue
        for name in sorted(os.listdir(directory)):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(directory, name)
            with open(path, encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if m:
                        yield f"{folder}/{name}", number, m.group(1), f"{m.group(1)}/{m.group(2)}"


def upward(rel, target_folder):
    folder = rel.split("/")[0]
    if folder not in FLOORS or target_folder not in FLOORS:
        return False
    return FLOORS[target_folder] > FLOORS[folder]


def rule(rel, target_folder):
    folder = rel.split("/")[0]
    below = sorted((f for f, n in FLOORS.items() if n < FLOORS[folder]), key=FLOORS.get)
    same = [f for f, n in FLOORS.items() if n == FLOORS[folder] and f != folder]
    allowed = " ".join(below + same + [folder])
    return f"{folder}/ may include only {allowed}, not {target_folder}/"


def load_exceptions(path):
    known = set()
    if not os.path.exists(path):
        return known
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                source, header = line.split()
                known.add((source, header))
    return known


def strongly_connected(graph):
    """Tarjan's algorithm, iterative; returns the components."""
    index, low, on_stack, stack, result = {}, {}, set(), [], []
    counter = 0
    for start in graph:
        if start in index:
            continue
        work = [(start, iter(sorted(graph[start])))]
        index[start] = low[start] = counter
        counter += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, children = work[-1]
            advanced = False
            for child in children:
                if child not in index:
                    index[child] = low[child] = counter
                    counter += 1
                    stack.append(child)
                    on_stack.add(child)
                    work.append((child, iter(sorted(graph.get(child, ())))))
                    advanced = True
                    break
                if child in on_stack:
                    low[node] = min(low[node], index[child])
            if advanced:
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == node:
                        break
                result.append(component)
    return result


def report(root, includes):
    folders = sorted(FLOORS, key=lambda f: (FLOORS[f], f))
    table = {}
    for rel, _, target, _ in includes:
        key = (rel.split("/")[0], target)
        table[key] = table.get(key, 0) + 1
    print("includes from (row) into (column)")
    print("%-9s" % "" + "".join("%9s" % f for f in folders))
    for a in folders:
        print("%-9s" % a + "".join("%9s" % (table.get((a, b), "") or "-") for b in folders))
    mutual = [(a, b) for i, a in enumerate(folders) for b in folders[i + 1:]
              if table.get((a, b)) and table.get((b, a))]
    print(f"\npairs of folders that include each other: {len(mutual)}")
    for a, b in mutual:
        print(f"  {a} <-> {b}")
    up = [(rel, n, header) for rel, n, target, header in includes if upward(rel, target)]
    files = {rel for rel, _, _ in up}
    print(f"\nupward includes: {len(up)} in {len(files)} files")
    for rel, n, header in up:
        print(f"  {rel}:{n}: {header}")
    graph = {}
    unit = lambda path: path.rsplit(".", 1)[0]
    for rel, _, _, header in includes:
        if os.path.exists(os.path.join(root, "Sources", header)):
            a, b = unit(rel), unit(header)
            if a != b:
                graph.setdefault(a, set()).add(b)
                graph.setdefault(b, set())
    components = sorted(strongly_connected(graph), key=len, reverse=True)
    largest = components[0] if components else []
    spread = sorted({m.split("/")[0] for m in largest})
    print(f"\nlargest cycle between units: {len(largest)} units in {len(spread)} folders "
          f"({', '.join(spread)})")
    others = [len(c) for c in components[1:] if len(c) > 1]
    if others:
        print(f"other cycles: {others}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", default=os.path.join(os.path.dirname(__file__), ".."))
    parser.add_argument("--report", action="store_true")
    parser.add_argument("--exceptions")
    args = parser.parse_args()
    root = os.path.abspath(args.root)
    includes = list(scan(root))
    if args.report:
        report(root, includes)
        return 0
    exceptions_path = args.exceptions or os.path.join(root, "Tests", "Seam", "UpwardIncludes.txt")
    known = load_exceptions(exceptions_path)
    seen = set()
    failures = []
    for rel, n, target, header in includes:
        if not upward(rel, target):
            continue
        if (rel, header) in known:
            seen.add((rel, header))
            continue
        failures.append(f"Sources/{rel}:{n}: includes {header}: {rule(rel, target)}")
    for source, header in sorted(known - seen):
        failures.append(f"{os.path.relpath(exceptions_path, root)}: {source} {header} no longer "
                        "occurs: remove it from the list")
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
