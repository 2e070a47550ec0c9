#!/usr/bin/env python3
"""The game as a native client of a headless Wayland compositor.

Installs the built game into a temporary prefix and runs it under a headless
sway whose windows float and draw their own title bars (as on GNOME), driven
by a virtual keyboard (wtype) and the compositor's own commands (swaymsg):

- the game window keeps its place after F7 + Escape, High Scores + Return
  and F5 (no client may place its own window: the game window is never
  made anew or hidden);
- the clock in the client-drawn title bar moves after the first card;
- the board is played to the end by keys, and the name typed into the winner
  entry reaches best.txt, the board window activated meanwhile (what a click
  on it does; under sway the entry keeps the keyboard either way, so the
  entry's own share is proven by the unit test, not here);
- with About open the compositor closes every window of the game: it does
  not crash; closed once more it asks the exit question, and Yes ends it with
  status 0;
- init.txt keeps the stored window position (Wayland tells no client where
  its window stands) and the chosen size.

sway refuses to run as root: as root the compositor runs as a throw-away
system user and everything else as root, connecting to its socket.
Exit status 77 (a CTest skip) when the compositor or its tools are missing.
Usage: wayland_session_test.py BUILD_DIR
"""
import glob
import json
import os
import pwd
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from sessioncheck import SKIP, STORED, fail, named, skip, wait_for  # noqa: E402

named("wayland session")

USER = "tavimo-wayland"


class Session:
    def __init__(self, work, build):
        self.work = work
        self.build = build
        self.procs = []
        self.game = None

    # ---- the compositor ----
    def start_compositor(self):
        runtime = os.path.join(self.work, "compositor")
        os.mkdir(runtime, 0o700)
        config = os.path.join(self.work, "sway.conf")
        with open(config, "w") as f:
            f.write("output HEADLESS-1 resolution 1280x1024\n"
                    "xwayland disable\n"
                    # Floating windows that draw their own title bars, as on GNOME.
                    "for_window [app_id=\".*\"] floating enable, border csd\n"
                    # A window asking for the focus gets it, as on GNOME and
                    # Plasma (sway's own default only marks it urgent).
                    "focus_on_window_activation focus\n")
        os.chmod(config, 0o644)
        run_as = []
        if os.geteuid() == 0:
            try:
                pwd.getpwnam(USER)
            except KeyError:
                subprocess.run(["useradd", "--system", "--no-create-home",
                                "--shell", "/usr/sbin/nologin", USER], check=True)
            shutil.chown(runtime, USER, USER)
            run_as = ["runuser", "-u", USER, "--"]
        env = ["env", "-i", "PATH=/usr/bin:/bin", "XDG_RUNTIME_DIR=" + runtime,
               "WLR_BACKENDS=headless", "WLR_LIBINPUT_NO_DEVICES=1", "WLR_RENDERER=pixman"]
        log = open(os.path.join(self.work, "sway.log"), "w")
        self.procs.append(subprocess.Popen(run_as + env + ["sway", "-c", config],
                                           stdout=log, stderr=log, start_new_session=True))
        self.display = os.path.join(runtime, "wayland-1")
        socks = wait_for("sway to start", lambda: os.path.exists(self.display) and
                         glob.glob(os.path.join(runtime, "sway-ipc.*.sock")), 15)
        self.env = dict(os.environ, WAYLAND_DISPLAY=self.display, SWAYSOCK=socks[0])
        # One keyboard for the whole session: a keyboard that comes and goes
        # with each wtype call would leave the seat without one in between,
        # and the client drops its keyboard with it.
        self.procs.append(subprocess.Popen(["wtype", "-s", "3600000"], env=self.env,
                                           start_new_session=True))
        wait_for("the virtual keyboard", lambda: self.seat_has_keyboard(), 10)

    def swaymsg(self, *args):
        out = subprocess.run(["swaymsg"] + list(args), env=self.env, check=True,
                             stdout=subprocess.PIPE).stdout
        return json.loads(out) if out.strip() else None

    def seat_has_keyboard(self):
        return any(s["capabilities"] & 2 for s in self.swaymsg("-t", "get_seats"))

    def windows(self):
        found = []

        def walk(node):
            if node.get("pid") == self.game.pid and node.get("name") is not None:
                found.append(node)
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                walk(child)
        walk(self.swaymsg("-t", "get_tree"))
        return found

    def window(self, title_start):
        for w in self.windows():
            if w["name"].startswith(title_start):
                return w
        return None

    def key(self, *names):
        for name in names:
            subprocess.run(["wtype", "-k", name], env=self.env, check=True)
            time.sleep(0.12)

    def type(self, text):
        subprocess.run(["wtype", "-d", "40", text], env=self.env, check=True)
        time.sleep(0.2)

    def shot(self, rect, name):
        path = os.path.join(self.work, name)
        geometry = "%d,%d %dx%d" % (rect["x"], rect["y"], rect["width"], rect["height"])
        subprocess.run(["grim", "-g", geometry, path], env=self.env, check=True)
        with open(path, "rb") as f:
            return f.read()

    # ---- the game ----
    def start_game(self, prefix):
        home = os.path.join(self.work, "player")
        self.data = os.path.join(home, "data", "tavimo")
        os.makedirs(self.data)
        os.makedirs(os.path.join(home, "runtime"), 0o700)
        with open(os.path.join(self.data, "init.txt"), "w", newline="") as f:
            f.write(STORED)
        env = {"PATH": os.environ["PATH"], "HOME": home,
               "XDG_DATA_HOME": os.path.join(home, "data"),
               "XDG_CONFIG_HOME": os.path.join(home, "config"),
               "XDG_CACHE_HOME": os.path.join(home, "cache"),
               "XDG_RUNTIME_DIR": os.path.join(home, "runtime"),
               "WAYLAND_DISPLAY": self.display, "QT_QPA_PLATFORM": "wayland",
               "QT_LOGGING_RULES": "qt.multimedia*=false", "TAVIMO_PRINT_BOARD": "1"}
        for v in ("ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"):
            if v in os.environ:
                env[v] = os.environ[v]
        self.game_log = os.path.join(self.work, "game.log")
        self.game = subprocess.Popen([os.path.join(prefix, "games", "tavimo")], env=env,
                                     stdout=open(self.game_log, "w"), stderr=subprocess.STDOUT)
        wait_for("the game window", lambda: self.window("Tavimo") and self.board(), 60)

    def board(self):
        with open(self.game_log) as f:
            lines = [l for l in f if l.startswith("board ")]
        return lines[-1] if lines else None

    def alive(self):
        return self.game.poll() is None

    def stop(self):
        if self.game and self.alive():
            self.game.kill()
            self.game.wait()
        for p in reversed(self.procs):
            try:
                os.killpg(p.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            p.wait()


def game_rect(s):
    w = s.window("Tavimo")
    return (w["rect"]["x"], w["rect"]["y"]) if w else None


def check_place(s):
    """The player moves the game window away from where the compositor put
    it; each step that used to make the window anew leaves it there."""
    wait_for("the game window to take the keyboard",
             lambda: (s.window("Tavimo") or {}).get("focused"), 10)
    s.swaymsg("[pid=%d title=\"^Tavimo\"] move position 40 60" % s.game.pid)
    place = wait_for("the game window to move",
                     lambda: (lambda r: r if r and r[0] < 100 and r[1] < 120 else None)(
                         game_rect(s)), 5)

    def stays(after):
        # The last word is the compositor's: a window it placed anew comes
        # back at its centre, hundreds of pixels away.
        time.sleep(0.5)
        now = game_rect(s)
        if not now or abs(now[0] - place[0]) > 4 or abs(now[1] - place[1]) > 4:
            fail("the game window moved from %s to %s after %s" % (place, now, after))
        wait_for("the game window to take the keyboard after " + after,
                 lambda: (s.window("Tavimo") or {}).get("focused"), 10)

    s.key("F7")
    wait_for("the configuration window", lambda: s.window("BOARD CONFIGURATION"), 10)
    wait_for("the configuration window to take the keyboard",
             lambda: (s.window("BOARD CONFIGURATION") or {}).get("focused"), 5)
    s.key("Escape")
    wait_for("the configuration window to close",
             lambda: not s.window("BOARD CONFIGURATION"), 10)
    stays("F7 + Escape")

    subprocess.run(["wtype", "-M", "alt", "-k", "s", "-m", "alt"], env=s.env, check=True)
    wait_for("the high-score window", lambda: s.window("High Scores"), 10)
    s.swaymsg("[pid=%d title=\"^High Scores\"] focus" % s.game.pid)
    wait_for("the high-score window to take the keyboard",
             lambda: (s.window("High Scores") or {}).get("focused"), 5)
    s.key("Return")
    wait_for("the high-score window to close", lambda: not s.window("High Scores"), 10)
    stays("High Scores + Return")

    before = s.board()
    s.key("F5")
    wait_for("the next board", lambda: s.board() != before, 60)
    stays("F5")


def check_clock(s):
    """After the first card the clock runs: the title bar, drawn by the game,
    must show it changing, second by second. The bar is first read once the
    keyboard has settled (a key's focus change repaints it by itself)."""
    w = wait_for("the game window", lambda: s.window("Tavimo    Score"), 10)
    bar = dict(w["rect"], height=24)
    time.sleep(1.5)
    shots = [s.shot(bar, "title0.png")]
    for n in (1, 2):
        shots.append(wait_for("the clock to move in the title bar",
                              lambda: (lambda b: b if b != shots[-1] else None)(
                                  s.shot(bar, "title%d.png" % n)), 3))


def play_board(s):
    """Plays the dealt board by keys, every pair at the first try; checks the
    clock after the first card."""
    line = s.board()
    pairs = int(line.split(":")[0].split()[1])
    slots = [int(x) for x in line.split(":")[1].split()]
    cards = 2 * pairs
    s.key("Left")  # the first arrow shows the focus on the first slot
    at = 0
    for k in range(pairs):
        for card in (k, k + pairs):
            s.key(*["Right"] * ((slots[card] - at) % cards))
            at = slots[card]
            s.key("space")
            if card == 0:
                check_clock(s)
        time.sleep(0.2)


def check_winner(s):
    wait_for("the winner entry", lambda: s.window("Congratulations"), 15)
    wait_for("the winner entry to take the keyboard",
             lambda: (s.window("Congratulations") or {}).get("focused"), 5)
    time.sleep(0.6)  # the entry puts the focus into the name box after 400 ms
    s.type("Ann")
    # What a click on the board does: the compositor activates the board.
    s.swaymsg("[pid=%d title=\"^Tavimo \"] focus" % s.game.pid)
    wait_for("the winner entry to take the keyboard back",
             lambda: (s.window("Congratulations") or {}).get("focused"), 5)
    s.type("ie")
    s.key("Return")
    wait_for("the high-score window", lambda: s.window("High Scores"), 10)
    best = os.path.join(s.data, "best.txt")
    with open(best) as f:
        table = f.read()
    if not table.startswith("Annie,"):
        fail("best.txt does not start with the name typed: " + table[:40])
    # The player clicks it (where it opens with the focus is not checked here).
    s.swaymsg("[pid=%d title=\"^High Scores\"] focus" % s.game.pid)
    wait_for("the high-score window to take the keyboard",
             lambda: (s.window("High Scores") or {}).get("focused"), 5)
    s.key("Return")
    wait_for("the high-score window to close", lambda: not s.window("High Scores"), 10)


def check_close_everything(s):
    wait_for("the game window to take the keyboard",
             lambda: (s.window("Tavimo") or {}).get("focused"), 10)
    subprocess.run(["wtype", "-M", "alt", "-k", "h", "-m", "alt"], env=s.env, check=True)
    time.sleep(0.3)
    s.key("a")
    wait_for("About", lambda: s.window("About Tavimo"), 10)
    # A dock's Quit or a logout: every window of the game is asked to close.
    s.swaymsg("[pid=%d] kill" % s.game.pid)
    time.sleep(1.5)
    if not s.alive():
        if s.game.returncode != 0:
            fail("closing every window ended the game with status %d" % s.game.returncode)
        return
    wait_for("About to close", lambda: not s.window("About Tavimo"), 5)
    # The exit question, unless the close of a window it blocked closed it
    # too (then it answered No): the game window closed once more asks it.
    question = lambda: [w for w in s.windows() if w["name"] == "Tavimo"]
    if not question():
        s.swaymsg("[pid=%d] kill" % s.game.pid)
    wait_for("the exit question", question, 10)
    wait_for("the exit question to take the keyboard", lambda: question()[0]["focused"], 5)
    s.key("Return")  # Yes
    try:
        code = s.game.wait(20)
    except subprocess.TimeoutExpired:
        fail("Yes to the exit question did not end the game")
    if code != 0:
        fail("the game ended with status %d" % code)


def check_settings(s):
    with open(os.path.join(s.data, "init.txt"), newline="") as f:
        fields = f.read().strip().split(",")
    stored = STORED.strip().split(",")
    if fields[5:7] != stored[5:7]:
        fail("init.txt position %s, stored %s" % (fields[5:7], stored[5:7]))
    if fields[7:9] != stored[7:9]:
        fail("init.txt size %s, chosen %s" % (fields[7:9], stored[7:9]))


def main():
    if len(sys.argv) != 2:
        fail("usage: wayland_session_test.py BUILD_DIR")
    for tool in ("sway", "swaymsg", "wtype", "grim"):
        if not shutil.which(tool):
            skip(tool + " is not installed")
    if not glob.glob("/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so"):
        skip("Qt's Wayland platform plugin is not installed")
    build = os.path.abspath(sys.argv[1])
    work = tempfile.mkdtemp(prefix="tavimo-wayland-")
    os.chmod(work, 0o755)  # the compositor's user reads its configuration here
    s = Session(work, build)
    try:
        prefix = os.path.join(work, "prefix")
        subprocess.run(["cmake", "--install", build, "--prefix", prefix], check=True,
                       stdout=subprocess.DEVNULL)
        s.start_compositor()
        s.start_game(prefix)
        check_place(s)
        play_board(s)
        check_winner(s)
        check_close_everything(s)
        check_settings(s)
        print("wayland session: place, clock, winner entry, close of every window, settings: ok")
    except SystemExit as e:
        if e.code not in (0, SKIP):
            for log in ("game.log", "sway.log"):
                path = os.path.join(work, log)
                if os.path.exists(path):
                    print("---- " + log, file=sys.stderr)
                    print(open(path).read()[-3000:], file=sys.stderr)
        raise
    finally:
        s.stop()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
