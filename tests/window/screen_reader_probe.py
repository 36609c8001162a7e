"""What a screen reader gets from the running calculator over AT-SPI.

Finds the program on the accessibility bus, types 100 nF at 1 kHz into it
with xdotool, and checks that every control's name and text can be read,
that the read-out carries its unit, and that changes of the read-out and of
the unit label were announced as events. Prints PASS or the failures.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

APP_NAME = "velmorida"
SETTLE_MS = 2500


def find_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for _ in range(100):
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and (app.name or "") == APP_NAME:
                return app
        time.sleep(0.1)
    return None


def text_of(accessible):
    try:
        return accessible.queryText().getText(0, -1)
    except NotImplementedError:
        return ""


def controls(accessible):
    """(role, name, text, description) of every accessible under this one."""
    found = [(accessible.getRoleName(), accessible.name, text_of(accessible),
              accessible.description)]
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is not None:
            found.extend(controls(child))
    return found


def main():
    app = find_app()
    if app is None:
        print("FAIL: the program is not on the accessibility bus")
        return 1

    announced = []

    def on_event(event):
        announced.append((event.type, event.source.name if event.source else ""))

    pyatspi.Registry.registerEventListener(
        on_event, "object:text-changed", "object:property-change:accessible-name")

    def type_and_stop():
        subprocess.run(["xdotool", "key", "--delay", "60", "ctrl+a", "1", "0", "0", "Tab",
                        "Down", "Tab", "ctrl+a", "1", "Tab", "Down"], check=True)
        GLib.timeout_add(SETTLE_MS, pyatspi.Registry.stop)
        return False

    GLib.timeout_add(200, type_and_stop)
    pyatspi.Registry.start()

    seen = controls(app)
    expected = [
        ("text", "Capacitatea condensatorului", "100", ""),
        ("combo box", "nF", "", "Capacitatea condensatorului, unitate"),
        ("text", "Frecventa de lucru", "1", ""),
        ("combo box", "kHz", "", "Frecventa de lucru, unitate"),
        ("text", "Velmorida condensatorului", "1.592", "kOhm"),
        ("label", "kOhm", "", ""),
    ]
    failures = [f"not readable: {want}" for want in expected if want not in seen]
    if not any(kind.startswith("object:text-changed") and name == "Velmorida condensatorului"
               for kind, name in announced):
        failures.append("no text-changed event from the read-out")
    if not any(kind.startswith("object:property-change:accessible-name") and
               name in ("kOhm", "MOhm", "Ohm") for kind, name in announced):
        failures.append("no name-change event from the unit label")
    for failure in failures:
        print("FAIL:", failure)
    if failures:
        print("seen:", *seen, sep="\n  ")
        return 1
    print(f"PASS: {len(seen)} accessible objects readable, {len(announced)} events announced")
    return 0


if __name__ == "__main__":
    sys.exit(main())
