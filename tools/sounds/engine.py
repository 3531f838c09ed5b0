"""Engine voices: a small glow two-stroke (.40 size) turning a two-blade propeller.

A two-stroke fires once per revolution, so the firing frequency is rpm / 60. Each voice is built
from four layers, all periodic in the loop length:

1. Exhaust pulses: one pressure pulse per firing (sharp rise as the exhaust port opens, decay
   over the port's open time of about 130 degrees of crank angle), with a little cycle-to-cycle
   spread in timing and strength, then shaped by the muffler's resonances. This gives the
   fundamental and its harmonic series.
2. Exhaust buzz: band-limited noise gated by the same port-open window, the rasp of a glow motor.
3. Combustion noise: a quiet broadband bed, lightly modulated by the firing.
4. Propeller: tones at the blade-pass frequency (2 x rpm / 60) and its harmonics, plus a
   broadband swish modulated at blade-pass rate; it grows steeply with speed, so it is a whine at
   full power and nearly absent at idle.

The loop holds a whole number of firing cycles (the rpm figures give integer frequencies, so any
whole number of seconds does), the pulses are placed modulo the loop length and every filter is
circular: the last sample runs into the first as smoothly as any two neighbours.
"""

import numpy as np

import dsp

BLADES = 2
PORT_OPEN_DEGREES = 130.0  # exhaust timing of a typical small glow two-stroke


def _periodic_fluctuation(rng, n_samples, loop_seconds, depth, max_hz=4.0):
    """A slow random level wobble made of sinusoids whose periods divide the loop length."""
    t = dsp.time_axis(n_samples)
    wobble = np.zeros(n_samples)
    k_max = max(1, int(max_hz * loop_seconds))
    for k in range(1, k_max + 1):
        freq = k / loop_seconds
        wobble += rng.normal() / k * np.sin(2.0 * np.pi * freq * t + rng.uniform(0, 2 * np.pi))
    peak = np.max(np.abs(wobble))
    return 1.0 + depth * wobble / peak if peak > 0 else np.ones(n_samples)


def _pulse_train(rng, n_samples, cycles, port_open_s, irregularity):
    """Exhaust pulses and the port-open gate, both wrapped round the loop.

    Returns (pulses, gate): pulses holds one blowdown pulse per firing; gate is 1 while the port
    is open (with soft edges) and scaled by that firing's strength.
    """
    period = n_samples / cycles
    pulses = np.zeros(n_samples)
    gate = np.zeros(n_samples)
    rise_s = 0.00015
    decay_s = 0.3 * port_open_s
    width = int(np.ceil(port_open_s * dsp.SAMPLE_RATE)) + 2
    strengths = np.clip(1.0 + irregularity * rng.normal(size=cycles), 0.3, 1.6)
    # At low speed a glow engine does not burn every charge equally well: weaken some firings.
    weak = rng.uniform(size=cycles) < 2.0 * irregularity
    strengths[weak] *= 0.55
    jitter = rng.normal(scale=irregularity * 0.03 * period, size=cycles)
    for k in range(cycles):
        # The first firing comes a tenth of a cycle after the loop start, so the loop point falls
        # late in a cycle, where the previous pulse has died away.
        start = (k + 0.1) * period + jitter[k]
        first = int(np.floor(start))
        idx = np.arange(first, first + width)
        tau = (idx - start) / dsp.SAMPLE_RATE
        valid = tau >= 0.0
        shape = np.where(valid, (1.0 - np.exp(-np.maximum(tau, 0) / rise_s))
                         * np.exp(-np.maximum(tau, 0) / decay_s), 0.0)
        # soft closing of the port so the gate has no step in it
        close = np.clip((port_open_s - tau) / (0.2 * port_open_s), 0.0, 1.0)
        window = np.where(valid, np.sin(0.5 * np.pi * close) * np.clip(tau / 0.0005, 0, 1), 0.0)
        np.add.at(pulses, idx % n_samples, strengths[k] * shape * close)
        np.add.at(gate, idx % n_samples, strengths[k] * window)
    return pulses, gate


def _propeller(rng, n_samples, blade_pass_hz, loop_seconds):
    """Blade-pass tones and the swish of the blades."""
    t = dsp.time_axis(n_samples)
    tones = np.zeros(n_samples)
    for m in range(1, 16):
        freq = m * blade_pass_hz
        if freq > 6000.0:
            break
        # the tonal whine of a small prop peaks a few harmonics up, around 1 to 2.5 kHz
        weight = (1.0 / m ** 0.8) * (0.4 + abs(dsp.resonance(np.array([freq]), 1800.0, 0.9)[0]))
        tones += weight * np.sin(2.0 * np.pi * freq * t + rng.uniform(0, 2 * np.pi))
    swish = dsp.filter_circular(rng.normal(size=n_samples),
                                lambda f: dsp.bandpass(f, 700.0, 3500.0, 2))
    swish *= 1.0 + 0.7 * np.cos(2.0 * np.pi * blade_pass_hz * t)
    swish *= _periodic_fluctuation(rng, n_samples, loop_seconds, 0.15)
    return tones / np.max(np.abs(tones)), swish / np.max(np.abs(swish))


def _muffler(f):
    """Exhaust and muffler colouring of the pulses: a few broad resonances, highs rolled off."""
    body = (0.55 * dsp.resonance(f, 420.0, 1.5) + 0.8 * dsp.resonance(f, 1250.0, 2.5)
            + 0.45 * dsp.resonance(f, 2700.0, 3.0) + 0.2)
    return body * dsp.lowpass(f, 4500.0, 2) * dsp.highpass(f, 18.0, 2)


def engine_voice(rpm, loop_seconds, seed):
    """Synthesises one loop of the engine at rpm; returns floats peaking at -3 dBFS."""
    rng = np.random.default_rng(seed)
    firing_hz = rpm / 60.0
    if abs(firing_hz - round(firing_hz)) > 1e-9:
        raise ValueError("the loop needs an integer firing frequency")
    n_samples = int(round(loop_seconds * dsp.SAMPLE_RATE))
    cycles = int(round(firing_hz * loop_seconds))
    if cycles * dsp.SAMPLE_RATE != int(round(firing_hz)) * n_samples:
        raise ValueError("loop length is not a whole number of firing cycles")

    speed = rpm / 10140.0  # 1.0 at full power
    port_open_s = PORT_OPEN_DEGREES / 360.0 / firing_hz
    irregularity = 0.22 if rpm < 3000 else 0.06

    pulses, gate = _pulse_train(rng, n_samples, cycles, port_open_s, irregularity)
    exhaust = dsp.filter_circular(pulses, _muffler)
    exhaust /= np.max(np.abs(exhaust))

    buzz = dsp.filter_circular(rng.normal(size=n_samples),
                               lambda f: dsp.bandpass(f, 1200.0, 5000.0, 2)
                               * (0.6 + dsp.resonance(f, 2600.0, 1.2)))
    buzz *= gate
    buzz /= np.max(np.abs(buzz))

    combustion = dsp.filter_circular(rng.normal(size=n_samples),
                                     lambda f: dsp.bandpass(f, 150.0, 6000.0, 1))
    combustion *= 0.6 + 0.4 * np.clip(gate, 0.0, 1.5)
    combustion /= np.max(np.abs(combustion))

    tones, swish = _propeller(rng, n_samples, BLADES * firing_hz, loop_seconds)

    prop_level = 0.03 + 0.45 * speed ** 2.5
    mix = (1.0 * exhaust + (0.25 + 0.2 * speed) * buzz + 0.08 * combustion
           + prop_level * (0.5 * tones + 0.6 * swish))
    mix *= _periodic_fluctuation(rng, n_samples, loop_seconds, 0.04)
    # A little soft saturation takes the tips off the exhaust pulses, as the muffler and the
    # microphone of a real recording do, so the voice is not all peaks and no body at idle.
    drive = 2.5 if rpm < 3000 else 1.5
    mix = np.tanh(drive * mix / np.max(np.abs(mix))) / np.tanh(drive)
    # a final circular band limit keeps pitch-shifting upwards from folding highs back down
    mix = dsp.filter_circular(mix, lambda f: dsp.lowpass(f, 7000.0, 3) * dsp.highpass(f, 20.0, 2))
    return dsp.normalise_peak(mix, -3.0)
