#!/usr/bin/python3
"""The flight screen driven as a pilot would under Xvfb: fly entry, scene on screen, take-off with
the keyboard, reset with Space, camera mode keys, panel toggle, exit through the menu bar.

Usage: e2e_flight.py <kestro binary> <repository>. Writes screenshots into the run folder."""
import os, shutil, signal, subprocess, sys, tempfile, time

binary, repo = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
work = tempfile.mkdtemp(prefix="kestro-e2e-flight-")
run = os.path.join(work, "run")
os.makedirs(os.path.join(run, "Output"))
os.symlink(os.path.join(repo, "Data"), os.path.join(run, "Data"))

display = None
for n in range(120, 160):
    if not os.path.exists("/tmp/.X%d-lock" % n):
        display = ":%d" % n
        break
xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1024x768x24"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
env = dict(os.environ, DISPLAY=display, KESTRO_NO_MESSAGE_BOX="1")
log = open(os.path.join(work, "kestro.log"), "w")
proc = None
failures = []


def x(*args):
    return subprocess.run(["xdotool"] + list(args), env=env, capture_output=True, text=True).stdout.strip()


def shot(name):
    path = os.path.join(work, name)
    subprocess.run(["import", "-window", "root", path], env=env, check=False)
    return path


def pixel(path, px, py):
    out = subprocess.run(["convert", path, "-format", "%%[fx:int(255*r)],%%[fx:int(255*g)],%%[fx:int(255*b)]",
                          "-crop", "1x1+%d+%d" % (px, py), "info:"], capture_output=True, text=True).stdout
    return tuple(int(v) for v in out.split(","))


def region_mean(path, px, py, w, h):
    out = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (w, h, px, py), "-resize", "1x1!", "-format",
                          "%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]", "info:"], capture_output=True, text=True).stdout
    return tuple(int(v) for v in out.split(","))


def check(condition, text):
    print(("ok   " if condition else "FAIL ") + text)
    if not condition:
        failures.append(text)


def hold(key, seconds):
    x("keydown", key)
    time.sleep(seconds)
    x("keyup", key)


try:
    time.sleep(1)
    proc = subprocess.Popen([binary], cwd=run, env=env, stdout=log, stderr=subprocess.STDOUT)
    wid = ""
    for _ in range(60):
        wid = x("search", "--name", "^Kestro")
        if wid:
            wid = wid.split()[0]
            break
        time.sleep(0.5)
    time.sleep(8)
    x("key", "--window", wid, "Return")  # the fly entry has the focus
    time.sleep(20)
    fly = shot("flight.png")
    # The model sits in the middle of the field; grass around it, the bars on top.
    grass = region_mean(fly, 100, 500, 200, 150)
    check(grass[1] > grass[0] and grass[1] > grass[2], "grass below the model %s" % (grass,))
    model = region_mean(fly, 420, 330, 200, 90)
    check(model[0] > model[1] + 20, "the red trainer in the middle %s" % (model,))

    # Camera modes: follow (NumPad Divide), free (NumPad Multiply), back to look-at (NumLock).
    x("key", "KP_Divide")
    time.sleep(1.5)
    follow = shot("follow.png")
    x("key", "Num_Lock")
    time.sleep(1.5)
    look = shot("lookat.png")
    # The pressed box is drawn brighter: compare the follow button (x 128..152) in both shots.
    f1 = region_mean(follow, 130, 746, 20, 20)
    f2 = region_mean(look, 130, 746, 20, 20)
    check(f1 != f2, "the follow button changes with the mode key %s %s" % (f1, f2))

    # Panel toggle with "1": the gauges' row changes.
    p1 = region_mean(look, 0, 20, 560, 56)
    x("key", "--window", wid, "1")
    time.sleep(1.5)
    nopanel = shot("nopanel.png")
    p2 = region_mean(nopanel, 0, 20, 560, 56)
    check(p1 != p2, "the instrument panel toggles %s %s" % (p1, p2))
    x("key", "--window", wid, "1")

    # Take-off: throttle back to start the engine, then full, roll, pull.
    hold("s", 2.0)
    hold("w", 4.0)
    time.sleep(4.0)
    hold("Down", 1.5)
    time.sleep(3.0)
    shot("airborne.png")
    x("key", "--window", wid, "space")  # reset: the line reports the height reached before
    time.sleep(2.0)
    shot("reset.png")

    # Exit through the menu bar: Application, then its last entry.
    x("mousemove", "--window", wid, "40", "8", "click", "1")
    time.sleep(1.0)
    shot("menu.png")
    x("mousemove", "--window", wid, "40", "%d" % (20 + 7 * 18 + 9 + 12), "click", "1")
    for _ in range(40):
        if proc.poll() is not None:
            break
        time.sleep(0.25)
    check(proc.poll() == 0, "the exit entry ends the program (code %s)" % proc.poll())
finally:
    if proc and proc.poll() is None:
        proc.send_signal(signal.SIGTERM)
        time.sleep(2)
        if proc.poll() is None:
            proc.kill()
    log.close()
    xvfb.kill()

text = open(os.path.join(work, "kestro.log")).read()
heights = [float(l.split("highest ")[1].split(" m")[0]) for l in text.splitlines() if "reset, highest" in l]
check(bool(heights) and max(heights) > 3.0, "the trainer took off (heights before resets: %s)" % heights)
for line in text.splitlines():
    if " fps" in line or "flight:" in line:
        print(line)
print("screenshots in", work)
sys.exit(1 if failures else 0)
