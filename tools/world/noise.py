"""Deterministic value noise for the world generator.

Every function takes explicit seeds so that a run of make_world.py reproduces the committed
data bit for bit. Lattices are periodic, which makes any noise tileable when the sampled
extent is a whole number of lattice periods (the detail textures rely on this).
"""
import numpy as np


def _lattice(seed, period):
    return np.random.RandomState(seed).rand(period, period).astype(np.float64)


def value_noise(x, y, seed, period=256):
    """Smoothly interpolated lattice noise in [0, 1]; x, y in lattice cells."""
    lat = _lattice(seed, period)
    xf = np.floor(x)
    yf = np.floor(y)
    fx = x - xf
    fy = y - yf
    # Quintic fade: no visible creases along lattice lines, even under lighting.
    fx = fx * fx * fx * (fx * (fx * 6 - 15) + 10)
    fy = fy * fy * fy * (fy * (fy * 6 - 15) + 10)
    x0 = xf.astype(np.int64) % period
    y0 = yf.astype(np.int64) % period
    x1 = (x0 + 1) % period
    y1 = (y0 + 1) % period
    a = lat[y0, x0]
    b = lat[y0, x1]
    c = lat[y1, x0]
    d = lat[y1, x1]
    top = a + (b - a) * fx
    bottom = c + (d - c) * fx
    return top + (bottom - top) * fy


def fbm(x, y, scale, octaves, seed, gain=0.5, period=256):
    """Fractal sum in about [-1, 1]; scale is the size of the coarsest feature (input units)."""
    total = np.zeros(np.broadcast(x, y).shape)
    amp = 1.0
    norm = 0.0
    freq = 1.0 / scale
    for i in range(octaves):
        # Offsets decorrelate the octaves, which share a lattice period.
        n = value_noise(x * freq + 17.3 * i, y * freq + 31.7 * i, seed + 101 * i, period)
        total += amp * (2.0 * n - 1.0)
        norm += amp
        amp *= gain
        freq *= 2.0
    return total / norm


def ridged(x, y, scale, octaves, seed, period=256):
    """Ridged fractal in [0, 1]: sharp crests and rounded valleys, like eroded mountains."""
    total = np.zeros(np.broadcast(x, y).shape)
    amp = 1.0
    norm = 0.0
    freq = 1.0 / scale
    weight = np.ones_like(total)
    for i in range(octaves):
        n = value_noise(x * freq + 7.1 * i, y * freq + 13.9 * i, seed + 211 * i, period)
        r = 1.0 - np.abs(2.0 * n - 1.0)
        r = r * r
        # Finer octaves mostly on the crests, so slopes stay smooth below them.
        r *= weight
        weight = np.clip(r * 1.6, 0.0, 1.0)
        total += amp * r
        norm += amp
        amp *= 0.5
        freq *= 2.0
    return total / norm


def tileable_fbm(size, cells, octaves, seed, gain=0.5):
    """size x size image of fbm that tiles: the coarsest octave has `cells` lattice cells."""
    idx = (np.arange(size) + 0.5) / size
    x, y = np.meshgrid(idx, idx)
    total = np.zeros((size, size))
    amp = 1.0
    norm = 0.0
    for i in range(octaves):
        c = cells * (2 ** i)
        n = value_noise(x * c, y * c, seed + 101 * i, period=c)
        total += amp * (2.0 * n - 1.0)
        norm += amp
        amp *= gain
    return total / norm


def smoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0.0, 1.0)
    return t * t * (3.0 - 2.0 * t)
