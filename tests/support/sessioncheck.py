"""What the tests that drive the installed game in a real session share:
how they fail, skip and wait, and the settings of a first run."""
import sys
import time

SKIP = 77  # CTest's skip
# The settings of a first run: the default board, at Slow.
STORED = "1,1,Sky.jpg,1,1,1200,1500,9550,6750,9435,6000\r\n"

_name = "session"


def named(name):
    """The name the messages of this test begin with."""
    global _name
    _name = name


def fail(message):
    print(_name + ": " + message, file=sys.stderr)
    raise SystemExit(1)


def skip(message):
    print(_name + ": skipped: " + message)
    raise SystemExit(SKIP)


def wait_for(what, check, timeout=20.0, step=0.1, detail=None):
    """`check()` once it is true; fails after `timeout` seconds, saying
    `detail()` when given (what there was instead)."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = check()
        if value:
            return value
        time.sleep(step)
    fail("timed out waiting for " + what + (": " + str(detail()) if detail else ""))
