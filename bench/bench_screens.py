#!/usr/bin/python3
"""What a pilot feels of the real program under Xvfb at 1024 x 768, no video sync.

Four runs, each from start to SIGTERM, with the program's frame log (KESTRO_FRAME_LOG: the time
of every buffer swap and the screen shown):
- first flight: Fly from the main menu in a fresh Output/ folder, which the program fills with
  its caches (the terrain's collision mesh, the scenes' binary copies); the later runs start
  with a copy of that folder, as a pilot's second session would;
- main menu: left alone;
- pilot's view: Fly from the main menu, then the trainer stands on the field in the pilot's view,
  the terrain filling the screen;
- chase view: the trainer takes off and flies gentle turns, the chase camera close behind it; the
  time statistics (Shift+Ctrl+T) are shown for the last seconds only and kept as a screenshot, so
  that what costs most per frame can be read off.
For each it prints frames per second, the longest frame and the 99th percentile of the frame
times (from the second second of the screen on), and the program's own shutdown line; for the
flight runs the time from the last menu frame to the first flight frame, and for every run the
peak resident memory (VmHWM just before the end). Wall-clock figures depend on what else the
machine runs: the load average is printed with them.

Usage: bench_screens.py <kestro binary> <repository root> [screenshot folder] [seconds]
"""

import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "app", "e2e"))
from e2e_flight import flight_screen  # noqa: E402
from xsession import Session  # noqa: E402

PROC_FLY = 1  # the process indices of src/app/CProcessManager.h
PROC_MENU_MAIN = 2
SETTLE = 1.0  # s of a screen left out of its frame statistics (loading, first uploads)


def shutdown_line(session):
    session.close()
    for line in session.stderr().splitlines():
        if " fps" in line and "frames in" in line:
            return line
    return "no frame-rate line (the program did not end cleanly)"


def peak_memory_mib(session):
    try:
        with open(f"/proc/{session.kestro.pid}/status") as f:
            for line in f:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1]) / 1024.0
    except OSError:
        pass
    return float("nan")


def read_frames(path):
    """(time s, process index) per shown frame."""
    frames = []
    if os.path.exists(path):
        with open(path) as f:
            for line in f:
                parts = line.split()
                if len(parts) == 2:
                    frames.append((float(parts[0]), int(parts[1])))
    return frames


def frame_figures(frames, process, start=None, end=None):
    """fps, longest frame (ms) and 99th percentile (ms) of one screen between start and end."""
    times = [t for t, p in frames if p == process]
    if not times:
        return None
    first = times[0] + SETTLE if start is None else start
    last = times[-1] if end is None else end
    window = [t for t in times if first <= t <= last]
    if len(window) < 3:
        return None
    gaps = sorted(1000.0 * (b - a) for a, b in zip(window, window[1:]))
    fps = (len(window) - 1) / (window[-1] - window[0])
    p99 = gaps[min(len(gaps) - 1, int(0.99 * len(gaps)))]
    return fps, gaps[-1], p99


def menu_to_flight(frames):
    """Seconds from the last main-menu frame to the first flight frame."""
    for (t0, p0), (t1, p1) in zip(frames, frames[1:]):
        if p0 == PROC_MENU_MAIN and p1 == PROC_FLY:
            return t1 - t0
    return float("nan")


def report(name, session, frames, process, start=None, end=None):
    figures = frame_figures(frames, process, start, end)
    if figures:
        fps, longest, p99 = figures
        print(f"{name}: {fps:.1f} fps, longest frame {longest:.1f} ms, 99 % of frames under {p99:.1f} ms")
    else:
        print(f"{name}: too few frames logged")


def start(session):
    session.env["KESTRO_FRAME_LOG"] = os.path.join(session.work, "frames.txt")
    session.start()


def main_menu(session, seconds):
    start(session)
    time.sleep(seconds)
    session.screenshot("bench-main-menu")
    memory = peak_memory_mib(session)
    line = shutdown_line(session)
    report("main menu", session, read_frames(session.env["KESTRO_FRAME_LOG"]), PROC_MENU_MAIN)
    print(f"main menu: peak memory {memory:.0f} MiB; {line}")


def first_flight(session, seconds):
    start(session)
    time.sleep(2.0)
    fly(session)
    time.sleep(3.0)
    memory = peak_memory_mib(session)
    line = shutdown_line(session)
    frames = read_frames(session.env["KESTRO_FRAME_LOG"])
    print(f"first flight, no caches: menu to first flight frame {menu_to_flight(frames):.2f} s; "
          f"peak memory {memory:.0f} MiB; {line}")


def fly(session):
    session.key("Return")
    session.wait_screen("the flight screen", "bench-flight", flight_screen, 60)


def pilots_view(session, seconds):
    start(session)
    time.sleep(2.0)  # the menu as a pilot sees it before choosing
    fly(session)
    time.sleep(seconds)  # the trainer stands on the field, the terrain fills the screen
    session.screenshot("bench-pilots-view")
    memory = peak_memory_mib(session)
    line = shutdown_line(session)
    frames = read_frames(session.env["KESTRO_FRAME_LOG"])
    # The last second holds the screenshot above (an X server grab and a PNG encode on the same
    # cores) and the shutdown: what the bench does, not what the pilot sees.
    fly_times = [t for t, p in frames if p == PROC_FLY]
    report("pilot's view, model on the field", session, frames, PROC_FLY, None,
           fly_times[-1] - 1.0 if fly_times else None)
    print(f"pilot's view: menu to first flight frame {menu_to_flight(frames):.2f} s; "
          f"peak memory {memory:.0f} MiB; {line}")


def chase_view(session, seconds):
    start(session)
    time.sleep(2.0)
    fly(session)
    session.hold("s", 3.0)  # throttle back: the engine starts
    session.hold("w", 4.0)  # full throttle
    session.hold("Down", 1.0)
    session.key("KP_Divide")  # the chase camera keeps the field in view whatever the model does
    begin = time.time()
    end = begin + seconds
    while time.time() < end:  # gentle turns keep the model in the air and in view
        session.hold("Right", 0.3)
        time.sleep(2.0)
        session.hold("Left", 0.3)
        time.sleep(2.0)
    session.screenshot("bench-chase-view")
    session.key("shift+ctrl+t")
    time.sleep(2.0)
    session.screenshot("bench-time-statistics")
    memory = peak_memory_mib(session)
    line = shutdown_line(session)
    frames = read_frames(session.env["KESTRO_FRAME_LOG"])
    # The chase window: from the first flight frame plus the take-off keys to the statistics key.
    fly_times = [t for t, p in frames if p == PROC_FLY]
    if fly_times:
        chase_start = fly_times[0] + 8.0 + SETTLE
        chase_end = fly_times[-1] - 2.5
        report("chase view, trainer flying", session, frames, PROC_FLY, chase_start, chase_end)
        report("whole flight after its first second", session, frames, PROC_FLY)
    print(f"chase view: menu to first flight frame {menu_to_flight(frames):.2f} s; "
          f"peak memory {memory:.0f} MiB; {line}")


def main():
    binary, repo = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    shots = sys.argv[3] if len(sys.argv) > 3 else None
    seconds = float(sys.argv[4]) if len(sys.argv) > 4 else 20.0
    if shots:
        os.makedirs(shots, exist_ok=True)
    print("load average %.1f %.1f %.1f" % os.getloadavg())
    primed = None  # the Output/ folder the first flight left
    for run in (first_flight, main_menu, pilots_view, chase_view):
        session = Session(binary, repo, shots)
        if primed:
            shutil.rmtree(os.path.join(session.run_dir, "Output"))
            shutil.copytree(primed, os.path.join(session.run_dir, "Output"))
        try:
            run(session, seconds)
            if run is first_flight:
                primed = os.path.join(tempfile.mkdtemp(prefix="kestro-bench-"), "Output")
                shutil.copytree(os.path.join(session.run_dir, "Output"), primed)
        finally:
            session.close()  # also when the program did not start: no Xvfb is left behind
            log = session.env.get("KESTRO_FRAME_LOG")
            if shots and log and os.path.exists(log):
                shutil.copy(log, os.path.join(shots, f"frames-{run.__name__}.txt"))
            shutil.rmtree(session.work, ignore_errors=True)
    if primed:
        shutil.rmtree(os.path.dirname(primed), ignore_errors=True)
    print("load average %.1f %.1f %.1f" % os.getloadavg())
    return 0


if __name__ == "__main__":
    sys.exit(main())
