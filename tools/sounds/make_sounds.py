#!/usr/bin/python3
"""Writes every WAV file the program loads into Data/Sound/ (22050 Hz, 16-bit mono PCM).

Usage: /usr/bin/python3 tools/sounds/make_sounds.py [--out DIR]

Every sound is synthesised here from seeded random generators, so a run rewrites the same files.
"""

import argparse
import pathlib
import sys

import numpy as np

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))

import dsp  # noqa: E402
import effects  # noqa: E402
import engine  # noqa: E402

REPO = pathlib.Path(__file__).resolve().parents[2]

# Engine voices: (file, rpm the recording stands for, loop length in seconds). The program plays
# each at its natural rate when the propeller turns at rpm, and the loop holds rpm / 60 * seconds
# whole firing cycles.
ENGINE_VOICES = [
    ("Engine21_01680_13s_22m.wav", 1680, 13),
    ("Engine21_06780_1s_22m.wav", 6780, 1),
    ("Engine21_10140_2s_22m.wav", 10140, 2),
]


def one_shots():
    """(file name, builder, peak dBFS) of every sound that is not an engine voice."""
    return [
        ("Dummy.wav", lambda rng: effects.silence(0.05), None),
        # toggle on / off: the "on" ping sits a little higher
        ("ht_sw1.wav", lambda rng: effects.switch_click(rng, 3600.0), -3.0),
        ("ht_sw2.wav", lambda rng: effects.switch_click(rng, 3000.0), -3.0),
        # press / release: the release is lighter and higher
        ("ht_pb1.wav", lambda rng: effects.push_button_click(rng, 180.0, 1600.0), -3.0),
        ("ht_pb2.wav", lambda rng: effects.push_button_click(rng, 240.0, 2300.0, 0.045), -4.0),
        ("Pip1.wav", lambda rng: effects.pip(700.0, 0.09), -4.0),
        ("Pip4.wav", lambda rng: effects.pip(1050.0, 0.06), -4.0),
        ("Pip5.wav", lambda rng: effects.pip(1400.0, 0.06), -4.0),
        ("Crash1.wav", effects.crash_balsa_crunch, -2.0),
        ("Crash2.wav", effects.crash_bang, -2.0),
        ("Crash3.wav", effects.crash_scrape, -2.0),
        ("Touch1.wav", effects.touchdown, -3.0),
    ]


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=pathlib.Path, default=REPO / "Data" / "Sound")
    args = parser.parse_args(argv)
    args.out.mkdir(parents=True, exist_ok=True)

    for seed, (name, build, peak_dbfs) in enumerate(one_shots(), start=1):
        x = build(np.random.default_rng(1000 + seed))
        if peak_dbfs is not None:
            x = dsp.normalise_peak(x, peak_dbfs)
        dsp.write_wav(args.out / name, x)
        print(f"{name:32s} {len(x):7d} samples  {dsp.seconds(len(x)):6.3f} s")

    for seed, (name, rpm, loop_s) in enumerate(ENGINE_VOICES, start=1):
        x = engine.engine_voice(rpm, loop_s, seed=2000 + seed)
        dsp.write_wav(args.out / name, x)
        cycles = rpm // 60 * loop_s
        print(f"{name:32s} {len(x):7d} samples  {dsp.seconds(len(x)):6.3f} s  "
              f"{cycles} firing cycles at {rpm / 60:.0f} Hz")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
