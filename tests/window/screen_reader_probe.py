"""The whole accessible tree of the running calculator, over AT-SPI.

The Orca test hears what a user hears by keyboard; this reads what Orca
never speaks unasked: the labels that take no focus (the unit, the
signature), every control's role, name and description, and that the
program shows one window to assistive technology, not a second one inside
it. Types 100 nF at 1 kHz with xdotool first. Prints PASS or the failures.
"""
import subprocess
import sys
import time

import pyatspi

APP_NAME = "velmorida"
SETTLE_S = 1.5


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
    found = [(accessible.getRoleName(), (accessible.name or "").strip(), text_of(accessible),
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
    subprocess.run(["xdotool", "key", "--delay", "60", "ctrl+a", "1", "0", "0", "Tab", "Down",
                    "Tab", "ctrl+a", "1", "Tab", "Down"], check=True)
    time.sleep(SETTLE_S)

    seen = controls(app)
    expected = [
        ("frame", "Velmorida condensatoarelor", "", ""),
        ("panel", "", "", ""),
        ("label", "Capacitatea condensatorului:", "", ""),
        ("text", "Capacitatea condensatorului", "100", ""),
        ("combo box", "nF", "", "Capacitatea condensatorului, unitate"),
        ("label", "Frecventa de lucru:", "", ""),
        ("text", "Frecventa de lucru", "1", ""),
        ("combo box", "kHz", "", "Frecventa de lucru, unitate"),
        ("label", "Velmorida condensatorului:", "", ""),
        ("text", "Velmorida condensatorului", "1.592", "kOhm"),
        ("label", "kOhm", "", ""),
        ("label", "QZ9XK", "", ""),
        ("notification", "kHz, 1.592 kOhm", "", ""),
    ]
    failures = [f"not readable: {want}" for want in expected if want not in seen]
    windows = [c for c in seen if c[0] in ("frame", "window", "dialog")]
    if len(windows) != 1:
        failures.append(f"{len(windows)} objects in a window's role: {windows}")
    for failure in failures:
        print("FAIL:", failure)
    if failures:
        print("seen:", *seen, sep="\n  ")
        return 1
    print(f"PASS: {len(seen)} accessible objects readable, one window")
    return 0


if __name__ == "__main__":
    sys.exit(main())
