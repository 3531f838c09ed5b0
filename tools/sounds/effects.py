"""One-shot sounds: interface clicks, pips, crashes and the wheel touchdown.

Each function returns floats in -1..1 at dsp.SAMPLE_RATE. The random generators are seeded by the
caller so every run writes the same files.
"""

import numpy as np

import dsp


def silence(duration_s):
    return np.zeros(int(duration_s * dsp.SAMPLE_RATE))


def switch_click(rng, ping_hz, duration_s=0.035):
    """A toggle switch: the lever snaps over with two close metallic ticks and a short ping."""
    n = int(duration_s * dsp.SAMPLE_RATE)
    noise = rng.normal(size=n)
    ticks = (dsp.attack_decay(n, 0.0002, 0.0012) + 0.6 * dsp.attack_decay(n, 0.0002, 0.0010, 0.004))
    body = dsp.filter_oneshot(noise * ticks, lambda f: dsp.bandpass(f, 1500.0, 8000.0, 2)
                              * (0.4 + dsp.resonance(f, ping_hz, 6.0)))
    t = dsp.time_axis(n)
    ping = np.sin(2 * np.pi * ping_hz * t) * dsp.attack_decay(n, 0.0003, 0.006)
    return dsp.fade_edges(body / np.max(np.abs(body)) + 0.25 * ping, 0.0002, 0.004)


def push_button_click(rng, thump_hz, click_hz, duration_s=0.06):
    """A push button: a soft low thump of the cap bottoming out under a duller click."""
    n = int(duration_s * dsp.SAMPLE_RATE)
    t = dsp.time_axis(n)
    thump = np.sin(2 * np.pi * thump_hz * t) * dsp.attack_decay(n, 0.001, 0.012)
    click = dsp.filter_oneshot(rng.normal(size=n) * dsp.attack_decay(n, 0.0003, 0.003),
                               lambda f: dsp.resonance(f, click_hz, 3.0) * dsp.lowpass(f, 6000.0))
    click /= np.max(np.abs(click))
    return dsp.fade_edges(0.6 * thump + 0.7 * click, 0.0005, 0.008)


def pip(freq_hz, duration_s):
    """A short beep with a little second harmonic so it carries on small speakers."""
    n = int(duration_s * dsp.SAMPLE_RATE)
    t = dsp.time_axis(n)
    tone = np.sin(2 * np.pi * freq_hz * t) + 0.15 * np.sin(2 * np.pi * 2 * freq_hz * t)
    return dsp.fade_edges(tone, 0.004, 0.012)


def crash_balsa_crunch(rng, duration_s=0.7):
    """Balsa and ply breaking: a dense run of small cracks that thins out, bright and dry."""
    n = int(duration_s * dsp.SAMPLE_RATE)
    cracks = np.zeros(n)
    t_s = 0.0
    while t_s < duration_s - 0.02:
        i = int(t_s * dsp.SAMPLE_RATE)
        length = int(rng.uniform(0.002, 0.012) * dsp.SAMPLE_RATE)
        end = min(n, i + length)
        seg = rng.normal(size=end - i) * np.exp(-np.arange(end - i) / (0.25 * length))
        cracks[i:end] += seg * np.exp(-t_s / 0.22) * rng.uniform(0.3, 1.0)
        t_s += rng.exponential(0.006 + 0.05 * t_s)  # splinters come fast at first, then sparse
    body = dsp.filter_oneshot(cracks, lambda f: dsp.bandpass(f, 600.0, 7000.0, 2)
                              * (0.5 + dsp.resonance(f, 2200.0, 1.5)))
    thud = dsp.filter_oneshot(rng.normal(size=n) * dsp.attack_decay(n, 0.002, 0.05),
                              lambda f: dsp.lowpass(f, 300.0, 2))
    mix = body / np.max(np.abs(body)) + 0.5 * thud / np.max(np.abs(thud))
    # a few loud snaps would otherwise set the peak and leave the rest of the crunch faint
    mix = np.tanh(3.0 * mix / np.max(np.abs(mix)))
    return dsp.fade_edges(mix, 0.0005, 0.05)


def crash_bang(rng, duration_s=0.6):
    """A hard hit: broadband crack on top of a heavy, fast-decaying low thump."""
    n = int(duration_s * dsp.SAMPLE_RATE)
    t = dsp.time_axis(n)
    thump_freq = 95.0 * np.exp(-t / 0.08) + 55.0  # the pitch of a struck body drops as it settles
    thump = np.sin(2 * np.pi * np.cumsum(thump_freq) / dsp.SAMPLE_RATE) * dsp.attack_decay(n, 0.001, 0.12)
    crack = dsp.filter_oneshot(rng.normal(size=n) * dsp.attack_decay(n, 0.0005, 0.03),
                               lambda f: dsp.lowpass(f, 3500.0, 2) * dsp.highpass(f, 200.0, 1))
    rumble = dsp.filter_oneshot(rng.normal(size=n) * dsp.attack_decay(n, 0.005, 0.15),
                                lambda f: dsp.lowpass(f, 500.0, 2))
    mix = (0.9 * thump + 0.8 * crack / np.max(np.abs(crack))
           + 0.4 * rumble / np.max(np.abs(rumble)))
    return dsp.fade_edges(mix, 0.0003, 0.06)


def crash_scrape(rng, duration_s=1.1):
    """Sliding along the ground: grainy mid-high noise with a rough, fluttering level."""
    n = int(duration_s * dsp.SAMPLE_RATE)
    t = dsp.time_axis(n)
    grain = dsp.filter_oneshot(rng.normal(size=n), lambda f: dsp.bandpass(f, 900.0, 6000.0, 2)
                               * (0.6 + dsp.resonance(f, 3000.0, 2.0)))
    # the level flutters as the airframe bumps over the ground
    flutter = dsp.filter_oneshot(rng.normal(size=n), lambda f: dsp.lowpass(f, 25.0, 2))
    flutter = 0.6 + 0.4 * flutter / np.max(np.abs(flutter))
    envelope = dsp.attack_decay(n, 0.03, 0.45) * flutter
    scrape = grain / np.max(np.abs(grain)) * envelope
    # a faint grinding tone that drops as the model slows down
    tone_freq = 420.0 * (1.0 - 0.35 * t / duration_s)
    grind = np.sin(2 * np.pi * np.cumsum(tone_freq) / dsp.SAMPLE_RATE) * envelope
    return dsp.fade_edges(scrape + 0.15 * grind, 0.002, 0.1)


def touchdown(rng, duration_s=0.25):
    """A wheel touching down: a short rubbery thump and a brief tyre squeak."""
    n = int(duration_s * dsp.SAMPLE_RATE)
    t = dsp.time_axis(n)
    thump = np.sin(2 * np.pi * 110.0 * t) * dsp.attack_decay(n, 0.002, 0.025)
    knock = dsp.filter_oneshot(rng.normal(size=n) * dsp.attack_decay(n, 0.001, 0.01),
                               lambda f: dsp.lowpass(f, 900.0, 2))
    # the squeak glides down a little as the wheel spins up to ground speed, with a slight wobble
    squeak_freq = 1900.0 - 500.0 * np.clip(t / 0.12, 0, 1) + 40.0 * np.sin(2 * np.pi * 35.0 * t)
    squeak_env = dsp.attack_decay(n, 0.008, 0.035, delay_s=0.004) * (t < 0.16)
    squeak = np.sin(2 * np.pi * np.cumsum(squeak_freq) / dsp.SAMPLE_RATE)
    squeak += 0.3 * np.sin(2 * 2 * np.pi * np.cumsum(squeak_freq) / dsp.SAMPLE_RATE)
    squeak = squeak * squeak_env
    mix = 0.8 * thump + 0.5 * knock / np.max(np.abs(knock)) + 0.35 * squeak
    return dsp.fade_edges(mix, 0.0005, 0.03)
