#!/usr/bin/python3
"""Boards played as a screen-reader player plays them.

Installs the built game into a temporary prefix, starts it under Xvfb and
openbox on a private D-Bus session with the accessibility bus, and plays two
whole boards, reading the cards from the accessibility tree and remembering
them by the names they show once turned:

- the board dealt at start-up with the keyboard alone (real X key presses:
  Tab to the board, the arrows to a card, Space to turn it), then on through
  the result to the winner entry, where the name is typed, and to the
  high-score table, which must show it;
- a board of 4 pairs, chosen from the Board Size menu, turned by the cards'
  press actions.

Checks that a face-down card never tells its picture, that the status line
says each match and miss, and that it says the result, also in the
notification a screen reader speaks.

Exit status 77 (a CTest skip) when the display, window manager, D-Bus or
AT-SPI tools are missing.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from sessioncheck import SKIP, STORED, fail, named, skip, wait_for  # noqa: E402

named("atspi play")


def find(node, test, depth=0):
    if node is None or depth > 12:
        return None
    try:
        if test(node):
            return node
        for i in range(node.childCount):
            hit = find(node.getChildAtIndex(i), test, depth + 1)
            if hit:
                return hit
    except Exception:
        return None
    return None


def picture(card):
    # "Card 5, row 2, column 1, moon" / "..., moon, matched" / "..., face down"
    parts = card.name.split(", ")
    if len(parts) < 4 or parts[3] == "face down":
        return None
    return parts[3]


def start_x(work, procs):
    """An X server on a display number it picks itself (-displayfd), so
    two sessions started at once on one machine never share one."""
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24"],
                            pass_fds=(write,), stderr=open(os.path.join(work, "xvfb.log"), "w"))
    os.close(write)
    procs.append(xvfb)
    with os.fdopen(read) as f:
        number = f.readline().strip()  # written once the server accepts clients
    if not number.isdigit():
        fail("the X server did not start")
    return ":" + number


def press_action(node, what):
    action = node.queryAction()
    names = [action.getName(k).lower() for k in range(action.nActions)]
    if "press" not in names:
        fail("no press action on %s: %s" % (what, names))
    action.doAction(names.index("press"))


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "40"] + list(keys), check=True)


def active_title():
    return subprocess.run(["xdotool", "getactivewindow", "getwindowname"], capture_output=True,
                          text=True).stdout.strip()


def keyboard_presser(cards, pyatspi):
    """Turns card i as a keyboard player does: Tab brings the focus to the
    board, Right walks the cards in reading order, Space turns the one with
    the frame."""
    def focused():
        for i, c in enumerate(cards):
            if c.getState().contains(pyatspi.STATE_FOCUSED):
                return i
        return None

    def press(i):
        if focused() is None:
            for _ in range(12):
                key("Tab")
                if wait_for_quietly(lambda: focused() is not None):
                    break
            else:
                fail("Tab never brought the focus to a card")
        for _ in range((i - focused()) % len(cards)):
            key("Right")
        wait_for("the focus on card %d" % i, lambda: focused() == i)
        key("space")
    return press


def wait_for_quietly(check, timeout=1.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if check():
            return True
        time.sleep(0.05)
    return False


def play(board, status, pyatspi, press=None):
    cards = [board.getChildAtIndex(i) for i in range(board.childCount)]
    if len(cards) < 8 or any(c.getRole() != pyatspi.ROLE_PUSH_BUTTON for c in cards):
        fail("the board is not a set of buttons: %d" % len(cards))
    for c in cards:
        if not c.name.endswith(", face down"):
            fail("a card of a fresh board is not face down: " + c.name)

    if press is None:
        def press(i):
            press_action(cards[i], cards[i].name)
    else:
        press = press(cards, pyatspi)

    def matched(i):
        return cards[i].name.endswith(", matched")

    def turn(i):
        press(i)
        return wait_for("card %d to show its picture" % i, lambda: picture(cards[i]))

    def check_no_leak():
        shown = {picture(c) for c in cards if picture(c)}
        for c in cards:
            if picture(c) is None and any(p and p in c.name for p in shown):
                fail("a face-down card names a picture: " + c.name)

    seen = {}  # picture -> the card that showed it and went down again
    said = set()
    while not all(matched(i) for i in range(len(cards))):
        down = [i for i in range(len(cards)) if not matched(i) and i not in seen.values()]
        a = down[0] if down else next(iter(seen.values()))
        p = turn(a)
        if p in seen:
            b = seen.pop(p)
        else:
            rest = [i for i in down if i != a and i not in seen.values()]
            b = rest[0]
        q = turn(b)
        if q == p:
            wait_for("the match said", lambda: status.name.startswith("Match: " + p))
            said.add("match")
        else:
            wait_for("the miss said", lambda: status.name.startswith("No match."))
            said.add("miss")
            seen[p] = a
            seen.setdefault(q, b)
            # The missed pair goes down again after the delay.
            wait_for("the missed pair down",
                     lambda: picture(cards[a]) is None and picture(cards[b]) is None, 10)
        check_no_leak()
    wait_for("the result said", lambda: "Board complete." in status.name)
    return said, status.name


NAME = "Kim Keys"


def winner(application, data, pyatspi):
    """From the end of a board to the high-score table with the keyboard:
    whatever window comes up front is answered as a player would."""
    end = time.monotonic() + 60
    while time.monotonic() < end:
        title = active_title()
        if title == "Board Completed":
            key("Return")
        elif title.startswith("Congratulations"):
            key("ctrl+a")
            subprocess.run(["xdotool", "type", "--delay", "40", NAME], check=True)
            key("Return")
        elif title == "High Scores":
            break
        time.sleep(0.3)
    else:
        fail("the high-score table never came up; in front: " + active_title())
    table = wait_for("the high-score table in the tree", lambda: find(
        application, lambda n: n.getRole() == pyatspi.ROLE_TABLE and n.name == "High scores"))
    first = table.queryTable().getAccessibleAt(0, 1)
    wait_for("the name in the first row", lambda: first.name == NAME)
    with open(os.path.join(data, "best.txt"), encoding="utf-8") as f:
        if not f.read().startswith(NAME + ","):
            fail("best.txt does not begin with the name typed")
    key("Return")
    wait_for("the game window back in front", lambda: active_title().startswith("Tavimo"))


def main():
    if len(sys.argv) != 2:
        fail("usage: atspi_play_test.py BUILD_DIR")
    for tool in ("Xvfb", "openbox", "dbus-run-session", "xdotool"):
        if not shutil.which(tool):
            skip(tool + " is not installed")
    if not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        skip("at-spi2-core is not installed")
    try:
        import pyatspi
    except ImportError:
        skip("python3-pyatspi is not installed")
    if "TAVIMO_ATSPI_SESSION" not in os.environ:
        # A private session bus, so the accessibility bus is ours alone.
        env = dict(os.environ, TAVIMO_ATSPI_SESSION="1")
        raise SystemExit(subprocess.call(["dbus-run-session", "--", sys.executable] + sys.argv,
                                         env=env))

    build = os.path.abspath(sys.argv[1])
    work = tempfile.mkdtemp(prefix="tavimo-atspi-")
    procs = []
    try:
        prefix = os.path.join(work, "prefix")
        subprocess.run(["cmake", "--install", build, "--prefix", prefix], check=True,
                       stdout=subprocess.DEVNULL)
        display = start_x(work, procs)
        os.environ["DISPLAY"] = display
        procs.append(subprocess.Popen(["openbox"], stderr=subprocess.DEVNULL))

        home = os.path.join(work, "player")
        data = os.path.join(home, "data", "tavimo")
        os.makedirs(data)
        os.makedirs(os.path.join(home, "runtime"), 0o700)
        with open(os.path.join(data, "init.txt"), "w", newline="") as f:
            f.write(STORED)
        env = dict(os.environ, HOME=home, XDG_DATA_HOME=os.path.join(home, "data"),
                   XDG_CONFIG_HOME=os.path.join(home, "config"),
                   XDG_CACHE_HOME=os.path.join(home, "cache"),
                   XDG_RUNTIME_DIR=os.path.join(home, "runtime"), QT_QPA_PLATFORM="xcb",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_LOGGING_RULES="qt.multimedia*=false")
        log = open(os.path.join(work, "game.log"), "w")
        game = subprocess.Popen([os.path.join(prefix, "games", "tavimo")], env=env, stdout=log,
                                stderr=subprocess.STDOUT)
        procs.append(game)

        desktop = pyatspi.Registry.getDesktop(0)

        def app():
            for i in range(desktop.childCount):
                a = desktop.getChildAtIndex(i)
                if a is not None and a.name == "tavimo":
                    return a
            return None

        application = wait_for("the game on the accessibility bus", app, 60)

        def board(cards):
            b = find(application, lambda n: n.name == "Board" and n.childCount == cards)
            return b if b and all(b.getChildAtIndex(i).name.endswith("face down")
                                  for i in range(b.childCount)) else None

        # The first board has 8 pairs: played with the keyboard alone, from
        # start-up to the name in the high-score table.
        first = wait_for("the dealt board", lambda: board(16), 60)
        status = find(application, lambda n: n.getRole() == pyatspi.ROLE_STATUS_BAR)
        if status is None:
            fail("no status line in the game window")
        wait_for("the game window active", lambda: active_title().startswith("Tavimo"), 30,
                 detail=active_title)
        _, first_result = play(first, status, pyatspi, keyboard_presser)
        winner(application, data, pyatspi)
        print("atspi play: %d cards played with the keyboard (%s), %s first in the high scores"
              % (first.childCount, first_result, NAME))

        # The Board Size menu deals one of 4, played by the cards' actions.
        size = find(application, lambda n: n.getRole() == pyatspi.ROLE_MENU_ITEM
                    and n.name.strip() == "4x2")
        if size is None:
            fail("no 4x2 item in the Board Size menu")
        press_action(size, "the 4x2 menu item")
        board_node = wait_for("the board of 4 pairs", lambda: board(8), 60)
        said, result = play(board_node, status, pyatspi)
        # What a screen reader speaks: the line as a notification that shows.
        note = status.getChildAtIndex(0) if status.childCount else None
        if note is None or note.getRole() != pyatspi.ROLE_NOTIFICATION or note.name != result:
            fail("the result is not in the status line's notification")
        if "match" not in said:
            fail("no match was said")
        print("atspi play: %d cards played from the tree; said %s; result: %s"
              % (board_node.childCount, ", ".join(sorted(said)), result))
    except SystemExit as e:
        if e.code not in (0, SKIP):
            for name in ("game.log", "xvfb.log"):
                path = os.path.join(work, name)
                if os.path.exists(path):
                    print(open(path).read()[-3000:], file=sys.stderr)
        raise
    finally:
        for p in reversed(procs):
            p.terminate()
            try:
                p.wait(10)
            except subprocess.TimeoutExpired:
                p.kill()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
