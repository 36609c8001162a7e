"""What Orca says of the page in Chromium, on every start of the page.

Run by orca_page.sh, on an X server and a D-Bus session of its own. Starts
Orca (orca_launcher.py) with its debug log in ORCA_LOG, then plays the Qt
window's steps (tests/window/orca_speech.py: 100 nF at 1 kHz from the
keyboard, with what Orca must say at each step) on RUNS fresh starts of the
page, each in a Chromium of its own (chromium_app.sh). A step said in some
starts and not in others is a fault of the page's start: every run must
pass. Prints each run's transcript, then PASS or the runs that failed.

    orca_page.py RUNS
"""
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'window'))
import orca_speech  # noqa: E402

ORCA_END_S = 10


def main():
    runs = int(sys.argv[1])
    log = os.environ['ORCA_LOG']
    open(log, 'w').close()  # read before Orca has written its first line
    orca = subprocess.Popen(['/usr/bin/python3', os.path.join(HERE, 'orca_launcher.py'),
                             '--debug-file=' + log],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    failed = []
    try:
        # orca_speech plays the steps on the program it finds in its argv.
        sys.argv[1:] = [os.path.join(HERE, 'chromium_app.sh')]
        for run in range(1, runs + 1):
            print(f'Run {run} of {runs}:', flush=True)
            if orca_speech.main() != 0:
                failed.append(run)
    finally:
        orca.terminate()
        try:
            orca.wait(ORCA_END_S)
        except subprocess.TimeoutExpired:
            orca.kill()
            orca.wait()
    if failed:
        print(f'FAIL: runs {failed} of {runs} missed a step')
        return 1
    print(f'PASS: Orca said every step in each of {runs} runs')
    return 0


if __name__ == '__main__':
    sys.exit(main())
