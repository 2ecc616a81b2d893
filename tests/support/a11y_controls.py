#!/usr/bin/python3
"""The shown controls of the running Tesmira window through the accessibility interface
(AT-SPI), one a line: role, name and a text field's content, separated by tabs. Waits up to
20 s for the window and for the control asked for.
  a11y_controls.py list-when ROLE NAME   -> the list, once a control ROLE named NAME is shown
  a11y_controls.py press NAME            -> presses the push button NAME
Needs the AT-SPI bus and the program started with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1."""
import sys
import time

import pyatspi


def shown_controls(node, found):
    try:
        extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if extents.width > 0 and extents.height > 0:
            role = node.getRoleName()
            text = node.queryText().getText(0, -1) if role == "text" else ""
            found.append((role, node.name, text, node))
    except NotImplementedError:
        pass  # the application itself has no extents
    for child in node:
        if child is not None:
            shown_controls(child, found)
    return found


def main():
    if len(sys.argv) < 3 or sys.argv[1] not in ("list-when", "press"):
        sys.exit(__doc__)
    wanted = ("push button", sys.argv[2]) if sys.argv[1] == "press" else tuple(sys.argv[2:4])
    for _ in range(80):
        controls = []
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and "tesmira" in (app.name or "").lower():
                shown_controls(app, controls)
        hits = [node for role, name, _, node in controls if (role, name) == wanted]
        if hits:
            break
        time.sleep(0.25)
    if sys.argv[1] == "press" and hits:
        hits[0].queryAction().doAction(0)
    for role, name, text, _ in controls:
        print(f"{role}\t{name}\t{text}")
    return 0 if hits else 1


if __name__ == "__main__":
    sys.exit(main())
