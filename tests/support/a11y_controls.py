#!/usr/bin/python3
"""Lists the shown controls of the running Tesmira window through the accessibility
interface (AT-SPI), one a line: role, name and, for a text field, its content, separated by
tabs. Waits up to 20 s for the window and until its controls are shown.
  a11y_controls.py list
  a11y_controls.py list-when ROLE NAME   -> the list, once a control ROLE named NAME is shown
  a11y_controls.py press NAME            -> presses the push button NAME
Needs a session bus with the AT-SPI bus, and the program started with
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1."""
import sys
import time

import pyatspi


def shown_controls():
    found = []

    def walk(node):
        try:
            extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            if extents.width > 0 and extents.height > 0:
                text = ""
                if node.getRoleName() == "text":
                    field = node.queryText()
                    text = field.getText(0, field.characterCount)
                found.append((node.getRoleName(), node.name, text, node))
        except NotImplementedError:
            pass  # no component: the application itself
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                walk(child)

    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and "tesmira" in (app.name or "").lower():
            walk(app)
    return found


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "press":
        wanted = ("push button", sys.argv[2])
    elif len(sys.argv) == 4 and sys.argv[1] == "list-when":
        wanted = tuple(sys.argv[2:4])
    elif len(sys.argv) == 2 and sys.argv[1] == "list":
        wanted = ()
    else:
        print(__doc__, file=sys.stderr)
        return 2
    controls = []
    for _ in range(80):
        controls = shown_controls()
        hits = [node for role, name, _, node in controls if (role, name) == wanted]
        if controls and (not wanted or hits):
            break
        time.sleep(0.25)
    if sys.argv[1] == "press":
        if not hits:
            print(f"no push button named {sys.argv[2]}", file=sys.stderr)
            return 1
        hits[0].queryAction().doAction(0)
        return 0
    for role, name, text, _ in controls:
        print(f"{role}\t{name}\t{text}")
    return 0 if controls else 1


if __name__ == "__main__":
    sys.exit(main())
