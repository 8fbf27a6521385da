#!/usr/bin/env python3
"""Checks that the program's layers point one way.

Each folder of the program may include only its own headers and those of the layers below
it: app (the dialog and the runner) -> engine -> report and device -> settings and diag ->
platform. The analysis library stands alone. Exits 1, listing every include that points
the wrong way, so ./test fails on one.

    tools/check_layers.py [--root SRC]      # SRC defaults to the project's src/
"""
import argparse
import pathlib
import re
import sys

BELOW = {
    "app": {"app", "engine", "report", "device", "settings", "diag", "platform", "analysis"},
    "engine": {"engine", "device", "settings", "diag", "platform"},
    "report": {"report", "device", "settings", "diag", "platform"},
    "device": {"device", "settings", "diag", "platform"},
    "settings": {"settings"},
    "diag": {"diag", "platform"},
    "analysis": {"analysis"},
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/')


def violations(root: pathlib.Path):
    for layer, allowed in sorted(BELOW.items()):
        folder = root / layer
        if not folder.is_dir():
            continue
        for path in sorted(folder.rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
                match = INCLUDE.match(line)
                if match and match.group(1) not in allowed:
                    yield f"{path.relative_to(root)}:{number}: {layer} includes {match.group(1)}/ ({line.strip()})"


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", type=pathlib.Path, default=pathlib.Path(__file__).resolve().parent.parent / "src")
    args = parser.parse_args()
    found = list(violations(args.root))
    for line in found:
        print(line)
    if found:
        print(f"{len(found)} include(s) point up or across the layers")
        return 1
    print("layers point one way")
    return 0


if __name__ == "__main__":
    sys.exit(main())
