#!/usr/bin/python3
"""The flying site chosen from the flight screen's Ambient menu, under Xvfb.

Checks: the slope site's entry in the Ambient list loads the slope site (the program says so)
and the pilot's view then looks out from the crest: the grassy crest in front and the valley's
fields far below; the choice is kept in Config.txt and the next start flies
there again.

Usage: e2e_site.py <kestro binary> <repository root> [screenshot folder]
"""

import os
import re
import sys
import time

from e2e_flight import APP_LIST, APP_TITLE, EXIT_ENTRY, MENU_TITLES, PANEL, flight_screen, is_dark, is_grass, is_menu_list
from xsession import check, fraction, main

TIMEOUT = 200.0
AMBIENT_X = MENU_TITLES["Ambient"]
SLOPE_ENTRY_INDEX = 6   # wind, morning, midday, night, show thermals, flat field, slope


def is_crop(r, g, b):
    """Ripe wheat, stubble, ploughland and rapeseed of the valley's fields: warmer than grass."""
    return r > g - 5 and r > b + 30


def entry_y(index):
    """Centre of an entry of the Ambient list (18 pixels each, a 6-pixel gap after the first)."""
    return 28 + 18 * index + (6 if index >= 1 else 0)


def exit_program(session):
    session.click(*APP_TITLE)
    session.wait_screen("the Application list", "application-menu",
                        lambda image: fraction(image, APP_LIST, is_menu_list) > 0.3, 15)
    session.click(*EXIT_ENTRY)
    code = session.wait_exit("the exit entry", 30)
    check(code == 0, f"the program ends with exit code 0 (got {code})")


def scenario(session):
    session.start()
    session.key("Return")
    session.wait_screen("the flight screen", "field", flight_screen, 60)
    check("flying site FlyingSite" in session.stderr(), "the first flight is at the flat field")

    session.click(AMBIENT_X, 8)
    session.wait_screen("the Ambient list", "ambient-menu",
                        lambda image: fraction(image, (AMBIENT_X - 20, 22, AMBIENT_X + 40, 80), is_menu_list) > 0.3, 15)
    mark = len(session.stderr())
    session.click(AMBIENT_X + 30, entry_y(SLOPE_ENTRY_INDEX))
    session.wait_line("the slope site to load", r"flying site SlopeSite", 60, mark)
    time.sleep(2.0)
    shot = session.screenshot("slope-pilot-view")
    # Looking at the model on the crest's edge: the valley's patchwork of fields lies far below
    # it, where at the field the meadow goes on to the trees.
    grass = fraction(shot, (0, 450, 1024, 740), is_grass)
    crops = fraction(shot, (0, 110, 1024, 320), is_crop)
    check(grass > 0.4 and crops > 0.06, f"from the crest: grass {grass:.2f} in front, fields {crops:.2f} in the valley below")
    exit_program(session)

    with open(os.path.join(session.run_dir, "Output", "Config.txt")) as f:
        config = f.read()
    check(re.search(r'\.FLYING_SITE\s+"SlopeSite"', config) is not None, "Config.txt keeps the slope site")

    session.close()
    session.start(wait_after=3.0)
    session.key("Return")
    shot = session.wait_screen("the next flight", "slope-after-restart",
                               lambda image: fraction(image, PANEL, is_dark) > 0.25, 60)
    crops = fraction(shot, (0, 110, 1024, 320), is_crop)
    check("flying site SlopeSite" in session.stderr() and crops > 0.06,
          f"the next start flies at the slope site again (fields {crops:.2f} in the valley below)")
    exit_program(session)


if __name__ == "__main__":
    sys.exit(main(scenario, TIMEOUT))
