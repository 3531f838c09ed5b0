"""Small signal helpers shared by the sound generators.

Every filter here works in the frequency domain on the whole signal. For loops that is the point:
an FFT filter is circular, so the end of a filtered loop runs into its start exactly as any other
pair of neighbouring samples does and the loop point cannot click. One-shot sounds are padded with
silence before filtering so their tails do not wrap round onto their attack.
"""

import wave

import numpy as np

SAMPLE_RATE = 22050  # Hz; what the sound list's primary buffer and every voice divisor assume


def seconds(n_samples):
    return n_samples / SAMPLE_RATE


def time_axis(n_samples):
    """Sample times in seconds."""
    return np.arange(n_samples) / SAMPLE_RATE


def frequencies(n_samples):
    """Bin frequencies in Hz of np.fft.rfft for a signal of n_samples."""
    return np.fft.rfftfreq(n_samples, 1.0 / SAMPLE_RATE)


def _butterworth(s, order):
    """Analogue Butterworth low-pass prototype evaluated at the complex frequencies s."""
    h = np.ones_like(s)
    for k in range(1, order + 1):
        pole = np.exp(1j * np.pi * (2 * k + order - 1) / (2 * order))
        h = h / (s - pole)
    return h


def lowpass(f, cutoff_hz, order=2):
    """Causal Butterworth low-pass response (complex), so transients ring after, not before."""
    return _butterworth(1j * np.asarray(f, dtype=float) / cutoff_hz, order)


def highpass(f, cutoff_hz, order=2):
    """Causal Butterworth high-pass response (complex); zero at DC."""
    f = np.asarray(f, dtype=float)
    s = 1j * np.maximum(f, 1e-9) / cutoff_hz
    return np.where(f > 0, _butterworth(1.0 / s, order), 0.0)


def bandpass(f, low_hz, high_hz, order=2):
    return highpass(f, low_hz, order) * lowpass(f, high_hz, order)


def resonance(f, centre_hz, q):
    """Causal second-order resonator (complex) with peak gain 1 at centre_hz."""
    safe = np.maximum(np.asarray(f, dtype=float), 1e-9)
    detune = safe / centre_hz - centre_hz / safe
    return 1.0 / (1.0 + 1j * q * detune)


def filter_circular(x, response):
    """Filters a loop with the complex response(f); the filter wraps round the loop."""
    spectrum = np.fft.rfft(x)
    gain = response(frequencies(len(x)))
    gain[0] = 0.0  # no DC: a loop with an offset thumps when the buffer starts and stops
    return np.fft.irfft(spectrum * gain, len(x))


def filter_oneshot(x, response, tail_seconds=0.25):
    """Filters a one-shot sound, padding it so the filter ringing does not wrap onto the attack."""
    pad = int(tail_seconds * SAMPLE_RATE)
    padded = np.concatenate([x, np.zeros(pad)])
    return filter_circular(padded, response)[: len(x)]


def fade_edges(x, fade_in_s=0.001, fade_out_s=0.005):
    """Raised-cosine fades so a one-shot starts and ends on zero."""
    y = x.copy()
    n_in = max(1, int(fade_in_s * SAMPLE_RATE))
    n_out = max(1, int(fade_out_s * SAMPLE_RATE))
    y[:n_in] *= 0.5 - 0.5 * np.cos(np.linspace(0.0, np.pi, n_in))
    y[-n_out:] *= 0.5 + 0.5 * np.cos(np.linspace(0.0, np.pi, n_out))
    return y


def decay(n_samples, time_constant_s, delay_s=0.0):
    """Exponential decay envelope starting after delay_s."""
    t = time_axis(n_samples) - delay_s
    return np.where(t < 0.0, 0.0, np.exp(-np.maximum(t, 0.0) / time_constant_s))


def attack_decay(n_samples, attack_s, time_constant_s, delay_s=0.0):
    """Linear attack, then exponential decay."""
    t = time_axis(n_samples) - delay_s
    rise = np.clip(t / attack_s, 0.0, 1.0)
    fall = np.exp(-np.maximum(t - attack_s, 0.0) / time_constant_s)
    return np.where(t < 0.0, 0.0, rise * fall)


def normalise_peak(x, peak_dbfs):
    """Scales x so that its largest magnitude sits at peak_dbfs."""
    peak = np.max(np.abs(x))
    if peak == 0.0:
        return x
    return x * (10.0 ** (peak_dbfs / 20.0) / peak)


def to_pcm16(x):
    """Rounds to 16-bit samples; values are expected inside -1..1 already."""
    if np.max(np.abs(x)) >= 1.0:
        raise ValueError("signal would clip: normalise it before writing")
    return np.round(x * 32767.0).astype("<i2")


def write_wav(path, x):
    """Writes x (floats in -1..1) as 22050 Hz, 16-bit mono PCM."""
    pcm = to_pcm16(x)
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(SAMPLE_RATE)
        out.writeframes(pcm.tobytes())
    return pcm


def read_wav(path):
    """Reads a 16-bit mono WAV back as int16 samples and its sample rate."""
    with wave.open(str(path), "rb") as src:
        if src.getnchannels() != 1 or src.getsampwidth() != 2:
            raise ValueError(f"{path}: expected 16-bit mono PCM")
        rate = src.getframerate()
        data = np.frombuffer(src.readframes(src.getnframes()), dtype="<i2")
    return data, rate
