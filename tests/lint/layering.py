#!/usr/bin/env python3
"""Fails, naming the file and the line, when a library of src/ includes a
header it may not use. The rules are those of docs/ARCHITECTURE.md:

- The folders form layers in this order; a folder uses only those before it.
- keybindings uses platform alone.
- The implementations behind the platform's interfaces (the vdir and
  in-memory event stores, the vCard contacts, GeoClue, the X11 hot keys) are
  wired together by app and devmodes alone: every other folder reaches them
  through an interface (mcp reaches the reminders through store).
- The program's entry (src/app/main.cpp) may use every folder.
- src/panel is widget-free: outside src/panel/widgets it includes nothing
  of panel/widgets (and no Qt Widgets header: panel_without_widgets checks
  that).

Usage: layering.py <source root>
"""

import pathlib
import re
import sys

LAYERS = ["platform", "parsing", "store", "mcp", "rows", "panel",
          "keybindings", "preferences", "app", "devmodes"]

# What a folder may include besides itself, where it is not every layer before it.
ONLY = {"keybindings": {"platform"}}

IMPLEMENTATIONS = {
    "platform/eventstore/VdirEventStore.h",
    "platform/eventstore/MemoryEventStore.h",
    "platform/VCardContacts.h",
    "platform/LocationGeoClue.h",
    "platform/X11HotKeyBackend.h",
    "platform/PhotonMapSearch.h",
    "platform/NominatimGeocoder.h",
    "platform/TileMapSnapshotter.h",
    "platform/PortalHotKeyBackend.h",
}
WIRING = {"platform", "app", "devmodes"}

# The program's entry is no library: it puts every layer together.
PROGRAMS = {"app/main.cpp"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def allowed(layer):
    return ONLY.get(layer, set(LAYERS[:LAYERS.index(layer)])) | {layer}


def problems(source):
    for folder in sorted(p for p in source.iterdir() if p.is_dir()):
        if folder.name not in LAYERS:
            yield f"{folder}: a folder of src/ that is in no layer; add it to docs/ARCHITECTURE.md and {__file__}"
            continue
        layer = folder.name
        for path in sorted(folder.rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            relative = path.relative_to(source).as_posix()
            if relative in PROGRAMS:
                continue
            widget_free = layer == "panel" and not relative.startswith("panel/widgets/")
            lines = path.read_text(encoding="utf-8").splitlines()
            for number, line in enumerate(lines, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                quote, header = match.groups()
                if quote == "<":
                    continue
                where = f"{path}:{number}: includes {header}"
                used = header.split("/", 1)[0]
                if used not in LAYERS:
                    continue
                if used not in allowed(layer):
                    order = "platform only" if layer in ONLY else "only the layers before it"
                    yield f"{where}: {layer} may use {order} (docs/ARCHITECTURE.md)"
                elif header in IMPLEMENTATIONS and layer not in WIRING:
                    yield f"{where}: only app and devmodes wire in an implementation; {layer} uses its interface"
                elif widget_free and header.startswith("panel/widgets/"):
                    yield f"{where}: src/panel is widget-free (widgets go in src/panel/widgets)"


def main():
    source = pathlib.Path(sys.argv[1])
    found = list(problems(source))
    for problem in found:
        print(problem, file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
