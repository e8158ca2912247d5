#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# atspi_tree.py PID: the accessible tree of the program with that process id,
# as a screen reader sees it through AT-SPI, one JSON object a line: the
# top-level window it is in, its depth, role, name, text, and whether it is
# focusable and showing.
import json
import sys

import pyatspi


def text_of(node):
    try:
        text = node.queryText()
    except NotImplementedError:
        return ""
    return text.getText(0, min(text.characterCount, 200))


def walk(node, window, depth, out):
    states = node.getState()
    out.append({
        "window": window,
        "depth": depth,
        "role": node.getRoleName(),
        "name": node.name or "",
        "text": text_of(node),
        "focusable": states.contains(pyatspi.STATE_FOCUSABLE),
        "showing": states.contains(pyatspi.STATE_SHOWING),
    })
    for child in node:
        if child is not None:
            walk(child, window, depth + 1, out)


def main():
    pid = int(sys.argv[1])
    out = []
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.get_process_id() != pid:
            continue
        for window in app:
            if window is not None:
                walk(window, window.name or "", 0, out)
    for node in out:
        print(json.dumps(node, ensure_ascii=False))
    return 0 if out else 1


if __name__ == "__main__":
    sys.exit(main())
