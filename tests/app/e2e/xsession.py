"""The real program on its own Xvfb display, driven with xdotool as a pilot would.

Shared by the end-to-end scenarios and the screen benchmark. Every wait polls (the screen, the
program's output or a file), so a busy machine only makes a run slower. On failure the
screenshots and the program's stderr are kept and their place is printed.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from PIL import ImageGrab


class Failure(Exception):
    pass


def free_display():
    for number in range(90, 200):
        if not os.path.exists(f"/tmp/.X11-unix/X{number}") and not os.path.exists(f"/tmp/.X{number}-lock"):
            return number
    raise Failure("no free X display number")


def run(args, env, timeout=20):
    return subprocess.run(args, env=env, capture_output=True, text=True, timeout=timeout)


def wait_for(what, predicate, seconds, pause=0.2):
    deadline = time.time() + seconds
    while True:
        result = predicate()
        if result:
            return result
        if time.time() > deadline:
            raise Failure(f"timed out after {seconds:.0f} s waiting for {what}")
        time.sleep(pause)


def check(condition, text):
    if not condition:
        raise Failure(text)
    print(f"ok: {text}")


def stop(process):
    """SIGTERM first (the program treats it as a close request), SIGKILL as the last resort."""
    if process is None or process.poll() is not None:
        return
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(timeout=5)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(timeout=5)


def fraction(image, box, test):
    """Fraction of the pixels in box (x0, y0, x1, y1) for which test(r, g, b) holds."""
    pixels = list(image.crop(box).getdata())
    return sum(1 for p in pixels if test(*p[:3])) / max(1, len(pixels))


FRAME_RATE_LINE = r"Kestro: \d+ frames in [\d.]+ s, [\d.]+ fps"


class Session:
    """One program in a fresh run folder (Output/ and a link to the repository's Data/).

    Keys and clicks go either through XTEST to the window under the pointer (no window manager
    gives focus, so start() parks the pointer over the window) or, with window_events, straight
    to the program's window; settle is a pause after each key and click for scenarios that look
    once instead of polling.
    """

    def __init__(self, binary, repo, shots, window_events=False, settle=0.0, pointer=(512, 600)):
        self.binary = binary
        self.repo = repo
        self.shots = shots
        self.window_events = window_events
        self.settle = settle
        self.pointer = pointer
        self.work = tempfile.mkdtemp(prefix="kestro-e2e-")
        self.run_dir = os.path.join(self.work, "run")
        os.makedirs(os.path.join(self.run_dir, "Output"))
        os.symlink(os.path.join(repo, "Data"), os.path.join(self.run_dir, "Data"))
        self.env = dict(os.environ)
        self.stderr_path = os.path.join(self.work, "stderr.txt")
        self.xvfb = None
        self.kestro = None
        self.window = None
        self.count = 0
        self.last_shot = None  # path of the latest screenshot

    def start(self, wait_after=0.0):
        number = free_display()
        self.env["DISPLAY"] = f":{number}"
        self.env["KESTRO_NO_MESSAGE_BOX"] = "1"
        self.xvfb = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for("Xvfb", lambda: os.path.exists(f"/tmp/.X11-unix/X{number}"), 10)
        self.kestro = subprocess.Popen([self.binary], cwd=self.run_dir, env=self.env,
                                       stdout=subprocess.DEVNULL, stderr=open(self.stderr_path, "w"))

        def window():
            if self.kestro.poll() is not None:
                raise Failure(f"kestro ended at start-up with {self.kestro.returncode}")
            found = run(["xdotool", "search", "--name", "^Kestro"], self.env).stdout.split()
            return found[0] if found else None

        self.window = wait_for("the Kestro window", window, 30)
        if self.pointer:
            self.move(*self.pointer)
        time.sleep(wait_after)

    def stderr(self):
        if not os.path.exists(self.stderr_path):
            return ""
        with open(self.stderr_path) as f:
            return f.read()

    def alive(self):
        if self.kestro.poll() is not None:
            raise Failure(f"kestro ended unexpectedly with {self.kestro.returncode}")

    def xdotool(self, command, *args):
        target = ["--window", self.window] if self.window_events else []
        run(["xdotool", command] + target + [str(a) for a in args], self.env)

    def key(self, name):
        self.alive()
        self.xdotool("key", name)
        time.sleep(self.settle)

    def hold(self, name, seconds):
        self.alive()
        self.xdotool("keydown", name)
        time.sleep(seconds)
        self.xdotool("keyup", name)

    def resize(self, width, height):
        """As a window manager would when the pilot drags the window's corner."""
        self.alive()
        run(["xdotool", "windowsize", self.window, str(width), str(height)], self.env)

    def move(self, x, y):
        self.xdotool("mousemove", x, y)

    def click(self, x, y):
        self.alive()
        self.move(x, y)
        time.sleep(0.2)
        # Held for a moment: the program samples the buttons once per frame.
        self.xdotool("mousedown", 1)
        time.sleep(0.15)
        self.xdotool("mouseup", 1)
        time.sleep(self.settle)

    def screenshot(self, name):
        """The screen as an RGB image, also kept numbered in the screenshot folder."""
        self.alive()
        self.count += 1
        self.last_shot = os.path.join(self.shots or self.work, f"{self.count:02d}-{name}.png")
        image = ImageGrab.grab(xdisplay=self.env["DISPLAY"]).convert("RGB")
        image.save(self.last_shot, compress_level=1)
        return image

    def wait_screen(self, what, name, predicate, seconds=20):
        """Screenshots until predicate(image) holds; the last one is kept under name."""
        def look():
            image = self.screenshot(name)
            return image if predicate(image) else None
        return wait_for(what, look, seconds)

    def wait_line(self, what, pattern, seconds, after=0):
        """The first match of pattern in the program's stderr from character `after` on."""
        def look():
            self.alive()
            return re.compile(pattern).search(self.stderr(), after)
        return wait_for(what, look, seconds)

    def wait_exit(self, what, seconds):
        try:
            return self.kestro.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            raise Failure(f"{what} did not end the program")

    def close(self):
        stop(self.kestro)
        stop(self.xvfb)


def main(scenario, timeout, **options):
    """Runs scenario(session) from the command line: <kestro binary> <repository root>
    [screenshot folder]. Returns the exit code; the run folder is removed after a pass."""
    binary, repo = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    shots = sys.argv[3] if len(sys.argv) > 3 else None
    if shots:
        os.makedirs(shots, exist_ok=True)
    session = Session(binary, repo, shots, **options)
    signal.signal(signal.SIGALRM, lambda *_: (_ for _ in ()).throw(Failure("the whole run timed out")))
    signal.alarm(int(timeout))
    ok = False
    try:
        started = time.time()
        scenario(session)
        print(f"run time {time.time() - started:.0f} s")
        ok = True
        return 0
    except Failure as failure:
        print(f"FAILED: {failure}")
        print("--- kestro stderr (last lines) ---")
        print("\n".join(session.stderr().splitlines()[-40:]))
        print(f"screenshots in {session.shots or session.work}")
        return 1
    finally:
        signal.alarm(0)
        session.close()
        if ok and not shots:
            shutil.rmtree(session.work, ignore_errors=True)
