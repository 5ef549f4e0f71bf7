#!/usr/bin/env python3
"""check_layers.py - checks that no include of the program's code runs up the layer order.

Usage: tools/check_layers.py [ROOT]
  Reads every source and header under the layered folders of ROOT (default: the repository this
  script is in) and prints each #include "folder/..." whose folder stands on the same floor or
  higher than the including file's own folder. Exits 1 when there is one, 0 otherwise.

The floors, from the bottom (docs/layout.md explains them): a folder includes only its own files
and the folders on lower floors. cli/ stands beside ui/ and includes nothing of it. tests/,
bench/ and tools/ stand on top of everything and are not checked.
"""
import os
import re
import sys

# A rank for each folder: a folder includes only folders of a lower rank. The ranks of ui/ split
# its floor into its three steps.
FLOORS = {
    "core": 1, "resources": 1, "program": 1,
    "files": 2, "win": 2,
    "batch": 3, "settings": 3, "notice": 3,
    "ui/base": 4, "ui/controls": 5, "ui/forms": 6,
    "cli": 4,
    "app": 7,
}
# cli/ and ui/ are side by side: neither includes the other, whatever their numbers say.
APART = {("cli", "ui/base"), ("cli", "ui/controls"), ("cli", "ui/forms"),
         ("ui/base", "cli"), ("ui/controls", "cli"), ("ui/forms", "cli")}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SOURCES = (".h", ".cpp", ".rc", ".rci", ".in")


def folder_of(path):
    """The layered folder a repository path belongs to, or None."""
    parts = path.split("/")
    if len(parts) >= 3 and "/".join(parts[:2]) in FLOORS:
        return "/".join(parts[:2])
    return parts[0] if len(parts) >= 2 and parts[0] in FLOORS else None


def violations(root):
    for top in sorted({name.split("/")[0] for name in FLOORS}):
        for directory, _, files in os.walk(os.path.join(root, top)):
            for name in sorted(files):
                if not name.endswith(SOURCES):
                    continue
                path = os.path.relpath(os.path.join(directory, name), root).replace(os.sep, "/")
                own = folder_of(path)
                if own is None:
                    continue
                with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        match = INCLUDE.match(line)
                        if not match or "/" not in match.group(1):
                            continue  # a file of the same folder, or a system header
                        target = folder_of(match.group(1))
                        if target is None or target == own:
                            continue
                        if FLOORS[target] >= FLOORS[own] or (own, target) in APART:
                            yield "%s:%d: %s/ includes %s, which is not below it" % (
                                path, number, own, match.group(1))


def main(argv):
    if any(arg in ("-h", "--help") for arg in argv):
        sys.stdout.write(__doc__)
        return 0
    if len(argv) > 1:
        sys.stderr.write(__doc__)
        return 2
    root = argv[0] if argv else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    found = list(violations(root))
    for line in found:
        print(line)
    print("layers: %d include%s up the order" % (len(found), "" if len(found) == 1 else "s"))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
