"""The installed calculator used from the keyboard, as the package installs
it: its window's caption exactly, 100 nF at 1 kHz typed and the read-out read
over AT-SPI, then Escape, which must end it with status 0. Run by the window
test on an X server and a session bus of its own; it draws nothing itself.
"""
import os
import subprocess
import sys
import time

import pyatspi

PROGRAM = "/usr/bin/velmorida"
CAPTION = " Velmorida condensatoarelor "  # a blank at each end, as it is drawn
APP_NAME = "velmorida"
# The capacitance box starts focused with its "0" selected; the Tab order is
# capacitance, its unit, frequency, its unit. pF and Hz are the lists' first
# units: Down takes each to the next, nF and kHz.
KEYS = ["1", "0", "0", "Tab", "Down", "Tab", "1", "Tab", "Down"]
KEY_DELAY_MS = "100"
# The read-out's (role, name, text, unit) at 100 nF and 1 kHz: 1/(6.28 f C).
READ_OUT = ("text", "Velmorida condensatorului", "1.592", "kOhm")
WINDOW_TIMEOUT_S = 30
READ_OUT_TIMEOUT_S = 20
END_TIMEOUT_S = 10
POLL_S = 0.1


def poll(seconds, look):
    """What look() returns first that is not empty, within seconds, or None."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = look()
        if found:
            return found
        time.sleep(POLL_S)
    return None


def xdotool(*args):
    """xdotool's output, or "" where it fails (no such window yet)."""
    done = subprocess.run(["xdotool", *args], capture_output=True, text=True)
    return done.stdout if done.returncode == 0 else ""


def program_window(pid):
    """The X id of the program's first mapped window, or ""."""
    return xdotool("search", "--onlyvisible", "--pid", str(pid), "--name", ".").split("\n")[0]


def accessibles(accessible):
    """(role, name, text, description) of this accessible and every one under it."""
    try:
        text = accessible.queryText().getText(0, -1)
    except NotImplementedError:
        text = ""
    found = [(accessible.getRoleName(), accessible.name or "", text, accessible.description)]
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is not None:
            found += accessibles(child)
    return found


def calculator_tree():
    """Every accessible of the calculator, as accessibles() gives them."""
    desktop = pyatspi.Registry.getDesktop(0)
    seen = []
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == APP_NAME:
            seen += accessibles(app)
    return seen


def run(app):
    """The checks on a started program; returns what went wrong."""
    window = poll(WINDOW_TIMEOUT_S, lambda: program_window(app.pid))
    if not window:
        return [f"no window appeared within {WINDOW_TIMEOUT_S} s"]
    caption = xdotool("getwindowname", window).removesuffix("\n")
    failures = [] if caption == CAPTION else [f"the caption is {caption!r}, not {CAPTION!r}"]
    # With no window manager the keyboard follows the pointer.
    xdotool("mousemove", "--window", window, "20", "20")
    xdotool("key", "--delay", KEY_DELAY_MS, *KEYS)
    if not poll(READ_OUT_TIMEOUT_S, lambda: READ_OUT in calculator_tree()):
        print("The accessible tree:", *calculator_tree(), sep="\n  ")
        failures.append(f"the read-out is not {READ_OUT}")
    xdotool("key", "Escape")
    try:
        status = app.wait(END_TIMEOUT_S)
    except subprocess.TimeoutExpired:
        return failures + [f"Escape did not end it within {END_TIMEOUT_S} s"]
    return failures + ([] if status == 0 else [f"it ended with status {status}"])


def main():
    # Asking for the desktop starts the accessibility bus, which the program
    # then finds as it starts; Qt speaks on it with no screen reader running
    # only when told to.
    pyatspi.Registry.getDesktop(0)
    environment = dict(os.environ, LC_ALL="C.UTF-8", QT_QPA_PLATFORM="xcb",
                       QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    app = subprocess.Popen([PROGRAM], env=environment)
    try:
        failures = run(app)
    finally:
        if app.poll() is None:
            app.kill()
            app.wait()
    for failure in failures:
        print("FAIL:", failure)
    if failures:
        return 1
    print(f"PASS: {CAPTION!r} read {READ_OUT[2]} {READ_OUT[3]} and ended on Escape")
    return 0


if __name__ == "__main__":
    sys.exit(main())
