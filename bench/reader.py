"""Listens on the session bus as a screen reader does, so that the program sends it what a reader
hears, until it is terminated. Prints "listening" once registered and, at the end, how many events
of each kind it heard."""

import collections
import signal
import sys

import pyatspi
from gi.repository import GLib

heard = collections.Counter()


def hear(event):
    heard[event.type] += 1


for kind in ("object:property-change", "object:value-changed", "object:text-changed",
             "object:text-caret-moved", "object:state-changed", "object:children-changed",
             "window", "focus:"):
    pyatspi.Registry.registerEventListener(hear, kind)
print("listening", flush=True)
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, pyatspi.Registry.stop)
pyatspi.Registry.start()
for kind, count in sorted(heard.items()):
    print(f"{count:9} {kind}", file=sys.stderr)
