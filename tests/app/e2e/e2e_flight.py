#!/usr/bin/python3
"""The flight screen driven under Xvfb as a pilot would, with xdotool keys and clicks.

Checks: the fly entry of the main menu opens the flight screen (menu bar, gauges, grass and the
red trainer in the middle); each camera mode key lights its button of the camera bar, and the
onboard camera shows sky, terrain and the model; the panel key hides and shows the gauges, which
lie below the menu bar; a smaller window is filled by the flight view at once; after a click
into the close-up window Space still resets the model and Return does not close it; throttle and elevator keys make the trainer take off (the height the
program reports when Space puts the model back) and Space leaves it on the ground; the exit entry
of the menu bar's Application list ends the program with exit code 0. Prints the frame-rate line
the program writes at exit.

Every step waits by polling screenshots or the program's output, so a busy machine only makes
it slower. Keys go through XTEST (plain `xdotool key`) to the window under the pointer.

Usage: e2e_flight.py <kestro binary> <repository root> [screenshot folder]
"""

import re
import sys
import time

from xsession import FRAME_RATE_LINE, Failure, check, fraction, main

TIMEOUT = 170.0  # s for the whole run; everything is killed after it

# Screen geometry of the flight screen at 1024 x 768 (window pixels).
CAMERA_BAR_Y = 768 - 24         # the camera buttons' top edge, bottom-left of the main view
CAMERA_BUTTONS = {"B_MAN": 104, "B_FEET": 128, "B_ANCHOR": 152, "B_KEYS": 176}
PANEL = (2, 22, 636, 96)        # the gauges' row (x0, y0, x1, y1), below the menu bar
APP_TITLE = (40, 8)             # "Application"
MENU_TITLES = {"Debug": 570, "Controller": 482, "Recording": 377, "Ambient": 285, "Model": 210, "View": 150}
APP_LIST = (8, 22, 160, 174)    # its drop-down list
EXIT_ENTRY = (40, 167)          # its last entry


# ------------------------------------------------------------------ what a person sees

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


def lit_buttons(image, bar_y=CAMERA_BAR_Y):
    """The camera buttons shown switched on: their lit plate shows as an amber rim above them."""
    lit = []
    for name, x in CAMERA_BUTTONS.items():
        if fraction(image, (x + 3, bar_y - 2, x + 21, bar_y), is_amber) > 0.6:
            lit.append(name)
    return lit


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
            red = fraction(shot, (362, 434, 662, 634), is_trainer_red)
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


def check_resize(session):
    """A window made smaller is filled by the flight view at once: the camera bar moves to the
    new bottom edge and grass reaches it; the full size brings the old layout back."""
    session.resize(800, 600)
    session.wait_screen("the view to fill the 800 x 600 window", "resized",
                        lambda image: lit_buttons(image, 600 - 24) == ["B_MAN"] and
                        fraction(image, (0, 520, 800, 570), is_grass) > 0.6, 20)
    check(True, "a resized window is filled by the flight view, camera bar at its bottom")
    session.resize(1024, 768)
    session.wait_screen("the view to fill the window again", "resized-back",
                        lambda image: lit_buttons(image) == ["B_MAN"], 20)


def close_up_shown(image):
    """The close-up window's title bar, top right of the main view: a gradient of full blue,
    brighter than any sky, from deep blue at its left end (a white wing in front of a close
    camera is not taken for it) to near white."""
    def bar(r, g, b):
        return b > 245 and abs(r - g) < 6
    return fraction(image, (740, 41, 960, 50), bar) > 0.8 and \
        fraction(image, (740, 41, 780, 50), lambda r, g, b: bar(r, g, b) and r < 100) > 0.6


def check_close_up_keys(session):
    """Clicking into the close-up window must not hand Space and Return to its close button."""
    session.key("7")
    session.wait_screen("the close-up window", "close-up", close_up_shown, 15)
    session.click(840, 150)  # into the close-up window, below its title bar
    after = len(session.stderr())
    session.key("space")
    session.wait_line("the reset after a click into the close-up", r"reset, highest", 15, after)
    session.hold("Return", 0.5)
    time.sleep(0.5)
    check(close_up_shown(session.screenshot("close-up-after-keys")),
          "after a click into the close-up, Space resets the model and Return leaves the window open")
    session.key("7")
    session.wait_screen("the close-up to close", "close-up-closed", lambda image: not close_up_shown(image), 15)


def check_camera_click(session):
    """The camera buttons lie on a page of the view's own: a click reaches them as a key does.
    Clicked before the close-up steps, which then show that the clicked button kept no keys."""
    for button in ("B_FEET", "B_MAN"):
        session.click(CAMERA_BUTTONS[button] + 12, CAMERA_BAR_Y + 12)
        session.wait_screen(f"{button} to light after a click", "click-" + button,
                            lambda image: lit_buttons(image) == [button], 15)
        check(True, f"a click lights {button} alone")


def check_take_off(session):
    """Keys are held by the clock, but below 20 fps the simulation runs slower than the clock:
    the holds are long enough for a slow machine (the throttle stops at its ends), and the climb
    is waited for on the screen."""
    after = len(session.stderr())
    session.key("KP_Decimal")  # the camera back to the pilot's place
    session.hold("s", 4.0)     # throttle back: the engine starts
    session.hold("w", 5.0)     # full throttle
    session.hold("Down", 1.0)  # a short pull; the trainer climbs out at full throttle
    # From the pilot's place the climbing trainer is seen against the sky, or, flying away low
    # over the field, against the distant hills: either way the height it reached is checked.
    try:
        session.wait_screen("the trainer to climb into the sky", "airborne",
                            lambda image: fraction(image, (412, 284, 612, 484), is_sky) > 0.7, 30)
    except Failure:
        pass
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


def is_menu_list_over_grass(r, g, b):
    """The same list where no gauge lies under it: a little of the grass shows through."""
    return 24 <= r <= 36 and 28 <= g <= 38 and 32 <= b <= 41 and 1 <= g - r <= 6 and 0 <= b - g <= 5


def list_under(x):
    """A drop-down list hangs under the title at x."""
    box = (x - 20, 22, x + 40, 80)
    return lambda image: max(fraction(image, box, is_menu_list), fraction(image, box, is_menu_list_over_grass)) > 0.3


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
    code = session.wait_exit("the exit entry", 30)
    check(code == 0, f"the exit entry ends the program with exit code 0 (got {code})")
    line = re.search(FRAME_RATE_LINE, session.stderr())
    check(line is not None, "the program reports its frame rate at exit")
    print(line.group(0))


def scenario(session):
    session.start()
    check_start(session)
    check_camera_keys(session)
    check_panel_toggle(session)
    check_resize(session)
    check_camera_click(session)
    check_close_up_keys(session)
    check_take_off(session)
    check_menus(session)
    check_exit(session)


if __name__ == "__main__":
    sys.exit(main(scenario, TIMEOUT))
