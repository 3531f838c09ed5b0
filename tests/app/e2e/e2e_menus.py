#!/usr/bin/python3
"""Drives the real program under Xvfb as a pilot would, with xdotool keys and clicks.

Checks: the main menu shows the title and the four entries over its picture; Down and Enter
open the controller menu and Escape returns; a key changed in the key menu is in
Output/Config.txt after the program ends; the exit entry ends it with exit code 0. Prints the
frame-rate line the program writes at exit.

Usage: e2e_menus.py <kestro binary> <repository root> [screenshot folder]
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile

from xsession import FRAME_RATE_LINE, Session, check, main

TIMEOUT = 60.0  # s for the whole run; everything is killed after it
# The scenario looks once after each step instead of polling: keys and clicks go to the window
# and are given a few frames to take effect.
OPTIONS = dict(window_events=True, settle=0.4, pointer=None)


def shot(session, name):
    session.screenshot(name)
    return session.last_shot


def measure(path, crop=None, threshold=None, channel=None):
    """Mean grey level 0..1 of the image or a crop of it (or of one channel, "G"); with a
    threshold (percent), the fraction of pixels brighter than it."""
    args = ["convert", path]
    if crop:
        args += ["-crop", crop]
    if channel:
        args += ["-channel", channel, "-separate"]
    args += ["-colorspace", "Gray"]
    if threshold:
        args += ["-threshold", f"{threshold}%"]
    args += ["-format", "%[fx:mean]", "info:"]
    return float(subprocess.run(args, capture_output=True, text=True, check=True, timeout=20).stdout)


def check_main_menu(path, when):
    # The picture behind the menu is a dusk sky; the menu pages are black.
    check(measure(path) > 0.12, f"{when}: the main menu picture is shown")
    # The title is green (white in older builds): its green channel stands out of the sky.
    check(measure(path, "200x50+410+15", 70, "G") > 0.05, f"{when}: the title is drawn")
    for row, y in enumerate([152, 193, 234, 275]):
        check(measure(path, f"176x40+384+{y}", 70) > 0.04, f"{when}: menu entry {row + 1} is drawn")
    check(measure(path, "176x40+384+330", 70) < 0.01, f"{when}: nothing below the four entries")


def check_failed_start(binary):
    """Started where there is no Data folder, the program says which step failed and exits
    with a non-zero code instead of 0."""
    empty = tempfile.mkdtemp(prefix="kestro-e2e-empty-")
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", KESTRO_NO_MESSAGE_BOX="1")
    try:
        result = subprocess.run([binary], cwd=empty, env=env, capture_output=True, text=True, timeout=30)
    finally:
        shutil.rmtree(empty, ignore_errors=True)
    check(result.returncode != 0, f"a failed start-up exits with a non-zero code (got {result.returncode})")
    check("string table" in result.stderr, "a failed start-up names the step that failed")


def check_broken_config(binary, repo, shots):
    """A broken Config.txt is kept as Config.bad, the pilot is told, the program starts with the
    defaults; SIGTERM closes it like the close button, and the configuration is written."""
    session = Session(binary, repo, shots, **OPTIONS)
    broken = ".INPUT_MAP { .NAME \"Broken\" .LINK { .VARIABLE V_CH1 .INPUT_AXIS AXIS_NOT_THERE } }\n"
    with open(os.path.join(session.run_dir, "Output", "Config.txt"), "w") as f:
        f.write(broken)
    try:
        session.start(wait_after=1.5)
        check(measure(shot(session, "broken-config"), "500x120+262+330", 60) > 0.01,
              "the broken configuration is reported on screen")
        output = os.path.join(session.run_dir, "Output")
        with open(os.path.join(output, "Config.bad")) as f:
            check(f.read() == broken, "the broken file is kept as Output/Config.bad")
        check("AXIS_NOT_THERE" in session.stderr(), "the message names the problem")
        session.kestro.send_signal(signal.SIGTERM)
        code = session.wait_exit("SIGTERM", 15)
        check(code == 0, f"SIGTERM closes the program normally (got {code})")
        with open(os.path.join(output, "Config.txt")) as f:
            check(".INPUT_MAP" in f.read(), "the default configuration is written at exit")
    finally:
        session.close()
        if not shots:
            shutil.rmtree(session.work, ignore_errors=True)


def scenario(session):
    check_failed_start(session.binary)
    check_broken_config(session.binary, session.repo, session.shots)
    session.start(wait_after=1.5)  # a few frames
    check_main_menu(shot(session, "main-menu"), "start")

    session.key("Down")
    session.key("Return")
    controller = shot(session, "controller-menu")
    check(measure(controller) < 0.10, "Down, Enter: the controller menu replaces the main menu")
    check(measure(controller, "200x50+410+15", 70, "G") > 0.05, "the controller menu has its title")
    # The names' bright pixels inside the list's frame (about 1.7 % for the shipped maps; an
    # empty list has none).
    check(measure(controller, "230x200+395+150", 60) > 0.008, "the input-map list is drawn")

    session.key("Escape")
    check_main_menu(shot(session, "back-to-main"), "after Escape")

    # With the mouse: Controllers -> Keys -> the box of "Load Model", F9, OK.
    session.click(450, 212)
    session.click(190, 147)
    key_menu = shot(session, "key-menu")
    check(measure(key_menu) < 0.10 and measure(key_menu, "140x25+320+165", 50) > 0.02,
          "the key menu shows the commands of its first group")
    session.click(800, 150)
    session.key("F9")
    session.screenshot("key-changed")
    session.click(864, 621)  # OK
    after_ok = shot(session, "after-ok")
    check(measure(after_ok) < 0.10 and measure(after_ok, "230x200+395+150", 60) > 0.008,
          "OK returns to the controller menu")
    session.key("Escape")
    check_main_menu(shot(session, "main-again"), "back on the main menu")

    session.click(420, 295)  # the exit entry
    code = session.wait_exit("the exit entry", 15)
    check(code == 0, f"the exit entry ends the program with exit code 0 (got {code})")

    with open(os.path.join(session.run_dir, "Output", "Config.txt")) as f:
        config = f.read()
    check(re.search(r'\.KEY "F9"\s+\.FUNCTION UC_APP_LOAD_MODEL', config) is not None,
          "the redefined key is in Output/Config.txt")
    line = re.search(FRAME_RATE_LINE, session.stderr())
    check(line is not None, "the program reports its frame rate at exit")
    print(line.group(0))


if __name__ == "__main__":
    sys.exit(main(scenario, TIMEOUT, **OPTIONS))
