#!/usr/bin/python3
"""Frame rate of the real program under Xvfb at 1024 x 768, no video sync.

Two runs, each from start to SIGTERM: the main menu left alone, and the flight screen with the
trainer flying a climbing circuit from the keyboard. The flight run also shows the time
statistics (Shift+Ctrl+T) and keeps a screenshot of them, so what costs most per frame can be
read off. Prints the program's own shutdown line for each run.

Usage: bench_screens.py <kestro binary> <repository root> [screenshot folder] [seconds]
"""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "app", "e2e"))
from e2e_flight import flight_screen  # noqa: E402
from xsession import Session  # noqa: E402


def shutdown_line(session):
    session.close()
    for line in session.stderr().splitlines():
        if " fps" in line and "frames in" in line:
            return line
    return "no frame-rate line (the program did not end cleanly)"


def main_menu(session, seconds):
    session.start()
    time.sleep(seconds)
    session.screenshot("bench-main-menu")
    print("main menu:", shutdown_line(session))


def flying(session, seconds):
    session.start()
    session.key("Return")
    session.wait_screen("the flight screen", "bench-flight", flight_screen, 60)
    session.hold("s", 3.0)  # throttle back: the engine starts
    session.hold("w", 4.0)  # full throttle
    session.hold("Down", 1.0)
    session.key("KP_Divide")  # the chase camera keeps the field in view whatever the model does
    session.key("shift+ctrl+t")
    end = time.time() + seconds
    while time.time() < end:  # gentle turns keep the model in the air and in view
        session.hold("Right", 0.3)
        time.sleep(2.0)
        session.hold("Left", 0.3)
        time.sleep(2.0)
    session.screenshot("bench-time-statistics")
    print("flying:", shutdown_line(session))


def main():
    binary, repo = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    shots = sys.argv[3] if len(sys.argv) > 3 else None
    seconds = float(sys.argv[4]) if len(sys.argv) > 4 else 20.0
    if shots:
        os.makedirs(shots, exist_ok=True)
    for run in (main_menu, flying):
        session = Session(binary, repo, shots)
        try:
            run(session, seconds)
        finally:
            session.close()  # also when the program did not start: no Xvfb is left behind
    return 0


if __name__ == "__main__":
    sys.exit(main())
