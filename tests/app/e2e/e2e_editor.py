#!/usr/bin/python3
"""Models in the program, driven under Xvfb as a pilot and a model designer would.

Checks: Ctrl+O opens the model selection dialog; choosing Glider.mod puts the glider on the
field and keeps it in SELECTED_MODEL; refused file names give their message and touch no file;
F3 opens the editor layout, whose graphic view shows the glider's 3D object (B_GR_ARTISTIC hides
it); a new servo appears in the part tree; a wing's incidence typed into the property page
changes the flying model (its centre of mass moves); Ctrl+Z takes it back and Ctrl+Y redoes it;
Ctrl+S saves the model under a new name, which loads again from the dialog with the change;
Delete asks and removes a file; after a restart the last chosen model flies.

The run folder gets its own copy of Data/Model/ (the rest of Data/ is linked), so saving and
deleting never touch the repository.

Usage: e2e_editor.py <kestro binary> <repository root> [screenshot folder]
"""

import os
import shutil
import sys
import time

from xsession import check, fraction, main

TIMEOUT = 220.0

# The selection dialog at 1024 x 768 (window pixels).
DIALOG = (252, 140, 548, 352)
ROW_Y = {"Delta.mod": 153, "Glider.mod": 169, "MyGlider.mod": 185}
FILE_EDIT = (400, 268)
OK, CANCEL, DELETE = (291, 296), (367, 296), (443, 296)
MESSAGE = (255, 312, 548, 326)
# The editor layout.
PART_EDITOR = (0, 400, 1024, 740)
NEW_SERVO = (710, 751)
TREE = (533, 416, 973, 686)
TREE_WING = (601, 604)
INCIDENCE = (205, 655)
MASS_TEXT = (18, 92, 260, 106)
GRAPHIC = (0, 120, 512, 384)  # the graphic view below its toolbar
ARTISTIC = (44, 28)  # its B_GR_ARTISTIC button  # "Mass ...kg (centre of mass)" of the graphic view


def is_dialog_blue(r, g, b):
    return b > 60 and b > r + 25 and b > g + 20


def is_message_red(r, g, b):
    return r > 180 and g < 150


def is_editor_dark(r, g, b):
    return max(r, g, b) < 60


def is_trainer_red(r, g, b):
    return r > 140 and g < 90 and b < 90


def is_glider_yellow(r, g, b):
    return r > 200 and g > 140 and b < 90


def glider_shown(image):
    """The glider's yellow wing tips, where the trainer has none."""
    return fraction(image, (362, 234, 662, 534), is_glider_yellow) > 0.003


def region(image, box):
    return image.crop(box).tobytes()


def own_models(session):
    data = os.path.join(session.run_dir, "Data")
    os.remove(data)
    os.makedirs(data)
    for entry in os.listdir(os.path.join(session.repo, "Data")):
        source = os.path.join(session.repo, "Data", entry)
        if entry == "Model":
            shutil.copytree(source, os.path.join(data, entry))
        else:
            os.symlink(source, os.path.join(data, entry))
    return os.path.join(data, "Model")


def selected_model(session):
    with open(os.path.join(session.run_dir, "Output", "Config.txt")) as f:
        for line in f:
            if line.startswith(".SELECTED_MODEL"):
                return line.split('"')[1]
    return None


def type_file_name(session, text):
    session.click(*FILE_EDIT)
    session.key("End")
    for _ in range(24):
        session.key("BackSpace")
    session.xdotool("type", text)


def fly(session):
    session.key("Return")  # the fly entry of the main menu
    return session.wait_screen("the flight screen", "flight",
                               lambda im: fraction(im, (0, 560, 1024, 700), lambda r, g, b: g > r + 10) > 0.5, 60)


def all_files(folder):
    return sorted(os.path.join(d, f) for d, _, files in os.walk(folder) for f in files)


def scenario(session):
    models = own_models(session)
    session.start(wait_after=1.0)
    shot = fly(session)
    time.sleep(2)
    red_before = fraction(session.screenshot("trainer"), (362, 234, 662, 534), is_trainer_red)

    session.key("ctrl+o")
    shot = session.wait_screen("the selection dialog", "select", lambda im: fraction(im, DIALOG, is_dialog_blue) > 0.4)
    check(True, "Ctrl+O opens the model selection dialog")
    session.click(300, ROW_Y["Glider.mod"])
    session.click(*OK)
    check(red_before > 0.008, "the trainer flies first")
    shot = session.wait_screen("the glider", "glider", glider_shown, 20)
    check(fraction(shot, DIALOG, is_dialog_blue) < 0.1, "OK closes the dialog and the glider stands on the field")
    check(selected_model(session) == "Glider.mod", "Glider.mod is kept as the selected model")

    # Refused names: a message, and no file anywhere changes.
    before = {p: os.path.getmtime(p) for p in all_files(os.path.join(session.run_dir, "Data", "Model"))}
    session.key("ctrl+s")
    session.wait_screen("the save dialog", "save-dialog", lambda im: fraction(im, DIALOG, is_dialog_blue) > 0.4)
    for name in ["../Config/x", "a/b", ".."]:
        type_file_name(session, name)
        session.click(*OK)
        time.sleep(0.6)
        shot = session.screenshot("refused")
        check(fraction(shot, MESSAGE, is_message_red) > 0.01 and fraction(shot, DIALOG, is_dialog_blue) > 0.4,
              f"'{name}' is refused with a message and the dialog stays open")
        session.click(*DELETE)
        time.sleep(0.6)
    after = {p: os.path.getmtime(p) for p in all_files(os.path.join(session.run_dir, "Data", "Model"))}
    check(before == after and not os.path.exists(os.path.join(session.repo, "Data", "Config", "x.mod")),
          "refused names touch no file")
    session.click(*CANCEL)
    time.sleep(0.6)

    session.key("F3")
    shot = session.wait_screen("the editor layout", "editor", lambda im: fraction(im, PART_EDITOR, is_editor_dark) > 0.5)
    check(True, "F3 opens the editor layout")
    tree_before = region(shot, TREE)
    # The part icons alone hold about 0.002 of these yellow pixels; the glider's wing tips more.
    session.wait_screen("the glider in the graphic view", "graphic",
                        lambda im: fraction(im, GRAPHIC, is_glider_yellow) > 0.006, 10)
    check(True, "the graphic view shows the glider's 3D object from the top")
    session.click(*ARTISTIC)
    session.wait_screen("the graphic view without the 3D object", "no-artistic",
                        lambda im: fraction(im, GRAPHIC, is_glider_yellow) < 0.004, 10)
    check(True, "B_GR_ARTISTIC hides the 3D object")
    session.click(*ARTISTIC)
    session.wait_screen("the 3D object back", "artistic",
                        lambda im: fraction(im, GRAPHIC, is_glider_yellow) > 0.006, 10)
    session.click(*NEW_SERVO)
    time.sleep(1.5)
    shot = session.screenshot("servo")
    check(region(shot, TREE) != tree_before, "a new servo joins the part tree")

    session.click(*TREE_WING)
    time.sleep(1)
    mass_before = region(session.screenshot("wing"), MASS_TEXT)
    session.click(*INCIDENCE)
    session.key("End")
    for _ in range(10):
        session.key("BackSpace")
    session.xdotool("type", "25")
    session.key("Return")
    time.sleep(1.5)
    mass_changed = region(session.screenshot("incidence"), MASS_TEXT)
    check(mass_changed != mass_before, "incidence 25: the flying wing is turned (its centre of mass moves)")
    session.key("ctrl+z")
    time.sleep(1.5)
    check(region(session.screenshot("undone"), MASS_TEXT) == mass_before, "Ctrl+Z takes the incidence back")
    session.key("ctrl+y")
    time.sleep(1.5)
    check(region(session.screenshot("redone"), MASS_TEXT) == mass_changed, "Ctrl+Y does it again")

    session.key("ctrl+s")
    session.wait_screen("the save dialog", "save-as", lambda im: fraction(im, DIALOG, is_dialog_blue) > 0.4)
    type_file_name(session, "MyGlider")
    session.key("Return")
    time.sleep(1.5)
    saved = os.path.join(models, "MyGlider.mod")
    check(os.path.exists(saved), "saved as Data/Model/MyGlider.mod")
    text = open(saved).read()
    check(".INCIDENCE 25.000000" in text and ".SERVO SERVO" in text, "the saved file holds the incidence and the servo")
    check(open(os.path.join(models, "Glider.mod")).read() == open(os.path.join(session.repo, "Data", "Model", "Glider.mod")).read(),
          "Glider.mod itself is unchanged")
    check(not any(n.startswith("temp") or n.endswith(".tmp") for n in os.listdir(models)),
          "no scratch or temporary file in the model folder")

    session.key("ctrl+o")
    session.wait_screen("the load dialog", "load-again", lambda im: fraction(im, DIALOG, is_dialog_blue) > 0.4)
    session.click(300, ROW_Y["MyGlider.mod"])
    session.click(*OK)
    time.sleep(2.5)
    check(region(session.screenshot("reloaded"), MASS_TEXT) == mass_changed,
          "MyGlider.mod loads again from the dialog with the change")
    check(selected_model(session) == "MyGlider.mod", "MyGlider.mod is the selected model")

    session.key("ctrl+o")
    session.wait_screen("the load dialog", "delete", lambda im: fraction(im, DIALOG, is_dialog_blue) > 0.4)
    session.click(300, ROW_Y["Delta.mod"])
    session.click(*DELETE)
    time.sleep(0.6)
    session.screenshot("delete-question")
    check(os.path.exists(os.path.join(models, "Delta.mod")), "Delete asks first")
    session.click(*OK)  # Yes
    time.sleep(0.6)
    session.screenshot("deleted")
    check(not os.path.exists(os.path.join(models, "Delta.mod")), "Yes deletes the file")
    session.click(*CANCEL)
    time.sleep(0.5)

    # A restart flies the last chosen model.
    session.close()
    session.start(wait_after=1.0)
    fly(session)
    # A slow machine (or a sanitizer build) shows the field some seconds before the model.
    shot = session.wait_screen("the glider after a restart", "restart", glider_shown, 20)
    check(glider_shown(shot), "after a restart the glider flies")


if __name__ == "__main__":
    sys.exit(main(scenario, TIMEOUT))
