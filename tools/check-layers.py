#!/usr/bin/env python3
"""Fails when an #include crosses a layer the wrong way; prints each one.

From the bottom: text, core, platform, engine, then ui and cli side by side
(neither includes the other; the command links no toolkit). tests, bench and
fuzz may include anything. Qt only in ui/qt; Windows headers only in
platform/windows and ui/win32; system headers (a ".h" in angle brackets) in
the layers below the front ends only in platform/posix and platform/windows.
"""

import os
import re
import sys

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RANK = {"text": 0, "core": 1, "platform": 2, "engine": 3, "ui": 4, "cli": 4}
WINDOWS = {"windows.h", "commctrl.h", "commdlg.h", "shellapi.h", "shlobj.h", "winioctl.h"}
INCLUDE = re.compile(r'\s*#\s*include\s*([<"])([^>"]+)[>"]')


def fault(path, header, angle):
    layer = path.split("/")[0]
    if layer not in RANK:
        return None
    if not angle:
        target = header.split("/")[0]
        if target in RANK and (RANK[target] > RANK[layer] or {layer, target} == {"ui", "cli"}):
            return f"{layer}/ may not include {target}/"
        return None
    if header[0] == "Q" and not path.startswith("ui/qt/"):
        return "Qt only in ui/qt/"
    if header in WINDOWS and not path.startswith(("platform/windows/", "ui/win32/")):
        return "Windows headers only in platform/windows/ and ui/win32/"
    if header.endswith(".h") and RANK[layer] < 4 and not path.startswith(
            ("platform/posix/", "platform/windows/")):
        return f"{layer}/ uses the standard library only"
    return None


def main():
    files = [os.path.relpath(os.path.join(folder, name), TOP) for layer in RANK
             for folder, _, names in os.walk(os.path.join(TOP, layer)) for name in names
             if name.endswith((".cpp", ".h"))]
    faults = 0
    for path in sorted(files):
        with open(os.path.join(TOP, path), encoding="utf-8") as source:
            for number, line in enumerate(source, 1):
                match = INCLUDE.match(line)
                why = match and fault(path, match.group(2), match.group(1) == "<")
                if why:
                    print(f"{path}:{number}: {line.strip()}: {why}")
                    faults += 1
    with open(os.path.join(TOP, "cli", "CMakeLists.txt"), encoding="utf-8") as cmake:
        for number, line in enumerate(cmake, 1):
            if re.search(r"Qt\d?::|tessaly_ui|comctl32|gdi32", line):
                print(f"cli/CMakeLists.txt:{number}: {line.strip()}: the command links no toolkit")
                faults += 1
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
