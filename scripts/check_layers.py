#!/usr/bin/env python3
"""Fails when an #include points up the package's layers.

Every header is included by its bare name, so the folder it lives in is
looked up here. A file may include headers of its own folder or of a lower
layer; folders on one layer may not include each other at all, so that no
two folders ever depend on each other.
"""
import os
import re
import sys

LAYERS = [
    ["core", "ze3src"],
    ["ics", "project", "configure"],
    ["norm"],
    ["step", "score", "page"],
    ["report"],
    ["compare", "map"],
    ["place"],
    ["bench", "fuzz", "tools", "tests"],
]
RANK = {folder: rank for rank, folders in enumerate(LAYERS) for folder in folders}
SOURCE = re.compile(r"\.(h|cpp)$")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def top_folder(root, path):
    return os.path.relpath(path, root).split(os.sep)[0]


def sources(root):
    for folder in RANK:
        for dirpath, _, names in os.walk(os.path.join(root, folder)):
            for name in names:
                if SOURCE.search(name):
                    yield os.path.join(dirpath, name)


def main(root):
    home = {}
    for path in sources(root):
        home.setdefault(os.path.basename(path), set()).add(top_folder(root, path))
    faults = []
    for path in sorted(sources(root)):
        own = top_folder(root, path)
        with open(path, encoding="utf-8", errors="replace") as f:
            included = INCLUDE.findall(f.read())
        for header in included:
            folders = home.get(os.path.basename(header), set())
            if own in folders or not folders:
                continue  # its own folder, or a system or generated header
            # The lowest folder that holds the header is the one meant.
            target = min(folders, key=lambda folder: RANK[folder])
            if RANK[target] >= RANK[own] and RANK[own] < RANK["bench"]:
                faults.append(f"{os.path.relpath(path, root)}: includes {header} "
                              f"from {target}/, which is not below {own}/")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} upward includes" if faults else "every include points down")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else
                  os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")))
