#!/usr/bin/python3
"""The Windows window's driver of the behaviour table (../behaviour.json):
each scenario is played on a freshly started velmorida.exe under Wine with
xdotool's keys and pointer, pasting what reader.exe copies. After each step
the window, read by reader.exe, must show what the table expects, and the
stand-in uiautomationcore.dll must have written down exactly what the step
said.

    behaviour.py TABLE velmorida.exe reader.exe

on the X server and in the Wine prefix that on_wine.sh gives it.
"""
import json
import os
import subprocess
import sys
import tempfile
import time

WINE = "/usr/lib/wine/wine64"
X_SERVER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "x_server.sh")
LOCALES = {".": "en_US.UTF-8", ",": "ro_RO.UTF-8"}
ACTIONS = ("type", "key", "paste", "click", "choose")
SECONDS = 15  # as long as the reader's own waits: a busy machine takes seconds


class Failed(Exception):
    pass


def xdotool(*words):
    subprocess.run(("xdotool",) + words, check=True, stdin=subprocess.DEVNULL)


def x_server(*command):
    """What a function of x_server.sh prints."""
    return subprocess.run(["bash", "-c", 'source "$0" && "$@"', X_SERVER, *command],
                          capture_output=True, text=True).stdout.strip()


class Reader:
    """One reader.exe answers every request: a Wine process takes longer to
    start than most requests. Each Wine process, as it starts, writes its
    locale's separator where the window reads its own (the prefix's
    registry), so the reader's start, and that of the desktop process its
    first look at the windows starts, is over before a window starts."""

    def __init__(self, exe):
        self.process = subprocess.Popen([WINE, exe], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, encoding="utf-8")
        self.ask("wait", "window=gone")

    def ask(self, *words):
        """The answer's lines; a request that fails raises them."""
        self.process.stdin.write("\t".join(words) + "\n")
        self.process.stdin.flush()
        lines = []
        for line in self.process.stdout:
            if line.startswith("END "):
                if line.strip() != "END 0":
                    raise Failed("\n".join([" ".join(words)] + lines))
                return lines
            lines.append(line.rstrip("\n"))
        raise Failed("the reader ended")


def reading(key, value):
    """An expectation as the reader's KEY=VALUE; the program has ended when
    its window is gone."""
    if key == "ended":
        return "window=" + ("gone" if value else "open")
    if isinstance(value, list):
        value = ",".join(map(str, value))
    return "%s=%s" % (key, int(value) if isinstance(value, bool) else value)


class Window:
    """velmorida.exe under the separator's locale, speaking through the
    stand-in into the file SPOKEN, or else through Wine's own uiautomationcore,
    which has no notification event; the methods named as the table's actions
    play them."""

    def __init__(self, reader, exe, separator=".", spoken=None):
        self.reader, self.spoken = reader, spoken
        overrides = os.environ["WINEDLLOVERRIDES"] + ";uiautomationcore=" + ("n" if spoken else "b")
        env = dict(os.environ, LC_ALL=LOCALES[separator], WINEDLLOVERRIDES=overrides)
        if spoken:
            open(spoken, "w").close()
            env["VELMORIDA_SPOKEN"] = "Z:" + spoken.replace("/", "\\")
        self.app = subprocess.Popen([WINE, exe], env=env, stdin=subprocess.DEVNULL,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def focus(self):
        """The keyboard in the window, once the window handles messages."""
        if not x_server("focus_window_named", "Velmorida condensatoarelor"):
            raise Failed("no window took the focus")
        self.reader.ask("wait", "window=open")

    def close(self):
        self.app.kill()
        self.app.wait()
        self.reader.ask("wait", "window=gone")

    def said(self):
        with open(self.spoken, encoding="utf-8") as spoken:
            return spoken.read().splitlines()

    def point_at(self, *place):
        x, y = self.reader.ask("point", *place)[0].split()
        # Not --sync, which waits for a move and never returns when the
        # pointer is there already; 1 ms after the click instead of 100.
        xdotool("mousemove", x, y, "click", "--delay", "1", "1")

    def type(self, text):
        xdotool("type", "--delay", "10", text)

    def key(self, name):
        xdotool("key", name)

    def paste(self, text, key="ctrl+v"):
        """Copied by the reader, exactly, then pasted by the key."""
        self.reader.ask("clipboard", text.encode().hex())
        self.key(key)

    def click(self, name):
        self.point_at(name, "end")

    def choose(self, choice):
        self.click(choice[0])
        self.point_at(choice[0], str(choice[1]))  # in the list once it is open

    def check(self, step, before):
        """What the step expects, once the window shows it; then every line
        said since the `before`th, once the last one expected has come."""
        expect = step.get("expect", {})
        self.reader.ask("wait", *(reading(key, value) for key, value in expect.items()))
        if expect.get("ended") and self.app.wait(SECONDS) != 0:
            raise Failed("exit status %d" % self.app.returncode)
        wanted = step.get("said", [])
        end = time.monotonic() + SECONDS
        while wanted and wanted[-1] not in self.said()[before:] and time.monotonic() < end:
            time.sleep(0.05)
        if self.said()[before:] != wanted:
            raise Failed("said %s, not %s" % (self.said()[before:], wanted))


def skipped(row, where):
    """Whether the row names a reason not to play it here; it is told."""
    reason = row.get("skip", {}).get("win32")
    if reason:
        print("SKIP: %s: %s" % (where, reason))
    return bool(reason)


def play(reader, exe, scenario, spoken):
    window = Window(reader, exe, scenario.get("separator", "."), spoken)
    try:
        window.focus()
        for number, step in enumerate(scenario["steps"], 1):
            where = "%s, step %d" % (scenario["name"], number)
            if skipped(step, where):
                continue
            before = len(window.said())
            try:
                for verb, argument in step.get("do", []):
                    if verb not in ACTIONS:
                        raise Failed("no such action: " + verb)
                    getattr(window, verb)(argument)
                window.check(step, before)
            except Failed as failure:
                raise Failed("%s: %s" % (where, failure)) from None
    finally:
        window.close()


def main():
    sys.stdout.reconfigure(line_buffering=True)
    table, exe, reader_exe = sys.argv[1:4]
    with open(table, encoding="utf-8") as file:
        scenarios = json.load(file)["scenarios"]
    reader = Reader(reader_exe)
    failed = 0
    with tempfile.TemporaryDirectory() as work:
        for scenario in filter(lambda row: not skipped(row, row["name"]), scenarios):
            start = time.monotonic()
            try:
                play(reader, exe, scenario, os.path.join(work, "spoken"))
                print("PASS: %s (%.1f s)" % (scenario["name"], time.monotonic() - start))
            except Failed as failure:
                print("FAIL: %s" % failure)
                failed += 1
    print("FAIL: %d scenarios" % failed if failed else "PASS: every scenario played")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
