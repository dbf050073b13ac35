"""Checks what assistive technology sees of the running program, through AT-SPI (pyatspi):
the main window is a frame, and the link to the home page is a link that can be pressed.

    atspi_tree.py APPLICATION_NAME
"""

import sys
import time

import pyatspi


def find_application(name, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            child = desktop.getChildAtIndex(i)
            if child is not None and child.name == name and child.childCount > 0:
                return child
        time.sleep(0.1)
    return None


def actions(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i).lower() for i in range(action.nActions)]


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def main():
    app = find_application(sys.argv[1])
    if app is None:
        print(f"FAIL: no application {sys.argv[1]!r} on the accessibility bus")
        return 1
    for node in walk(app):
        print(f"{node.getRoleName()}: {node.name!r} {actions(node)}")
    failures = []
    windows = [app.getChildAtIndex(i) for i in range(app.childCount)]
    main_window = [w for w in windows if w.name.startswith("Snoetjesmal v1.1")]
    if len(main_window) != 1:
        failures.append("the main window is not a child of the application")
    elif main_window[0].getRole() != pyatspi.ROLE_FRAME:
        failures.append(f"the main window is a {main_window[0].getRoleName()}, not a frame")
    links = [n for n in walk(app) if n.name.startswith("Bezoek ")]
    if len(links) != 1:
        failures.append(f"{len(links)} controls are called 'Bezoek ...', not one")
    else:
        link = links[0]
        if link.getRole() != pyatspi.ROLE_LINK:
            failures.append(f"the link to the home page is a {link.getRoleName()}, not a link")
        if not {"press", "click"} & set(actions(link)):
            failures.append(f"the link to the home page cannot be pressed: {actions(link)}")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
