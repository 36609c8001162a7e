#!/usr/bin/python3
"""The Windows window's driver of the behaviour table: each scenario on a
freshly started velmorida.exe under Wine, played with xdotool's keys and
pointer and read by reader.exe; what the window said is what the stand-in
uiautomationcore.dll wrote down. Run in on_wine.sh's X server and prefix:

    behaviour.py velmorida.exe reader.exe
"""
import contextlib
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
from behaviour_table import Failed, play_every_scenario  # noqa: E402

WINE = "/usr/lib/wine/wine64"
X_SERVER = os.path.join(HERE, "..", "x_server.sh")
LOCALES = {".": "en_US.UTF-8", ",": "ro_RO.UTF-8"}
SECONDS = 15  # as long as the reader's own waits: a busy machine takes seconds


def xdotool(*words):
    subprocess.run(("xdotool",) + words, check=True, stdin=subprocess.DEVNULL)


def x_server(*command):
    """What a function of x_server.sh prints."""
    return subprocess.run(["bash", "-c", 'source "$0" && "$@"', X_SERVER, *command],
                          capture_output=True, text=True).stdout.strip()


class Reader:
    """reader.exe, asked in its protocol. Each Wine process, as it starts,
    writes its locale's separator where the window reads its own (the
    prefix's registry), so the reader's start, and that of the desktop
    process its first look at the windows starts, is over before a window
    starts."""

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


@contextlib.contextmanager
def started(reader, exe, separator=".", spoken=None):
    """velmorida.exe under the separator's locale, with the keyboard in it once
    it handles messages, speaking through the stand-in into the file SPOKEN,
    or else through Wine's own uiautomationcore; ended at the end."""
    overrides = os.environ["WINEDLLOVERRIDES"] + ";uiautomationcore=" + ("n" if spoken else "b")
    env = dict(os.environ, LC_ALL=LOCALES[separator], WINEDLLOVERRIDES=overrides)
    if spoken:
        open(spoken, "w").close()
        env["VELMORIDA_SPOKEN"] = "Z:" + spoken.replace("/", "\\")
    app = subprocess.Popen([WINE, exe], env=env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        if not x_server("focus_window_named", "Velmorida condensatoarelor"):
            raise Failed("no window took the focus")
        reader.ask("wait", "window=open")
        yield Window(reader, app, spoken)
    finally:
        app.kill()
        app.wait()
        reader.ask("wait", "window=gone")


class Window:
    """The started window; the methods named as the table's actions play them."""

    def __init__(self, reader, app, spoken):
        self.reader, self.app, self.spoken = reader, app, spoken
        self.heard = len(self.said()) if spoken else 0

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

    def check(self, step):
        """What the step expects, once the window shows it; then every line
        said since the last step, once the last one expected has come."""
        expect = step.get("expect", {})
        self.reader.ask("wait", *(reading(key, value) for key, value in expect.items()))
        if expect.get("ended") and self.app.wait(SECONDS) != 0:
            raise Failed("exit status %d" % self.app.returncode)
        wanted = step.get("said", [])
        end = time.monotonic() + SECONDS
        while wanted and wanted[-1] not in self.said()[self.heard:] and time.monotonic() < end:
            time.sleep(0.05)
        said = self.said()[self.heard:]
        if said != wanted:
            raise Failed("said %s, not %s" % (said, wanted))
        self.heard += len(said)


def main():
    exe, reader_exe = sys.argv[1:3]
    reader = Reader(reader_exe)
    with tempfile.TemporaryDirectory() as work:
        spoken = os.path.join(work, "spoken")
        return play_every_scenario(
            "win32", lambda separator: started(reader, exe, separator, spoken))


if __name__ == "__main__":
    sys.exit(main())
