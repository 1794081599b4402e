"""The program as a screen reader meets it. `read` prints its windows and shown controls; `counts
N STEPS` prints each new count in the status bar until N, and fails unless it was more than STEPS."""

import re
import sys

import pyatspi
from gi.repository import GLib


def line(node):
    text = f"{node.getRoleName()} «{node.name}»" + (f" ({node.description})" if node.description else "")
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            targets = (relation.getTarget(i).name for i in range(relation.getNTargets()))
            text += " labelled by " + ", ".join(f"«{name}»" for name in targets)
    return text


def show_controls(node):
    for child in node:
        if child.getState().contains(pyatspi.STATE_VISIBLE) and child.getRoleName() != "menu bar":
            if child.getRoleName() in {"label", "push button", "text", "progress bar", "status bar"}:
                print("  " + line(child))
            show_controls(child)


def show_counts(last, steps):
    seen = set()

    def on_name(event):
        count = re.sub(r"\D", "", event.source.name)
        if event.source.getRole() == pyatspi.ROLE_STATUS_BAR and count and count not in seen:
            seen.add(count)
            print(count, flush=True)
            if count == last:
                pyatspi.Registry.stop()

    pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")
    print("watching", flush=True)
    GLib.timeout_add_seconds(20, pyatspi.Registry.stop)
    pyatspi.Registry.start()
    return 0 if last in seen and len(seen) > steps else 1


if sys.argv[1] == "counts":
    sys.exit(show_counts(sys.argv[2], int(sys.argv[3])))
apps = [app for app in pyatspi.Registry.getDesktop(0) if app is not None and app.name == "veltor"]
if not apps or not apps[0].childCount:
    sys.exit(1)  # not on the bus yet
for window in apps[0]:
    print(line(window))
    show_controls(window)
