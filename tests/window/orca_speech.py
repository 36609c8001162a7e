"""What Orca says while a program is used from the keyboard: the calculator,
or the page in a browser (tests/web/chromium_app.sh PAGE, firefox_app.sh PAGE).

    orca_speech.py COMMAND... [--runs RUNS] [--tree] [--language LANGUAGE]
    orca_speech.py --orca [Orca's options]    (Orca itself, as the first starts it)

Run by orca.sh. Starts Orca with its debug log in ORCA_LOG, then plays the
steps on each of RUNS fresh starts of the program: a step said in some starts
and not in others is a fault of the start, so every run must pass. With
--tree it also reads over AT-SPI what Orca never speaks unasked; with
--language, every utterance Orca voices in a language of the program's own
must be in that one (a page in another would be read with a wrong voice).
"""
import argparse
import builtins
import os
import re
import subprocess
import sys
import time

import pyatspi

ORCA = "/usr/bin/orca"
LOG = os.environ["ORCA_LOG"]
SPEECH = re.compile(r" - SPEECH OUTPUT: '(.*)'\s*\{'established'")
# The language Orca asks a voice for, from the text it is about to speak.
VOICE = re.compile(r" - SPEECH GENERATOR: .* voice requested with language='([^']*)'")
NO_LANGUAGE = ("", "None")
QUIET_S = 0.8  # a step is over once Orca has said nothing for this long
STEP_TIMEOUT_S = 20
ORCA_END_S = 10

# 100 nF at 1 kHz, then Ctrl+R, which asks for the result: (what the user
# does, the keys, what Orca must then say, what it must not say).
STEPS = [
    ("start", [], ["Velmorida condensatoarelor", "Capacitatea condensatorului"], []),
    ("type 100", ["1", "0", "0"], ["1", "0"], ["notification"]),
    ("Tab to the capacitance unit", ["Tab"], ["pF", "Capacitatea condensatorului, unitate"], []),
    ("Down to nF", ["Down"], ["nF"], ["Ohm"]),
    ("Tab to the frequency", ["Tab"], ["Frecventa de lucru", "0"], []),
    ("type 1", ["1"], ["1.592 MOhm"], []),
    ("Tab to the frequency unit", ["Tab"], ["Hz", "Frecventa de lucru, unitate"], []),
    ("Down to kHz", ["Down"], ["kHz, 1.592 kOhm"], []),
    ("Tab to the read-out", ["Tab"], ["Velmorida condensatorului", "1.592", "kOhm"], []),
    ("Ctrl+R for the result", ["ctrl+r"], ["1.592 kOhm"], []),
    ("Ctrl+R again", ["ctrl+r"], ["1.592 kOhm"], []),
]

# The calculator's whole accessible tree once the steps are done (--tree):
# every control's (role, name, text, description), the labels that take no
# focus (the unit, the signature) among them, and one window, not a second
# one inside it.
APP_NAME = "velmorida"
LABELS = ["Capacitatea condensatorului:", "Frecventa de lucru:", "Velmorida condensatorului:",
          "kOhm", "QZ9XK"]
TREE = [("label", label, "", "") for label in LABELS] + [
    ("frame", "Velmorida condensatoarelor", "", ""),
    ("panel", "", "", ""),
    ("text", "Capacitatea condensatorului", "100", ""),
    ("combo box", "nF", "", "Capacitatea condensatorului, unitate"),
    ("text", "Frecventa de lucru", "1", ""),
    ("combo box", "kHz", "", "Frecventa de lucru, unitate"),
    ("text", "Velmorida condensatorului", "1.592", "kOhm"),
    ("notification", "1.592 kOhm", "", ""),
]


def voiced():
    """Every utterance in Orca's log so far, in order, each with the language
    Orca last asked a voice for since the one before (None if none)."""
    found, language = [], None
    with open(LOG, encoding="utf-8", errors="replace") as log:
        for line in log:
            if voice := VOICE.search(line):
                language = voice.group(1) if voice.group(1) not in NO_LANGUAGE else language
            elif speech := SPEECH.search(line):
                found.append((speech.group(1), language))
                language = None
    return found


def spoken():
    """Every utterance in Orca's log so far, in order."""
    return [text for text, _ in voiced()]


def language_failures(since, language):
    """Utterances after the first `since` voiced in another language, or none in it."""
    heard = voiced()[since:]
    failures = [f"said '{text}' in '{said_in}', not '{language}'" for text, said_in in heard
                if said_in is not None and said_in != language]
    if not any(said_in == language for _, said_in in heard):
        failures.append(f"said nothing in '{language}'")
    return failures


def wait_for(since, must_say):
    """What Orca says after its first `since` utterances, once it has said
    everything in must_say and has then been quiet for a while: (True, what
    it said), or on time-out (False, what it said)."""
    deadline = time.monotonic() + STEP_TIMEOUT_S
    said, last_heard = None, time.monotonic()
    while time.monotonic() < deadline:
        now = spoken()[since:]
        if now != said:
            said, last_heard = now, time.monotonic()
        elif time.monotonic() - last_heard >= QUIET_S:
            if all(word in " ".join(said) for word in must_say):
                return True, said
        time.sleep(0.1)
    return False, said


def accessibles(accessible):
    """(role, name, text, description) of this accessible and every one under it."""
    try:
        text = accessible.queryText().getText(0, -1)
    except NotImplementedError:
        text = ""
    found = [(accessible.getRoleName(), (accessible.name or "").strip(), text,
              accessible.description)]
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is not None:
            found += accessibles(child)
    return found


def tree_failures():
    """What of TREE the calculator's tree lacks, and its windows but one."""
    desktop = pyatspi.Registry.getDesktop(0)
    seen = []
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == APP_NAME:
            seen += accessibles(app)
    failures = [f"not readable: {want}" for want in TREE if want not in seen]
    windows = [c for c in seen if c[0] in ("frame", "window", "dialog")]
    if len(windows) != 1:
        failures.append(f"{len(windows)} objects in a window's role: {windows}")
    if failures:
        print("The accessible tree:", *seen, sep="\n  ")
    return failures


def play(command, tree, language):
    """One fresh start of the program and the steps, printing what Orca said
    at each; returns what went wrong."""
    failures = []
    since = start = len(spoken())
    app = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        for name, keys, must_say, must_not_say in STEPS:
            if keys:
                subprocess.run(["xdotool", "key", "--delay", "150", *keys], check=True)
            heard_all, said = wait_for(since, must_say)
            since += len(said)
            print(f"  {name}: " + " · ".join(s.strip() for s in said), flush=True)
            if not heard_all:
                failures.append(f"{name}: did not say all of {must_say}")
            failures += [f"{name}: said '{word}'" for word in must_not_say
                         if any(word in s for s in said)]
        if tree:
            failures += tree_failures()
        if language:
            failures += language_failures(start, language)
    finally:
        app.terminate()
        app.wait()
    return failures


def run_orca():
    """Orca as /usr/bin/orca starts it, but beside any other Orca of the user
    (its launcher would refuse to start while another runs anywhere, and name
    itself "orca" so that any other refuses to start beside it; this one hears
    no other, in its own X server and session bus), writing its debug log line
    by line, as it is read, where the launcher flushes only a full buffer."""
    with open(ORCA, encoding="utf-8") as source:
        code = compile(source.read(), ORCA, "exec")
    launcher = {"__name__": "orca_launcher", "__file__": ORCA}
    exec(code, launcher)  # defines the launcher's functions; its main() is not run here
    launcher["otherOrcas"] = lambda: []
    launcher["setProcessName"] = lambda name: False
    launcher["open"] = lambda path, mode="r": builtins.open(path, mode, buffering=1)
    return launcher["main"]()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("command", nargs="+", help="the program and its arguments")
    parser.add_argument("--runs", type=int, default=1, help="fresh starts of the program")
    parser.add_argument("--tree", action="store_true", help="read the calculator's tree too")
    parser.add_argument("--language", help="the language Orca must voice the program's texts in")
    args = parser.parse_args()
    open(LOG, "w").close()  # read before Orca has written its first line
    orca = subprocess.Popen([sys.executable, os.path.abspath(__file__), "--orca",
                             "--debug-file=" + LOG],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    failed = []
    try:
        if not wait_for(0, ["Screen reader on"])[0]:
            failed.append("Orca did not start speaking")
        else:
            for run in range(1, args.runs + 1):
                print(f"Run {run} of {args.runs}, what Orca said:", flush=True)
                failures = play(args.command, args.tree, args.language)
                for failure in failures:
                    print("FAIL:", failure)
                if failures:
                    failed.append(f"run {run}")
    finally:
        orca.terminate()
        try:
            orca.wait(ORCA_END_S)
        except subprocess.TimeoutExpired:
            orca.kill()
            orca.wait()
    if failed:
        print("FAIL:", ", ".join(failed))
        return 1
    print(f"PASS: Orca said every step, on each of {args.runs} start(s)")
    return 0


if __name__ == "__main__":
    if sys.argv[1:2] == ["--orca"]:
        del sys.argv[1]
        sys.exit(run_orca())
    sys.exit(main())
