#!/usr/bin/python3
"""Flying with a transmitter: the real program and the emulated interface box on a
pseudo-terminal, under Xvfb.

Checks: with COM_DEVICE naming the box, the radio menu (opened by its command key) reports
interface and transmitter OK in its status line and the firmware version the box answers; the
channel bars follow the box's sticks; the calibration screen walks through its steps (detection,
sticks centred, sticks to their ends, finished) and TXCalibr.txt gets the measured ends; OK keeps
the port in Config.txt; in flight the box's sticks (through the "Radio Transmitter" input map) fly
the trainer off the ground; a box that stops sending channels makes the flight screen say that
no transmitter is detected.

Usage: e2e_radio.py <kestro binary> <repository root> [screenshot folder]
The emulator is KESTRO_TXBOX, else build/tools/txbox/kestro-txbox beside the kestro binary's
build tree.
"""

import os
import re
import subprocess
import sys
import time

from xsession import check, fraction, main, wait_for

TIMEOUT = 240.0
SCALE = 1024.0 / 800.0  # menus draw on an 800 x 600 virtual screen


def window(x, y):
    return int(x * SCALE), int(y * SCALE)


def is_green(r, g, b):
    return g > 200 and r < 120 and b > 120


def is_grass(r, g, b):
    return g > r + 10 and g > b + 25


def is_sky(r, g, b):
    return b > r + 25 and b > 120


def is_white(r, g, b):
    return min(r, g, b) > 200


def is_amber(r, g, b):
    return r > 220 and 150 < g < 220 and b < 130


def box_rect(x0, y0, x1, y1):
    a, b = window(x0, y0)
    c, d = window(x1, y1)
    return (a, b, c, d)


STATUS_LINE = box_rect(50, 566, 330, 578)
FIRMWARE_LINE = box_rect(50, 582, 330, 594)


def bar(channel, side):
    """The half of a channel's bar in the radio menu (virtual x 645..745)."""
    y = 152 + 28 * (channel - 1)
    return box_rect(650, y + 4, 692, y + 10) if side < 0 else box_rect(698, y + 4, 740, y + 10)


class Box:
    """kestro-txbox with its command pipe."""

    def __init__(self, binary, link):
        self.process = subprocess.Popen([binary, "--link", link, "--firmware", "0x21"], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True)
        self.path = self.process.stdout.readline().strip()

    def send(self, *lines):
        for line in lines:
            self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        time.sleep(0.15)

    def sticks(self, aileron=0.0, elevator=0.0, throttle=0.0, rudder=0.0):
        self.send(f"stick 1 {aileron}", f"stick 2 {elevator}", f"stick 3 {throttle}", f"stick 4 {rudder}")

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()


def write_config(session, device):
    """The shipped defaults with the box's device, the transmitter's input map and F9 for the
    radio menu."""
    with open(os.path.join(session.repo, "Data", "Config", "Config.txt"), newline="") as f:
        text = f.read()
    text = text.replace('.COM_DEVICE  ""', f'.COM_DEVICE  "{device}"')
    text = text.replace('.SELECTED_INPUT_MAP  "Keyboard"', '.SELECTED_INPUT_MAP  "Radio Transmitter"')
    text = re.sub(r'\.KEY ""(\s+)\.FUNCTION UC_MENU_RADIO_TX', r'.KEY "F9"\1.FUNCTION UC_MENU_RADIO_TX', text)
    with open(os.path.join(session.run_dir, "Output", "Config.txt"), "w", newline="") as f:
        f.write(text)


def check_radio_menu(session, box):
    session.key("F9")
    shot = session.wait_screen("interface and transmitter OK", "radio-menu",
                               lambda im: fraction(im, STATUS_LINE, is_white) > 0.05
                               and fraction(im, STATUS_LINE, is_amber) < 0.01, 20)
    check(True, "the radio menu's status line says interface and transmitter OK")
    session.wait_line("the firmware answer", r"firmware 2\.1, 8-bit", 10)
    check(fraction(shot, FIRMWARE_LINE, is_white) > 0.05, "the firmware version is shown")

    box.sticks(aileron=1.0, elevator=-1.0)
    session.wait_screen("the bars following the sticks", "radio-bars",
                        lambda im: fraction(im, bar(1, +1), is_green) > 0.5 and fraction(im, bar(1, -1), is_green) < 0.1
                        and fraction(im, bar(2, -1), is_green) > 0.5, 10)
    check(True, "channel bars follow the box: aileron right, elevator left")
    box.sticks()


TABLE_HEADER = box_rect(200, 300, 480, 312)
RAW_COLUMN = box_rect(262, 318, 300, 480)  # the channels' counts as the screen last saw them
STEP_TEXT = box_rect(0, 98, 800, 114)
TITLE = box_rect(150, 10, 650, 50)
CENTRE_SWITCH_3 = box_rect(523, 208, 543, 224)


def changed(session, what, name, region, before, seconds=20):
    """Screenshots until region differs from before (the pixels of an earlier screenshot)."""
    return session.wait_screen(what, name, lambda im: im.crop(region).tobytes() != before, seconds)


def pixels(session, region):
    return session.screenshot("before").crop(region).tobytes()


def sticks_seen(session, box, name, commands):
    """Sends the box's stick commands and waits until the calibration screen has drawn the counts
    they give: the measurement runs before the drawing in every frame, so it has taken them."""
    before = pixels(session, RAW_COLUMN)
    box.send(*commands)
    changed(session, f"the counts of {name} on the calibration screen", name, RAW_COLUMN, before)


def check_calibration(session, box):
    before = pixels(session, CENTRE_SWITCH_3)
    session.click(*window(533, 152 + 2 * 28 + 8))  # channel 3 (throttle) has no middle
    changed(session, "channel 3's centre switch to go off", "radio-centre-switch", CENTRE_SWITCH_3, before)
    session.click(*window(230 + 75, 450 + 16))  # Calibrate
    session.wait_screen("the calibration's count table (the transmitter seen)", "calibration-centre",
                        lambda im: fraction(im, TABLE_HEADER, is_green) > 0.05, 20)
    sticks_seen(session, box, "sticks-at-rest", ["stick 1 0.02", "stick 2 -0.02", "stick 3 -1", "stick 4 0"])
    before = pixels(session, STEP_TEXT)
    session.key("Return")
    changed(session, "the step that measures the ends", "calibration-move", STEP_TEXT, before)
    for value in (1.0, -1.0, 1.0, -1.0):
        sticks_seen(session, box, f"sticks-at-{value:+.0f}", [f"stick {ch} {value}" for ch in range(1, 9)])
    session.screenshot("calibration-ends")
    before = pixels(session, STEP_TEXT)
    session.key("Return")
    changed(session, "the finished step", "calibration-finished", STEP_TEXT, before)
    session.key("space")  # any key leaves
    path = os.path.join(session.run_dir, "Output", "TXCalibr.txt")
    wait_for("TXCalibr.txt", lambda: os.path.exists(path), 10)
    with open(path, newline="") as f:
        text = f.read()
    check(".CH1\r\n{\r\n  .MIN_COUNT  30\r\n  .MAX_COUNT  226\r\n" in text,
          "the calibration stores the ends 2 counts inside the sticks' travel (28..228)")
    check(".CH3\r\n{\r\n  .MIN_COUNT  28\r\n  .MAX_COUNT  226\r\n  .CENTER_COUNT  28\r\n  .REVERSE  0\r\n"
          "  .AUTOCENTRE  0\r\n" in text, "the throttle runs from idle to full without a middle")
    box.sticks()
    session.wait_screen("back in the radio menu", "radio-after-calibration",
                        lambda im: fraction(im, STATUS_LINE, is_white) > 0.05, 10)
    before = pixels(session, TITLE)
    session.click(*window(600 + 75, 470 + 16))  # OK
    changed(session, "the controller menu", "controller-menu", TITLE, before)


def check_flight(session, box):
    before = pixels(session, TITLE)
    session.key("Escape")  # controller menu -> main menu
    changed(session, "the main menu", "main-menu", TITLE, before)
    box.sticks(throttle=-1.0)
    session.key("Return")  # fly
    session.wait_screen("the flight screen", "flight", lambda im: fraction(im, (0, 560, 1024, 700), is_grass) > 0.6, 60)
    session.key("KP_Decimal")  # the camera at the pilot's place
    time.sleep(3.0)            # throttle closed: the engine starts
    session.screenshot("flight-start")
    after = len(session.stderr())
    box.sticks(throttle=1.0, elevator=0.3)
    # Below 20 fps the simulation runs slower than the clock: the climb is waited for on the
    # screen (the trainer against the sky, seen from the pilot's place).
    session.wait_screen("the trainer to climb into the sky", "flight-airborne",
                        lambda im: fraction(im, (412, 284, 612, 484), is_sky) > 0.7, 90)
    box.sticks(throttle=-1.0)
    session.key("space")
    line = session.wait_line("the reset line", r"reset, highest ([\d.]+) m", 15, after)
    height = float(line.group(1))
    check(height > 5.0, f"the box's sticks flew the trainer: {height:.1f} m above the ground")

    after = len(session.stderr())
    box.send("channels 0")
    session.wait_line("the no-transmitter message", r"No transmitter detected", 15, after)
    time.sleep(1.0)
    session.screenshot("flight-no-transmitter")
    check(True, "a box without a transmitter is reported in flight")


def scenario(session):
    txbox = os.environ.get("KESTRO_TXBOX") or os.path.join(
        os.path.dirname(session.binary), "..", "..", "tools", "txbox", "kestro-txbox")
    box = Box(txbox, os.path.join(session.work, "txbox"))
    try:
        check(box.path.startswith("/dev/"), f"the emulator runs on {box.path}")
        write_config(session, os.path.join(session.work, "txbox"))
        session.start(wait_after=2.0)
        check_radio_menu(session, box)
        check_calibration(session, box)
        check_flight(session, box)
    finally:
        box.close()


if __name__ == "__main__":
    sys.exit(main(scenario, TIMEOUT))
