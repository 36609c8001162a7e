"""What Orca says while the calculator is used from the keyboard.

Run by orca.sh, with Orca already starting and its debug log in ORCA_LOG.
Waits until Orca speaks, starts the program, and enters 100 nF at 1 kHz:
type 100, Tab, Down, Tab, type 1, Tab, Down, Tab; then Ctrl+R, which asks
for the result. After each step it waits until Orca has said what the step
should say and has then been quiet, so the speech of a step is every SPEECH
OUTPUT line of the log timed from that step's keys to the next step's.
Prints the whole transcript, then PASS or each step that went wrong.
"""
import datetime
import os
import re
import subprocess
import sys
import time

LOG = os.environ["ORCA_LOG"]
SPEECH = re.compile(r"^(\d\d):(\d\d):(\d\d\.\d+) - SPEECH OUTPUT: '(.*)'\s*\{'established'")
QUIET_S = 0.8  # a step is over once Orca has said nothing for this long
STEP_TIMEOUT_S = 20
SECONDS_PER_DAY = 24 * 3600

# (what the user does, the keys, what Orca must say, what it must not say)
STEPS = [
    ("type 100", ["1", "0", "0"], ["1", "0"], ["notification"]),
    ("Tab to the capacitance unit", ["Tab"], ["pF", "Capacitatea condensatorului, unitate"], []),
    ("Down to nF", ["Down"], ["nF"], ["Ohm"]),
    ("Tab to the frequency", ["Tab"], ["Frecventa de lucru", "0"], []),
    ("type 1", ["1"], ["1.592 MOhm"], []),
    ("Tab to the frequency unit", ["Tab"], ["Hz", "Frecventa de lucru, unitate"], []),
    ("Down to kHz", ["Down"], ["kHz, 1.592 kOhm"], []),
    ("Tab to the read-out", ["Tab"], ["Velmorida condensatorului", "1.592", "kOhm"], []),
    ("Ctrl+R for the result", ["ctrl+r"], ["1.592 kOhm"], []),
]


def seconds_of_day(hours, minutes, seconds):
    return int(hours) * 3600 + int(minutes) * 60 + float(seconds)


def now():
    t = datetime.datetime.now()
    return seconds_of_day(t.hour, t.minute, t.second + t.microsecond / 1e6)


def spoken():
    """(time of day in seconds, utterance) of every SPEECH OUTPUT so far."""
    found = []
    with open(LOG, encoding="utf-8", errors="replace") as log:
        for line in log:
            match = SPEECH.match(line.strip())
            if match:
                found.append((seconds_of_day(*match.group(1, 2, 3)), match.group(4)))
    return found


def wait_for(says, since, must_say):
    """Waits until everything in must_say was said after `since` and Orca has
    then been quiet for a while; returns False on time-out."""
    deadline = time.monotonic() + STEP_TIMEOUT_S
    while time.monotonic() < deadline:
        lines = [(t, u) for t, u in spoken() if in_order(since, t)]
        text = " ".join(u for _, u in lines)
        if all(word in text for word in must_say):
            last = lines[-1][0] if lines else since
            if not in_order(now() - QUIET_S, last):
                return True
        time.sleep(0.1)
    return False


def in_order(earlier, later):
    """Whether `later` comes at or after `earlier`, across midnight too."""
    return (later - earlier) % SECONDS_PER_DAY < SECONDS_PER_DAY / 2


def print_log_problems():
    with open(LOG, encoding="utf-8", errors="replace") as log:
        lines = [line.rstrip() for line in log]
    problems = [line for line in lines if "ERROR" in line or "WARNING" in line]
    print(f"Orca's log: {len(lines)} lines; errors and warnings:", *problems[:20], sep="\n  ")
    print("  last lines:", *lines[-5:], sep="\n  ")


def main():
    program = sys.argv[1]
    failures = []
    if not wait_for(spoken, now() - SECONDS_PER_DAY / 4, ["Screen reader on"]):
        print("FAIL: Orca did not start speaking")
        print_log_problems()
        return 1

    marks = [("start", now())]
    app = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        if not wait_for(spoken, marks[0][1],
                        ["Velmorida condensatoarelor", "Capacitatea condensatorului"]):
            failures.append("start: the window and its first box were not spoken")
        for name, keys, must_say, must_not_say in STEPS:
            marks.append((name, now()))
            subprocess.run(["xdotool", "key", "--delay", "150", *keys], check=True)
            if not wait_for(spoken, marks[-1][1], must_say):
                failures.append(f"{name}: did not say all of {must_say}")
    finally:
        app.terminate()
        app.wait()

    everything = spoken()
    print("What Orca said:")
    for i, (name, start) in enumerate(marks):
        end = marks[i + 1][1] if i + 1 < len(marks) else None
        said = [u for t, u in everything
                if in_order(start, t) and (end is None or not in_order(end, t))]
        print(f"  {name}: " + " · ".join(s.strip() for s in said))
        step = next((s for s in STEPS if s[0] == name), None)
        if step:
            for word in step[3]:
                if any(word in s for s in said):
                    failures.append(f"{name}: said '{word}'")
    for failure in failures:
        print("FAIL:", failure)
    if failures:
        print_log_problems()
        return 1
    print("PASS: Orca spoke every step")
    return 0


if __name__ == "__main__":
    sys.exit(main())
