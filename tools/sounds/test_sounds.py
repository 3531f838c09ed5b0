#!/usr/bin/python3
"""Checks the committed sounds: format, levels, lengths, seamless engine loops, and that the
generator still reproduces them byte for byte.

Usage: /usr/bin/python3 tools/sounds/test_sounds.py
"""

import pathlib
import sys
import tempfile
import unittest

import numpy as np

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))

import dsp  # noqa: E402
import make_sounds  # noqa: E402

SOUND_DIR = make_sounds.REPO / "Data" / "Sound"
ALL_FILES = [name for name, _, _ in make_sounds.one_shots()] + [
    name for name, _, _ in make_sounds.ENGINE_VOICES]
PEAK_LIMIT = 32767 * 10 ** (-1.0 / 20.0)  # -1 dBFS


def load(name):
    data, rate = dsp.read_wav(SOUND_DIR / name)
    return data.astype(float), rate


def period_similarity(x, rpm, centre):
    """Correlation of the looped signal with itself one firing period later, around centre."""
    lag = int(round(22050 * 60 / rpm))
    width = 2 * lag
    y = np.concatenate([x, x])
    a = y[centre - width // 2:centre + width // 2]
    b = y[centre - width // 2 + lag:centre + width // 2 + lag]
    return (a * b).sum() / np.sqrt((a * a).sum() * (b * b).sum())


def dominant_frequency(x):
    spectrum = np.abs(np.fft.rfft(x * np.hanning(len(x))))
    return dsp.frequencies(len(x))[np.argmax(spectrum)]


class FormatAndLevels(unittest.TestCase):
    def test_every_file_is_22k_mono_16bit_and_below_minus_1_dbfs(self):
        for name in ALL_FILES:
            with self.subTest(name=name):
                x, rate = load(name)
                self.assertEqual(rate, 22050)
                self.assertGreater(len(x), 0)
                self.assertLess(np.max(np.abs(x)), PEAK_LIMIT)

    def test_only_the_dummy_is_silent(self):
        for name in ALL_FILES:
            with self.subTest(name=name):
                x, _ = load(name)
                if name == "Dummy.wav":
                    self.assertEqual(np.max(np.abs(x)), 0.0)
                else:
                    self.assertGreater(np.sqrt(np.mean(x ** 2)), 32767 * 10 ** (-40 / 20))

    def test_one_shots_start_and_end_quietly(self):
        # a one-shot that stops on a large sample clicks when its buffer ends
        for name, _, _ in make_sounds.one_shots():
            with self.subTest(name=name):
                x, _ = load(name)
                self.assertLess(abs(x[0]), 200)
                self.assertLess(abs(x[-1]), 200)


class EngineLoops(unittest.TestCase):
    def test_length_is_the_named_seconds_and_whole_firing_cycles(self):
        for name, rpm, loop_s in make_sounds.ENGINE_VOICES:
            with self.subTest(name=name):
                x, _ = load(name)
                self.assertEqual(len(x), loop_s * 22050)
                cycles = rpm / 60.0 * loop_s
                self.assertAlmostEqual(cycles, round(cycles))
                self.assertEqual(len(x) * (rpm // 60) % 22050, 0)

    def test_loop_point_is_no_bigger_a_step_than_the_signal_makes_anyway(self):
        for name, _, _ in make_sounds.ENGINE_VOICES:
            with self.subTest(name=name):
                x, _ = load(name)
                steps = np.abs(np.diff(x))
                seam = abs(x[0] - x[-1])
                self.assertLessEqual(seam, np.percentile(steps, 99.0))
                # the curvature across the seam is ordinary too (a kink clicks as well)
                curvature = np.abs(np.diff(x, 2))
                seam_curvature = abs(x[1] - 2 * x[0] + x[-1])
                self.assertLessEqual(seam_curvature, np.percentile(curvature, 99.0))

    def test_firing_rhythm_runs_on_across_the_loop_point(self):
        # A loop that is not a whole number of cycles jumps in firing phase at the seam: there
        # the signal stops resembling itself one period later. Every window that straddles the
        # seam must look as periodic as the rest of the loop does.
        for name, rpm, _ in make_sounds.ENGINE_VOICES:
            with self.subTest(name=name):
                x, _ = load(name)
                lag = int(round(22050 * 60 / rpm))
                n = len(x)
                seam = min(period_similarity(x, rpm, n - off) for off in range(0, 2 * lag, 5))
                elsewhere = np.median([period_similarity(x, rpm, c) for c in
                                       np.linspace(3 * lag, n - 3 * lag, 100).astype(int)])
                self.assertGreater(seam, 0.6 * elsewhere)

    def test_firing_harmonics_carry_most_of_the_energy(self):
        for name, rpm, _ in make_sounds.ENGINE_VOICES:
            with self.subTest(name=name):
                x, _ = load(name)
                spectrum = np.abs(np.fft.rfft(x)) ** 2
                f = dsp.frequencies(len(x))
                firing_hz = rpm / 60.0
                on_harmonic = np.abs(f / firing_hz - np.round(f / firing_hz)) * firing_hz < 0.5
                on_harmonic &= f > 1.0
                self.assertGreater(spectrum[on_harmonic].sum() / spectrum.sum(), 0.5)
                # the fundamental itself is there, not just its overtones
                fundamental = spectrum[np.abs(f - firing_hz) < 0.5].max()
                self.assertGreater(fundamental, 0.05 * spectrum.max())


class DistinctSounds(unittest.TestCase):
    def test_pips_have_distinct_rising_pitches(self):
        pitches = [dominant_frequency(load(n)[0]) for n in ("Pip1.wav", "Pip4.wav", "Pip5.wav")]
        self.assertLess(pitches[0] * 1.2, pitches[1])
        self.assertLess(pitches[1] * 1.2, pitches[2])

    def test_crashes_differ_in_length_and_brightness(self):
        crashes = [load(n)[0] for n in ("Crash1.wav", "Crash2.wav", "Crash3.wav")]
        centroids = []
        for x in crashes:
            power = np.abs(np.fft.rfft(x)) ** 2
            centroids.append((dsp.frequencies(len(x)) * power).sum() / power.sum())
        # the bang is the darkest, the crunch and the scrape are bright
        self.assertLess(centroids[1], 0.7 * centroids[0])
        self.assertLess(centroids[1], 0.7 * centroids[2])
        self.assertEqual(len({len(x) for x in crashes}), 3)


class Reproducible(unittest.TestCase):
    def test_generator_reproduces_the_committed_files(self):
        with tempfile.TemporaryDirectory() as out:
            with open("/dev/null", "w") as quiet:
                stdout, sys.stdout = sys.stdout, quiet
                try:
                    make_sounds.main(["--out", out])
                finally:
                    sys.stdout = stdout
            for name in ALL_FILES:
                with self.subTest(name=name):
                    fresh = (pathlib.Path(out) / name).read_bytes()
                    self.assertEqual(fresh, (SOUND_DIR / name).read_bytes())


if __name__ == "__main__":
    unittest.main()
