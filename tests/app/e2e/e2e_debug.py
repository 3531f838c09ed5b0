#!/usr/bin/python3
"""Every debug view of the flight screen, and the airfoil viewer, driven under Xvfb.

Checks: each UC_DEBUG_ switch's default key shows what it names (the screen changes where its
dump or drawing goes) and puts a check mark on its entry of the Debug menu; pressed again it hides
it. Ctrl+Shift+F1 opens the diagnostic overlay menu; on its airfoil page the "Airfoil #" slider
steps through the three shipped airfoils, each plotted with its Cl, Cd and Cp dots and the NACA
section of the "Digit" sliders. Screenshots of every view are kept when a folder is given.

Usage: e2e_debug.py <kestro binary> <repository root> [screenshot folder]
"""

import sys
import time

from xsession import check, fraction, main

TIMEOUT = 400.0
DEBUG_TITLE = (590, 8)   # "Debug" in the menu bar


def is_grass(r, g, b):
    return g > r + 10 and g > b + 25


def is_dark(r, g, b):
    return max(r, g, b) < 60 and abs(r - g) < 15 and abs(g - b) < 15


def changed(a, b, box):
    """Fraction of the pixels in box that differ clearly between two screenshots."""
    pa, pb = list(a.crop(box).getdata()), list(b.crop(box).getdata())
    return sum(1 for p, q in zip(pa, pb) if sum(abs(x - y) for x, y in zip(p, q)) > 60) / max(1, len(pa))


# Key, the region where the view appears (x0, y0, x1, y1), the least share of it that changes.
VIEWS = [
    ("VARIABLES", "ctrl+shift+F2", (20, 60, 300, 300), 0.04),
    ("CAMERA", "ctrl+shift+c", (100, 100, 420, 400), 0.04),
    ("COLISION_TRINGLES", "ctrl+shift+F6", (250, 250, 420, 275), 0.10),
    ("TIME_OF_DAY", "ctrl+shift+F7", (50, 110, 150, 220), 0.02),
    ("GRAPHIC_STATE", "ctrl+shift+g", (20, 100, 420, 260), 0.04),
    ("WIREFRAME", "ctrl+shift+x", (0, 400, 1024, 740), 0.20),
    ("SCENEGRAPH_STATS", "ctrl+shift+p", (690, 60, 1024, 300), 0.04),
    ("SCENE_MAIN", "ctrl+shift+d", (10, 330, 500, 420), 0.04),
    ("SCENE_OBJECT_ADMIN", "ctrl+alt+d", (10, 30, 390, 120), 0.04),
    ("VDB_OBJECT_ADMIN", "ctrl+shift+alt+d", (400, 30, 800, 120), 0.04),
    ("TEXTURE_INFO", "ctrl+shift+a", (5, 25, 400, 200), 0.04),
    ("FONTS", "ctrl+shift+r", (10, 60, 500, 200), 0.04),
    ("SOUND_ADMIN", "ctrl+shift+s", (6, 8, 170, 36), 0.04),
    ("TIME_STATS", "ctrl+shift+t", (25, 100, 460, 300), 0.05),
    ("INPUT_DATA", "ctrl+shift+i", (250, 45, 600, 300), 0.04),
    ("MOUSE_RECTS", "ctrl+shift+F3", (5, 645, 260, 672), 0.05),
    ("INERTIA", "ctrl+shift+m", (362, 234, 662, 500), 0.001),
    ("PART_INFO", "ctrl+F3", (60, 60, 400, 400), 0.05),
]


# Views whose drawing is thin beside a moving model: found by their own colour instead.
MARKERS = {"INERTIA": lambda r, g, b: g > 240 and r < 30 and b < 30}  # the yaw arm, pure green


def flight_screen(image):
    return fraction(image, (0, 560, 1024, 700), is_grass) > 0.5


def open_debug_menu(session, name):
    session.click(*DEBUG_TITLE)
    time.sleep(0.6)
    image = session.screenshot(name)
    session.click(1000, 740)  # closes the list (a click on no title)
    time.sleep(0.3)
    return image


def check_views(session):
    session.key("Return")
    session.wait_screen("the flight screen", "flight", flight_screen, 60)
    time.sleep(2.0)
    # The model rests; the screen changes only where a view draws.
    session.move(1000, 400)
    for name, key, box, least in VIEWS:
        before = session.screenshot(f"before-{name.lower()}")
        session.key(key)
        time.sleep(1.2)
        shot = session.screenshot(name.lower())
        marker = MARKERS.get(name)
        share = fraction(shot, box, marker) if marker else changed(before, shot, box)
        check(share >= least, f"{name}: {key} shows it ({share:.1%} of its place changed)")
        menu = open_debug_menu(session, f"menu-{name.lower()}")
        session.key(key)  # hide it again
        time.sleep(1.0)
        after = session.screenshot(f"after-{name.lower()}")
        back = fraction(after, box, marker) if marker else changed(before, after, box)
        # The scene behind moves a little (the camera follows the resting model): hidden means
        # far closer to the screen before than the view was.
        check(back < 0.5 * share,
              f"{name}: pressed again it hides it ({back:.1%} differs from before)")
    # Part info steps with Ctrl+F5 (next part).
    session.key("ctrl+F3")
    time.sleep(1.0)
    first = session.screenshot("part-info-first")
    session.key("ctrl+F5")
    time.sleep(1.0)
    second = session.screenshot("part-info-next")
    check(changed(first, second, (60, 60, 400, 300)) > 0.02, "part info: ctrl+F5 steps to the next part")
    session.key("ctrl+F3")


def check_airfoils(session):
    session.key("ctrl+shift+F1")
    time.sleep(1.0)
    main_page = session.screenshot("diagnostic-menu-main")
    check(fraction(main_page, (700, 20, 1024, 60), is_dark) > 0.3, "Ctrl+Shift+F1 opens the diagnostic menu")
    # Page slider: Right moves it to the airfoil page.
    session.key("Right")
    time.sleep(1.0)
    shots = []
    for index in range(3):
        shot = session.screenshot(f"airfoil-{index}")
        shots.append(shot)
        # Dots of the three curves in the plot's area (left of the slider panel).
        blue = fraction(shot, (0, 120, 660, 560), lambda r, g, b: b > 200 and r < 140 and g > 120)
        red = fraction(shot, (0, 120, 660, 560), lambda r, g, b: r > 200 and g < 130 and b < 120)
        green = fraction(shot, (0, 120, 660, 560), lambda r, g, b: g > 200 and r < 160 and b < 160)
        check(blue > 0.001 and red > 0.001 and green > 0.001,
              f"airfoil {index}: Cl, Cd and Cp plotted ({blue:.2%}, {red:.2%}, {green:.2%})")
        yellow = fraction(shot, (150, 0, 820, 170), lambda r, g, b: r > 200 and g > 190 and b < 150)
        check(yellow > 0.0005, f"airfoil {index}: the NACA section is drawn ({yellow:.2%})")
        # Tab to "Airfoil #", one step right.
        session.key("Tab")
        time.sleep(0.3)
        session.key("Right")
        time.sleep(1.0)
        session.key("shift+Tab")
        time.sleep(0.3)
    check(changed(shots[0], shots[1], (0, 120, 660, 560)) > 0.002 and
          changed(shots[1], shots[2], (0, 120, 660, 560)) > 0.002,
          "each step of Airfoil # plots another airfoil")
    session.key("ctrl+shift+F1")
    time.sleep(1.0)
    closed = session.screenshot("diagnostic-menu-closed")
    check(fraction(closed, (0, 560, 1024, 700), is_grass) > 0.5, "Ctrl+Shift+F1 again closes it")


def scenario(session):
    session.start()
    check_views(session)
    check_airfoils(session)


if __name__ == "__main__":
    sys.exit(main(scenario, TIMEOUT, settle=0.2))
