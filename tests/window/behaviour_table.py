"""The behaviour table (behaviour.json) as the Windows window's driver and the
page's play it, each scenario on a window the driver starts, which does each
action and checks each step; what a presentation skips is told with why.
"""
import json
import os
import sys
import time

TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "behaviour.json")
ACTIONS = ("type", "key", "paste", "drop", "click", "choose")


class Failed(Exception):
    pass


def skipped(row, presentation, where):
    """Whether the row names a reason not to play it here; it is told. A
    presentation "web-ENGINE" skips what "web" does too."""
    skips = row.get("skip", {})
    reason = skips.get(presentation) or skips.get(presentation.partition("-")[0])
    if reason:
        print("SKIP: %s: %s" % (where, reason))
    return bool(reason)


def readable(step, presentation, where):
    """The step without the expectations the row says this presentation
    cannot read, each told with why."""
    rows = step.get("unread", {})
    unread = dict(rows.get(presentation.partition("-")[0], {}), **rows.get(presentation, {}))
    for key, reason in unread.items():
        print("SKIP: %s: %s: %s" % (where, key, reason))
    return dict(step, expect={key: value for key, value in step.get("expect", {}).items()
                              if key not in unread})


def play(window, scenario, presentation):
    for number, step in enumerate(scenario["steps"], 1):
        where = "%s, step %d" % (scenario["name"], number)
        if skipped(step, presentation, where):
            continue
        try:
            for verb, argument in step.get("do", []):
                if verb not in ACTIONS:
                    raise Failed("no such action: " + verb)
                getattr(window, verb)(argument)
            window.check(readable(step, presentation, where))
        except Failed as failure:
            raise Failed("%s: %s" % (where, failure)) from None


def play_every_scenario(presentation, start):
    """Plays each scenario on the window that start(SEPARATOR) opens and
    closes (a context manager); the exit status."""
    sys.stdout.reconfigure(line_buffering=True)
    with open(TABLE, encoding="utf-8") as table:
        scenarios = json.load(table)["scenarios"]
    failed = 0
    for scenario in filter(lambda row: not skipped(row, presentation, row["name"]), scenarios):
        begin = time.monotonic()
        try:
            with start(scenario.get("separator", ".")) as window:
                play(window, scenario, presentation)
            print("PASS: %s (%.1f s)" % (scenario["name"], time.monotonic() - begin))
        except Failed as failure:
            print("FAIL: %s" % failure)
            failed += 1
    print("FAIL: %d scenarios" % failed if failed else "PASS: every scenario played")
    return 1 if failed else 0
