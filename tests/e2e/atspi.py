"""The program as a screen reader meets it, through the AT-SPI tree.

atspi.py read          prints each window of the program with the controls a
                       reader announces: role «name», description, label
atspi.py counts N      waits for a run to end at count N in the status bar
                       and prints every count that it showed on the way
"""

import re
import sys
import time

import pyatspi
from gi.repository import GLib

STATUS = "Длина обработанного участка:"
CONTROLS = {"label", "push button", "text", "progress bar", "status bar"}


def program():
    """The program's accessible application, once it has joined the bus."""
    for _ in range(50):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "veltor" and app.childCount:
                return app
        time.sleep(0.1)
    sys.exit("the program is not on the accessibility bus")


def line(node):
    text = f"{node.getRoleName()} «{node.name}»"
    if node.description:
        text += f" ({node.description})"
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            text += " labelled by " + ", ".join(
                f"«{relation.getTarget(i).name}»" for i in range(relation.getNTargets()))
    return text


def controls(node):
    """The controls under node that a reader announces: shown, no menus."""
    for child in node:
        if not child.getState().contains(pyatspi.STATE_VISIBLE):
            continue
        if child.getRoleName() in CONTROLS:
            yield child
        if child.getRoleName() != "menu bar":
            yield from controls(child)


def counts(last):
    seen = []

    def on_name(event):
        if event.source.getRole() == pyatspi.ROLE_STATUS_BAR and event.source.name.startswith(STATUS):
            count = re.sub(r"\D", "", event.source.name)
            if count and count not in seen:
                seen.append(count)
            if count == last:
                pyatspi.Registry.stop()

    pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")
    print("watching", flush=True)
    GLib.timeout_add_seconds(20, pyatspi.Registry.stop)
    pyatspi.Registry.start()
    print("\n".join(seen))
    return 0 if last in seen else 1


if __name__ == "__main__":
    if sys.argv[1] == "read":
        for window in program():
            print(line(window))
            for control in controls(window):
                print("  " + line(control))
    else:
        program()
        sys.exit(counts(sys.argv[2]))
