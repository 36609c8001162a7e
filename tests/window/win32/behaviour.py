#!/usr/bin/python3
"""The real velmorida.exe under Wine, in on_wine.sh's X server and prefix,
played with xdotool and read by reader.exe: the behaviour table (table) and
Win32's own work (places: the layout at 96 and 192 dpi, the unit label,
Shift+Insert, Ctrl+Z; themes: each text's contrast under two schemes).

    behaviour.py velmorida.exe reader.exe table|places|themes
"""
import contextlib
import os
import queue
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
from behaviour_table import Failed, play_every_scenario  # noqa: E402

WINE = "/usr/lib/wine/wine64"
X_SERVER = os.path.join(HERE, "..", "x_server.sh")
CONTRAST = [sys.executable, os.path.join(HERE, "..", "contrast.py")]
LAYOUT = os.path.join(HERE, "..", "..", "..", "window", "layout.h")
LOCALES = {".": "en_US.UTF-8", ",": "ro_RO.UTF-8"}
SECONDS = 15  # as long as the reader's own waits: a busy machine takes seconds
# The longest the reader may take over an answer, whose own waits end after
# SECONDS: longer, and it hangs, which the test says with Wine's processes.
ANSWER_SECONDS = 4 * SECONDS


def xdotool(*words):
    subprocess.run(("xdotool",) + words, check=True, stdin=subprocess.DEVNULL)


def x_server(*command):
    """What a function of x_server.sh prints."""
    return subprocess.run(["bash", "-c", 'source "$0" && "$@"', X_SERVER, *command],
                          capture_output=True, text=True).stdout.strip()


class Reader:
    """reader.exe, asked line by line. A Wine process, as it starts, writes its
    locale's separator where the window reads its own (the prefix's registry):
    the reader's start, and the desktop process's that its first look at the
    windows starts, is over before a window starts."""

    def __init__(self, exe):
        self.process = subprocess.Popen([WINE, exe], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, encoding="utf-8")
        # Its lines, read aside so that an answer is waited for with a bound;
        # None once it has ended.
        self.lines = queue.Queue()
        threading.Thread(target=self.read_lines, daemon=True).start()
        self.ask("wait", "window=gone")

    def read_lines(self):
        for line in self.process.stdout:
            self.lines.put(line)
        self.lines.put(None)

    def ask(self, *words):
        """The answer's lines; a request that fails raises them."""
        self.process.stdin.write("\t".join(words) + "\n")
        self.process.stdin.flush()
        lines = []
        while True:
            try:
                line = self.lines.get(timeout=ANSWER_SECONDS)
            except queue.Empty:
                raise Failed("no answer to %r in %d s; Wine's processes:\n%s"
                             % (" ".join(words), ANSWER_SECONDS, wine_processes())) from None
            if line is None:
                raise Failed("the reader ended")
            if line.startswith("END "):
                if line.strip() != "END 0":
                    raise Failed("\n".join([" ".join(words)] + lines))
                return lines
            lines.append(line.rstrip("\n"))


def wine_processes():
    """ps's lines of every process of this test's prefix, with what each waits in."""
    own = ("WINEPREFIX=" + os.environ.get("WINEPREFIX", "")).encode()
    pids = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/environ" % pid, "rb") as environ:
                if own in environ.read().split(b"\0"):
                    pids.append(pid)
        except OSError:
            pass  # ended meanwhile, or not ours
    return subprocess.run(["ps", "-o", "pid,stat,wchan:24,etimes,args", "-p",
                           ",".join(pids) or "1"], capture_output=True, text=True).stdout


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


def table(reader_exe, exe):
    reader = Reader(reader_exe)
    with tempfile.TemporaryDirectory() as work:
        spoken = os.path.join(work, "spoken")
        return play_every_scenario(
            "win32", lambda separator: started(reader, exe, separator, spoken))


# The layout's places at 96 dpi (6765 x 3015 twips; the frame's corner at 8, 8
# px), each label as wide as its caption; then twice as large at 192 dpi.
AT_96_DPI = ["client=451x201", "txtC.rect=56,68,57,24", "cboC.rect=112,68,73,24",
             "txtFreq.rect=56,148,57,24", "cboFreq.rect=112,148,73,24",
             "txtR.rect=267,112,73,25", "lblEtichete1.rect=24,40,190,15"]
AT_192_DPI = ["client=902x402", "txtC.rect=112,136,114,48", "cboC.rect=224,136,146,48",
              "txtR.rect=534,224,146,50", "lblEtichete1.rect=48,80,381,30"]

# Each step: its name, what is done and what the window then reads. Only a
# list itself is named by its caption; its field keeps the standard object's
# name (under Wine, none). Shift+Insert pastes through the window's own
# paste, which loses the edge line breaks (Wine's EDIT would paste it whole,
# without a WM_PASTE).
PLACES = [
    ("96 dpi", lambda window: None, AT_96_DPI + ["cboC.field.name=", "cboFreq.field.name="]),
    ("the unit label as wide as MOhm", lambda window: xdotool("key", "1", "Tab", "Tab", "1"),
     ["lblUM=MOhm", "lblUM.rect=355,116,42,15"]),
    ("and as Ohm, its left edge kept", lambda window: window.key("BackSpace"),
     ["lblUM=Ohm", "lblUM.rect=355,116,31,15"]),
    ("Shift+Insert pastes", lambda window: window.paste("\n47\n", "shift+Insert"),
     ["txtFreq=47"]),
    ("Ctrl+Z undoes the paste", lambda window: window.key("ctrl+z"), ["txtFreq=0"]),
    ("moved to 192 dpi", lambda window: window.reader.ask("dpi", "192"), AT_192_DPI),
]

# The system colours of a dark scheme, as Windows' own dark high-contrast
# scheme sets them, with High Contrast itself off (Wine reports it off
# whatever the registry says).
DARK_SCHEME = {"Window": "0 0 0", "WindowText": "255 255 255", "ButtonFace": "32 32 32",
               "ButtonText": "255 255 255", "Hilight": "26 235 255", "HilightText": "0 0 0",
               "Menu": "0 0 0", "MenuText": "255 255 255", "GrayText": "63 242 63",
               "Background": "0 0 0"}


def registry(key, name, value, *kind):
    """Sets a value in the prefix's registry; a failure says what reg and Wine
    said: reg has, rarely, ended with 1 and without a word."""
    done = subprocess.run([WINE, "reg", "add", key, "/v", name, *kind, "/d", value, "/f"],
                          stdin=subprocess.DEVNULL, capture_output=True, text=True,
                          env=dict(os.environ, WINEDEBUG="err+all"))
    if done.returncode != 0:
        raise Failed("reg add %s /v %s ended with %d: %s%s" % (
            key, name, done.returncode, done.stdout, done.stderr))


def played(reader, exe, steps):
    """Starts the window under Wine's own uiautomationcore, which it goes on
    without, plays the steps and closes it."""
    with started(reader, exe) as window:
        for name, do, expect in steps:
            try:
                do(window)
                reader.ask("wait", *expect)
            except Failed as failure:
                raise Failed("%s: %s" % (name, failure)) from None


def places(reader_exe, exe):
    reader = Reader(reader_exe)
    played(reader, exe, PLACES)
    registry(r"HKCU\Control Panel\Desktop", "LogPixels", "192", "/t", "REG_DWORD")
    played(reader, exe, [("started at 192 dpi", lambda window: None, AT_192_DPI)])


def measure(window, measured, theme, *extra):
    """The screen's line for each control, after the theme's name; EXTRA
    regions as contrast.py takes them."""
    x, y = window.reader.ask("point", "txtC")[0].split()
    x_server("wait_for_still_screen")
    with tempfile.NamedTemporaryFile(suffix=".png") as shot:
        subprocess.run(["import", "-window", "root", shot.name], check=True)
        lines = subprocess.run(CONTRAST + [LAYOUT, shot.name, "txtC@%s,%s" % (x, y), *extra],
                               check=True, capture_output=True, text=True).stdout
    measured.extend("%s %s\n" % (theme, line) for line in lines.splitlines())


def open_list(window):
    """Opens the frequency list: its items' region, from the middles of its
    first and third items and its width in the layout (1095 twips)."""
    window.key("alt+Down")
    (x0, y0), (x2, y2) = (map(int, window.reader.ask("point", "cboFreq", item)[0].split())
                          for item in ("0", "2"))
    width, item = 1095 // 15, (y2 - y0) // 2
    return "open-list=%d,%d,%d,%d" % (x0 - width // 2, y0 - item // 2, width, 3 * item)


# An EDIT's selection is drawn in the system's highlight colours, which the
# window does not choose (Windows' default pair is 4.5:1, Wine's 2.8:1), so
# the boxes are measured without one: after 100 nF at 1 kHz is entered, with
# the focus in the frequency list, and with that list open.
def themes(reader_exe, exe):
    measured = []
    for theme in ("wine-default", "dark-scheme"):
        if theme == "dark-scheme":
            # Wine's own theme off: it would draw over the system colours.
            registry(r"HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager",
                     "ThemeActive", "0")
            for name, colour in DARK_SCHEME.items():
                registry(r"HKCU\Control Panel\Colors", name, colour)
            # Every Wine process ends, the reader's too, and starts again in
            # them; the wineserver lives on for the test's end, as prefix.sh
            # started it, without the test's streams.
            for option in ("-k", "-w", "-p"):
                subprocess.run(["/usr/lib/wine/wineserver", option], stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        keys = "1 0 0 Tab Down Tab ctrl+a 1 Tab Down".split()
        played(Reader(reader_exe), exe, [
            (theme + ": 100 nF at 1 kHz", lambda window: xdotool("key", "--delay", "10", *keys),
             ["txtR=1.592", "lblUM=kOhm", "cboFreq=kHz", "focus=cboFreq"]),
            (theme + ": measured", lambda window: measure(window, measured, theme), []),
            (theme + ": the list open",
             lambda window: measure(window, measured, theme, open_list(window)), [])])
    with tempfile.NamedTemporaryFile("w") as lines:
        lines.writelines(measured)
        lines.flush()
        if subprocess.run(CONTRAST + ["table", lines.name, "4.5"]).returncode:
            raise Failed("measured (theme, control, ratio, background, text):\n"
                         + "".join(measured))


def main():
    sys.stdout.reconfigure(line_buffering=True)
    exe, reader_exe, part = sys.argv[1:4]
    if part == "table":
        return table(reader_exe, exe)
    try:
        {"places": places, "themes": themes}[part](reader_exe, exe)
    except Failed as failure:
        print("FAIL: %s" % failure)
        return 1
    print("PASS: velmorida.exe's own %s under Wine" % part)
    return 0


if __name__ == "__main__":
    sys.exit(main())
