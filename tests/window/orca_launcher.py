"""Orca as /usr/bin/orca starts it, beside any other Orca of the same user,
writing its debug log line by line.

    orca_launcher.py [Orca's options]

Orca's launcher refuses to start while another Orca of this user runs
anywhere, and names itself "orca" so that any other refuses to start beside
it; and it flushes its debug log only when the buffer is full. The Orca test
has an X server, a D-Bus session and a home of its own, where no other Orca
hears it or is heard, and reads the log as it is written.
"""
import builtins
import sys

ORCA = '/usr/bin/orca'

with open(ORCA, encoding='utf-8') as source:
    code = compile(source.read(), ORCA, 'exec')
launcher = {'__name__': 'orca_launcher', '__file__': ORCA}
exec(code, launcher)  # defines the launcher's functions; its main() is not run here
launcher['otherOrcas'] = lambda: []
launcher['setProcessName'] = lambda name: False
launcher['open'] = lambda path, mode='r': builtins.open(path, mode, buffering=1)
sys.exit(launcher['main']())
