#!/usr/bin/env python3
"""The closing summary of `make test`: each suite, passed or failed, with its
time, and under a failed suite each failing test with the first lines it
printed, read from the JUnit files ctest wrote beside the suites' logs.

    summary.py LOG_DIR SUITE=RESULT=SECONDS...
"""
import pathlib
import re
import sys
import xml.etree.ElementTree as ElementTree

FIRST_LINES = 6  # of each failing test's output
LAST_LINES = 8  # of a suite's log when no test names the failure
# The first line that says what went wrong: the output is shown from there.
TELLING = re.compile(r"FAIL|Failure|error|wanted|Expected|Which is|timed? ?out", re.IGNORECASE)


def failing_tests(junit_file):
    """(name, output) of each failed test case in one JUnit file."""
    try:
        root = ElementTree.parse(junit_file).getroot()
    except (ElementTree.ParseError, OSError):
        return []
    return [(case.get("name", "?"), case.findtext("system-out") or "")
            for case in root.iter("testcase") if case.find("failure") is not None]


def first_lines(output):
    lines = [line.rstrip() for line in output.splitlines() if line.strip()]
    start = next((i for i, line in enumerate(lines) if TELLING.search(line)), 0)
    return lines[start : start + FIRST_LINES]


def main():
    logs = pathlib.Path(sys.argv[1])
    rows = [row.split("=") for row in sys.argv[2:]]
    width = max((len(name) for name, _, _ in rows), default=0)
    print("\n=== Summary of make test (logs in %s/)" % logs)
    for name, result, seconds in rows:
        print("%-*s  %-6s  %5s s" % (width, name, result, seconds))
        if result == "passed":
            continue
        cases = []
        for junit in sorted(logs.glob(name + "*.xml")):
            cases += failing_tests(junit)
        for case, output in cases:
            print("    %s:" % case)
            for line in first_lines(output):
                print("        " + line[:160])
        if not cases:
            log = logs / (name + ".log")
            tail = log.read_text(errors="replace").splitlines()[-LAST_LINES:] if log.exists() else []
            for line in tail:
                print("        " + line[:160])
    failed = sum(1 for _, result, _ in rows if result != "passed")
    print("Suites: %d passed, %d failed" % (len(rows) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
