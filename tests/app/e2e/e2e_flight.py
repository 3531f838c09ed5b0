#!/usr/bin/python3
"""The flight screen driven under Xvfb as a pilot would, with xdotool keys and clicks.

Checks: the fly entry of the main menu opens the flight screen (menu bar, gauges, grass and the
red trainer in the middle); each camera mode key lights its button of the camera bar, and the
onboard camera shows sky, terrain and the model; the panel key hides and shows the gauges, which
lie below the menu bar; throttle and elevator keys make the trainer take off (the height the
program reports when Space puts the model back) and Space leaves it on the ground; the exit entry
of the menu bar's Application list ends the program with exit code 0. Prints the frame-rate line
the program writes at exit.

Every step waits by polling screenshots or the program's output, so a busy machine only makes
it slower. Keys go through XTEST (plain `xdotool key`) to the window under the pointer.

Usage: e2e_flight.py <kestro binary> <repository root> [screenshot folder]
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

TIMEOUT = 170.0  # s for the whole run; everything is killed after it

# Screen geometry of the flight screen at 1024 x 768 (window pixels).
CAMERA_BAR_Y = 768 - 24         # the camera buttons' top edge, bottom-left of the main view
CAMERA_BUTTONS = {"B_MAN": 104, "B_FEET": 128, "B_ANCHOR": 152, "B_KEYS": 176}
PANEL = (2, 22, 636, 96)        # the gauges' row (x0, y0, x1, y1), below the menu bar
APP_TITLE = (40, 8)             # "Application"
MENU_TITLES = {"Debug": 570, "Controller": 482, "Recording": 377, "Ambient": 285, "Model": 210, "View": 150}
APP_LIST = (8, 22, 160, 174)    # its drop-down list
EXIT_ENTRY = (40, 167)          # its last entry


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


# ------------------------------------------------------------------ what a person sees

def fraction(image, box, test):
    """Fraction of the pixels in box (x0, y0, x1, y1) for which test(r, g, b) holds."""
    pixels = list(image.crop(box).getdata())
    return sum(1 for p in pixels if test(*p[:3])) / max(1, len(pixels))


def is_grass(r, g, b):
    return g > r + 10 and g > b + 25


def is_sky(r, g, b):
    return b > r + 25 and b > 120


def is_trainer_red(r, g, b):
    return r > 140 and g < 90 and b < 90


def is_dark(r, g, b):
    """The near-black grey of gauge faces and menu lists (shaded trees are green)."""
    return max(r, g, b) < 60 and abs(r - g) < 15 and abs(g - b) < 15


def is_amber(r, g, b):
    return r > 200 and 120 < g < 215 and b < 100


def lit_buttons(image):
    """The camera buttons shown switched on: their lit plate shows as an amber rim above them."""
    lit = []
    for name, x in CAMERA_BUTTONS.items():
        if fraction(image, (x + 3, CAMERA_BAR_Y - 2, x + 21, CAMERA_BAR_Y), is_amber) > 0.6:
            lit.append(name)
    return lit


class Session:
    def __init__(self, binary, repo, shots):
        self.binary = binary
        self.shots = shots
        self.work = tempfile.mkdtemp(prefix="kestro-e2e-flight-")
        self.run_dir = os.path.join(self.work, "run")
        os.makedirs(os.path.join(self.run_dir, "Output"))
        os.symlink(os.path.join(repo, "Data"), os.path.join(self.run_dir, "Data"))
        self.env = dict(os.environ)
        self.stderr_path = os.path.join(self.work, "stderr.txt")
        self.xvfb = None
        self.kestro = None
        self.count = 0

    def start(self):
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
            return run(["xdotool", "search", "--name", "^Kestro"], self.env).stdout.split()

        wait_for("the Kestro window", window, 30)
        # Keys go to the window under the pointer (no window manager gives focus).
        self.move(512, 600)

    def stderr(self):
        with open(self.stderr_path) as f:
            return f.read()

    def alive(self):
        if self.kestro.poll() is not None:
            raise Failure(f"kestro ended unexpectedly with {self.kestro.returncode}")

    def key(self, name):
        self.alive()
        run(["xdotool", "key", name], self.env)

    def hold(self, name, seconds):
        self.alive()
        run(["xdotool", "keydown", name], self.env)
        time.sleep(seconds)
        run(["xdotool", "keyup", name], self.env)

    def move(self, x, y):
        run(["xdotool", "mousemove", str(x), str(y)], self.env)

    def click(self, x, y):
        self.alive()
        self.move(x, y)
        time.sleep(0.2)
        # Held for a moment: the program samples the buttons once per frame.
        run(["xdotool", "mousedown", "1"], self.env)
        time.sleep(0.15)
        run(["xdotool", "mouseup", "1"], self.env)

    def screenshot(self, name):
        self.alive()
        self.count += 1
        path = os.path.join(self.shots or self.work, f"{self.count:02d}-{name}.png")
        image = ImageGrab.grab(xdisplay=self.env["DISPLAY"]).convert("RGB")
        image.save(path, compress_level=1)  # kept for whoever looks into a failure
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

    def close(self):
        stop(self.kestro)
        stop(self.xvfb)


# ------------------------------------------------------------------ the scenario

def flight_screen(image):
    return fraction(image, (0, 560, 1024, 700), is_grass) > 0.6 and fraction(image, PANEL, is_dark) > 0.25


def check_start(session):
    session.screenshot("main-menu")
    session.key("Return")  # the fly entry has the focus
    shot = session.wait_screen("the flight screen", "flight", flight_screen, 60)
    check(True, "the fly entry opens the flight screen: gauges and grass")
    red = fraction(shot, (362, 234, 662, 534), is_trainer_red)
    check(red > 0.008, f"the red trainer stands in the middle of the view ({red:.1%} red)")
    check(lit_buttons(shot) == ["B_MAN"], f"the pilot camera's button is lit at the start ({lit_buttons(shot)})")


def check_camera_keys(session):
    presses = [("KP_Divide", "B_FEET"), ("KP_Multiply", "B_KEYS"), ("ctrl+KP_Divide", "B_ANCHOR"),
               ("Num_Lock", "B_MAN")]
    for key, button in presses:
        session.key(key)
        shot = session.wait_screen(f"{button} to light after {key}", "camera-" + button,
                                   lambda image: lit_buttons(image) == [button], 15)
        check(True, f"{key} lights {button} alone")
        if button == "B_ANCHOR":
            # The button lights in the frame of the key; the camera moves in the next.
            time.sleep(1.0)
            shot = session.screenshot("onboard")
            # On board, behind the model: sky above, the field below, the trainer in between.
            sky = fraction(shot, (0, 110, 1024, 160), is_sky)
            ground = fraction(shot, (0, 620, 1024, 730), is_grass)
            red = fraction(shot, (312, 234, 712, 534), is_trainer_red)
            check(sky > 0.5 and ground > 0.5 and red > 0.01,
                  f"the onboard camera shows sky ({sky:.0%}), terrain ({ground:.0%}) and the model ({red:.1%})")
            # The whole view is drawn: no band of haze where the ground should be.
            check(fraction(shot, (0, 700, 1024, 740), is_grass) > 0.6, "the ground reaches the bottom of the view")


def check_panel_toggle(session):
    session.key("1")
    session.wait_screen("the panel to go", "panel-off", lambda image: fraction(image, PANEL, is_dark) < 0.08, 15)
    check(True, "the panel key hides the gauges")
    session.key("1")
    session.wait_screen("the panel to return", "panel-on", lambda image: fraction(image, PANEL, is_dark) > 0.25, 15)
    check(True, "the panel key shows them again")


def check_take_off(session):
    """Keys are held by the clock, but below 20 fps the simulation runs slower than the clock:
    the holds are long enough for a slow machine (the throttle stops at its ends), and the climb
    is waited for on the screen."""
    after = len(session.stderr())
    session.key("KP_Decimal")  # the camera back to the pilot's place
    session.hold("s", 4.0)     # throttle back: the engine starts
    session.hold("w", 5.0)     # full throttle
    session.hold("Down", 1.0)  # a short pull; the trainer climbs out at full throttle
    # From the pilot's place the climbing trainer is seen against the sky.
    session.wait_screen("the trainer to climb into the sky", "airborne",
                        lambda image: fraction(image, (412, 284, 612, 484), is_sky) > 0.7, 60)
    session.hold("s", 4.0)     # throttle back, so the model stays where Space puts it
    session.key("space")
    line = session.wait_line("the reset line", r"reset, highest ([\d.]+) m", 15, after)
    height = float(line.group(1))
    check(height > 5.0, f"the trainer took off: {height:.1f} m above the ground before Space")

    # Back at the start: the pilot turns to it, standing on the grass again.
    session.wait_screen("the trainer on the ground in view", "after-reset",
                        lambda image: fraction(image, (362, 234, 662, 534), is_trainer_red) > 0.008 and
                        fraction(image, (362, 434, 662, 534), is_grass) > 0.5, 30)
    check(True, "Space puts the trainer back at the start, in front of the pilot")
    session.key("space")
    line = session.wait_line("the second reset line", r"reset, highest ([\d.]+) m", 15, line.end())
    height = float(line.group(1))
    check(height < 1.5, f"it stayed on the ground since ({height:.1f} m)")


def is_menu_list(r, g, b):
    """The blue-black of the drop-down lists (the gauges under them are greyer or blacker)."""
    return 19 <= r <= 29 and 22 <= g <= 31 and 30 <= b <= 39 and 6 <= b - r <= 12


def list_under(x):
    """A drop-down list hangs under the title at x."""
    return lambda image: fraction(image, (x - 20, 22, x + 40, 80), is_menu_list) > 0.3


def check_menus(session):
    for title, x in MENU_TITLES.items():
        session.click(x, 8)
        session.wait_screen(f"the {title} list", "menu-" + title, list_under(x), 15)
        check(True, f"the {title} title opens its list")
    session.click(600, 500)  # on the field: closes it
    session.wait_screen("the lists to close", "menus-closed",
                        lambda image: fraction(image, (0, 22, 620, 80), is_menu_list) < 0.08, 15)


def check_exit(session):
    session.click(*APP_TITLE)
    session.wait_screen("the Application list", "application-menu",
                        lambda image: fraction(image, APP_LIST, is_menu_list) > 0.3, 15)
    check(True, "the Application title opens its list of entries")
    session.move(*EXIT_ENTRY)
    time.sleep(0.5)
    session.screenshot("exit-entry")
    session.click(*EXIT_ENTRY)
    try:
        code = session.kestro.wait(timeout=30)
    except subprocess.TimeoutExpired:
        raise Failure("the exit entry did not end the program")
    check(code == 0, f"the exit entry ends the program with exit code 0 (got {code})")
    line = re.search(r"Kestro: \d+ frames in [\d.]+ s, [\d.]+ fps", session.stderr())
    check(line is not None, "the program reports its frame rate at exit")
    print(line.group(0))


def main():
    binary, repo = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    shots = sys.argv[3] if len(sys.argv) > 3 else None
    if shots:
        os.makedirs(shots, exist_ok=True)
    session = Session(binary, repo, shots)
    signal.signal(signal.SIGALRM, lambda *_: (_ for _ in ()).throw(Failure("the whole run timed out")))
    signal.alarm(int(TIMEOUT))
    ok = False
    try:
        started = time.time()
        session.start()
        check_start(session)
        check_camera_keys(session)
        check_panel_toggle(session)
        check_take_off(session)
        check_menus(session)
        check_exit(session)
        print(f"run time {time.time() - started:.0f} s")
        ok = True
        return 0
    except Failure as failure:
        print(f"FAILED: {failure}")
        print("--- kestro stderr (last lines) ---")
        print("\n".join(session.stderr().splitlines()[-30:]) if os.path.exists(session.stderr_path) else "")
        print(f"screenshots in {session.shots or session.work}")
        return 1
    finally:
        signal.alarm(0)
        session.close()
        if ok and not shots:
            shutil.rmtree(session.work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
