#!/usr/bin/python3
"""What a pilot hears, recorded with OpenAL Soft's wave-file back end while xdotool flies.

The program opens the default audio device; an ALSOFT_CONF naming the "wave" driver makes that
device write the mix to a file in real time (stereo float, 44.1 kHz). The scenario marks where
the file has got to before and after each step and measures that stretch:
  - the fly entry's click is heard (a short peak on the menu's silence);
  - on the flight screen with the engine stopped: silence;
  - throttle back, a little throttle: the engine runs; throttle closed: it idles, heard;
  - the sound dialog (SHIFT+S) takes the master volume down five steps to 0.5 and OK writes it:
    the idling engine is 5 dB quieter and Output/Sound.txt holds 0.5 (each stretch is measured
    against the part of the idle recording it plays, whose own level wanders by +-0.8 dB from
    one 2 s stretch to the next);
  - full throttle: the dominant frequency of the engine rises;
  - after a restart the file still holds 0.5 and the fly entry's click is 5 dB quieter.

Usage: e2e_sound.py <kestro binary> <repository root> [screenshot folder]
"""

import os
import re
import struct
import sys
import time
import wave

import numpy as np

from xsession import Failure, Session, check, fraction, main, wait_for

TIMEOUT = 200.0
RATE = 44100
# The sound dialog: its OK button, from the dialog's place and layout (window pixels).
SOUND_LEFT, SOUND_TOP = 400, 110
SOUND_CLIENT_TOP = 20
OK_BUTTON = (SOUND_LEFT + 10 + 32, SOUND_TOP + SOUND_CLIENT_TOP + 165 + 12)


class Recording:
    """The growing wave file: samples from the data chunk on, read as they arrive."""

    def __init__(self, path):
        self.path = path

    def data_offset(self):
        if not os.path.exists(self.path):
            raise Failure(f"{self.path} is gone (its folder holds {os.listdir(os.path.dirname(self.path))})")
        with open(self.path, "rb") as f:
            head = f.read(4096)
        at = 12
        while at + 8 <= len(head):
            tag, size = head[at:at + 4], struct.unpack("<I", head[at + 4:at + 8])[0]
            if tag == b"data":
                return at + 8
            at += 8 + size
        return None

    def frames(self):
        """Stereo frames written so far."""
        offset = self.data_offset()
        return 0 if offset is None else (os.path.getsize(self.path) - offset) // 8

    def read(self, first, last):
        """Frames first .. last as a (n, 2) float array."""
        offset = self.data_offset()
        with open(self.path, "rb") as f:
            f.seek(offset + first * 8)
            raw = f.read((last - first) * 8)
        return np.frombuffer(raw[:len(raw) // 8 * 8], dtype="<f4").reshape(-1, 2)

    def mark(self):
        return self.frames()


def rms_db(samples):
    value = float(np.sqrt(np.mean(samples.astype(np.float64) ** 2))) if len(samples) else 0.0
    return 20.0 * np.log10(value) if value > 0.0 else -200.0


class IdleVoice:
    """The engine's idle recording as the program plays it at idle (mono, RATE): its 1680 rpm
    recording turned at 1200 rpm plays at 1200 / 1680 of its own 22050 Hz."""

    FILE = "Engine21_01680_13s_22m.wav"
    RATE_HZ = 22050.0 * 1200.0 / 1680.0
    PIECE = RATE // 2  # frames aligned at a time, short enough for the playback clock's drift

    def __init__(self, repo):
        with wave.open(os.path.join(repo, "Data", "Sound", self.FILE)) as f:
            source = np.frombuffer(f.readframes(f.getnframes()), dtype="<i2") / 32768.0
        step = self.RATE_HZ / RATE
        loop = np.interp(np.arange(int(len(source) / step)) * step, np.arange(len(source)), source)
        self.twice = np.concatenate([loop, loop])  # a piece may start near the loop's end
        self.loop_frames = len(loop)
        self.spectrum = np.fft.rfft(self.twice)
        # The energy of each PIECE-long stretch, so that a loud stretch does not outbid the
        # matching one.
        summed = np.concatenate([[0.0], np.cumsum(self.twice ** 2)])
        self.energy = summed[self.PIECE:self.PIECE + self.loop_frames] - summed[:self.loop_frames]

    def gain_db(self, samples):
        """The level of both channels against the stretches of the recording they play."""
        heard, played = 0.0, 0.0
        for first in range(0, len(samples) - self.PIECE + 1, self.PIECE):
            both = samples[first:first + self.PIECE].astype(np.float64)
            piece = both.mean(axis=1)  # the panning scales the channels, not what they play
            size = len(self.twice)
            correlation = np.fft.irfft(self.spectrum * np.conj(np.fft.rfft(piece, size)), size)[:self.loop_frames]
            likeness = correlation / np.sqrt(np.maximum(self.energy * np.sum(piece ** 2), 1e-30))
            at = int(np.argmax(likeness))
            match = self.twice[at:at + self.PIECE]
            if likeness[at] < 0.9:
                raise Failure(f"the idle engine is not {self.FILE} at {self.RATE_HZ:.0f} Hz alone "
                              f"(a piece at {first / RATE:.1f} s matches it by {likeness[at]:.2f})")
            heard += np.sum(both ** 2) / 2.0
            played += np.sum(match ** 2)
        if played <= 0.0 or heard <= 0.0:
            raise Failure("nothing of the idle engine to measure")
        return 10.0 * np.log10(heard / played)


def dominant_hz(samples):
    """The strongest component above 30 Hz of the left channel, from a Hann-windowed spectrum."""
    x = samples[:, 0].astype(np.float64)
    spectrum = np.abs(np.fft.rfft(x * np.hanning(len(x))))
    freqs = np.fft.rfftfreq(len(x), 1.0 / RATE)
    spectrum[freqs < 30.0] = 0.0
    return float(freqs[np.argmax(spectrum)])


def record(session, recording, seconds):
    """Lets the program play for a while and returns what it played meanwhile."""
    start = recording.mark()
    time.sleep(seconds)
    session.alive()
    return recording.read(start, recording.mark())


def configure(session):
    """Points OpenAL Soft at a wave file in the run folder."""
    wav = os.path.join(session.work, "heard.wav")
    conf = os.path.join(session.work, "alsoft.conf")
    with open(conf, "w") as f:
        f.write(f"[general]\ndrivers=wave\n[wave]\nfile={wav}\n")
    session.env["ALSOFT_CONF"] = conf
    session.env["ALSOFT_DRIVERS"] = "wave"
    return Recording(wav)


def flight_screen(image):
    return fraction(image, (0, 560, 1024, 700), lambda r, g, b: g > r + 10 and g > b + 25) > 0.6


def stored_volume(session):
    with open(os.path.join(session.run_dir, "Output", "Sound.txt")) as f:
        found = re.search(r"\.VOLUME_GLOBAL\s+([-\d.]+)", f.read())
    return float(found.group(1)) if found else None


def start_engine(session, recording):
    """Throttle back, then a little throttle at a time until the engine is heard (it starts at
    a fifth of the throttle; the keys move it by the clock, the program by its frames)."""
    for _ in range(3):
        session.hold("s", 5.0)  # the throttle keys move it by about a third of its travel a second
        for _ in range(10):
            session.hold("w", 0.2)
            if rms_db(record(session, recording, 0.4)) > -60.0:
                return True
    session.screenshot("engine-not-started")
    return False


def click_peak(session, recording):
    """Return on the main menu's fly entry: its click, and the flight screen."""
    start = recording.mark()
    session.key("Return")
    session.wait_screen("the flight screen", "flight", flight_screen, 60)
    click = recording.read(start, recording.mark())
    return float(np.max(np.abs(click))) if len(click) else 0.0


def first_run(session):
    recording = configure(session)
    session.start()
    wait_for("the wave file", lambda: os.path.exists(recording.path) and recording.data_offset(), 20)
    menu = record(session, recording, 1.5)
    check(rms_db(menu) < -90.0, f"the main menu is silent ({rms_db(menu):.0f} dB)")
    peak = click_peak(session, recording)
    check(peak > 0.01, f"the fly entry's click is heard (peak {peak:.3f})")

    time.sleep(2.0)  # the model settles on its wheels
    stopped = record(session, recording, 2.0)
    check(rms_db(stopped) < -90.0, f"silent while the engine is stopped ({rms_db(stopped):.0f} dB)")

    check(start_engine(session, recording), "a little throttle starts the engine")
    session.screenshot("engine-running")
    session.hold("s", 5.0)  # throttle closed: the engine idles, the model stands
    time.sleep(1.0)
    idle = record(session, recording, 2.0)
    check(rms_db(idle) > -50.0, f"the engine is heard at idle ({rms_db(idle):.0f} dB)")
    low_hz = dominant_hz(idle)

    session.key("shift+s")
    session.wait_screen("the sound dialog", "sound-dialog",
                        lambda image: fraction(image, (SOUND_LEFT + 5, SOUND_TOP + 30, SOUND_LEFT + 300,
                                                       SOUND_TOP + 150), lambda r, g, b: max(r, g, b) < 60) > 0.5, 15)
    for _ in range(5):
        session.key("Down")  # the master volume has the focus: 1.0 -> 0.5
    time.sleep(0.5)
    session.screenshot("sound-dialog-half")
    session.click(*OK_BUTTON)
    wait_for("Sound.txt with the new volume", lambda: stored_volume(session) == 0.5, 10)
    check(True, "OK writes the master volume 0.5 to Output/Sound.txt")
    time.sleep(1.0)
    half = record(session, recording, 2.0)
    voice = IdleVoice(session.repo)
    idle_db, half_db = voice.gain_db(idle), voice.gain_db(half)
    check(abs(half_db - idle_db + 5.0) < 0.5,
          f"the engine is 5 dB quieter at half volume ({idle_db:.2f} -> {half_db:.2f} dB of its recording; "
          f"heard {rms_db(idle):.1f} -> {rms_db(half):.1f} dB)")

    session.hold("w", 7.0)  # full throttle
    time.sleep(1.0)
    full = record(session, recording, 2.0)
    high_hz = dominant_hz(full)
    check(high_hz > 2.0 * low_hz, f"the pitch rises with the throttle: {low_hz:.0f} Hz -> {high_hz:.0f} Hz")
    session.close()
    return peak


def scenario(session):
    loud_click = first_run(session)
    # The same run folder again: the master volume comes back from Output/Sound.txt.
    again = Session(session.binary, session.repo, session.shots)
    again.work, again.run_dir = session.work, session.run_dir
    again.stderr_path = os.path.join(session.work, "stderr-again.txt")
    recording = configure(again)
    # The first run's finished file must go, or the wait below would find it at once and the new
    # process would empty it under the marks taken from it.
    if os.path.exists(recording.path):
        os.remove(recording.path)
    try:
        again.start()
        wait_for("the wave file", lambda: os.path.exists(recording.path) and recording.data_offset(), 20)
        check(stored_volume(again) == 0.5, "after a restart Output/Sound.txt still holds 0.5")
        peak = click_peak(again, recording)
        check(abs(20.0 * np.log10(max(peak, 1e-9) / loud_click) + 5.0) < 1.0,
              f"and the click is 5 dB quieter than before ({loud_click:.3f} -> {peak:.3f})")
    finally:
        again.close()


if __name__ == "__main__":
    sys.exit(main(scenario, TIMEOUT))
