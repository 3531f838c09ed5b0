"""Procedural pictures: the sun disc, the sun glare and the main-menu background."""

import math
import os
import subprocess
import tempfile

import numpy as np
from PIL import Image, ImageDraw

import drawing as dr


def _polar(size):
    ys, xs = np.mgrid[0:size, 0:size].astype(np.float32) + 0.5
    dx, dy = xs / size * 2 - 1, ys / size * 2 - 1
    return np.sqrt(dx * dx + dy * dy), np.arctan2(dy, dx)


def sun_disc(size):
    """A white-hot disc with a slightly warmer limb and a thin corona fading to nothing."""
    r, _ = _polar(size)
    disc_r = 0.55
    px = 2.0 / size
    disc = np.clip((disc_r - r) / (1.5 * px) + 0.5, 0, 1)
    limb = np.clip(r / disc_r, 0, 1) ** 3
    disc_rgb = np.stack([np.ones_like(r), 1 - 0.08 * limb, 0.96 - 0.25 * limb], axis=-1)
    corona = np.clip(np.exp(-((r - disc_r) / 0.16) ** 2) * 0.6 * (r > disc_r), 0, 1)
    corona *= np.clip((1 - r) / 0.1, 0, 1)
    corona_rgb = np.broadcast_to(dr.hex_rgb("#fff0c8"), disc_rgb.shape)
    alpha = disc + corona * (1 - disc)
    rgb = (disc_rgb * disc[..., None] + corona_rgb * (corona * (1 - disc))[..., None]) / \
        np.maximum(alpha, 1e-6)[..., None]
    return np.concatenate([rgb, alpha[..., None]], axis=-1).astype(np.float32)


def sun_glare(size):
    """A soft warm halo with faint rays; fully transparent at its edge (it is drawn huge)."""
    r, theta = _polar(size)
    falloff = np.clip(1 - r, 0, 1) ** 2.4
    rays = 0.8 + 0.2 * np.cos(6 * theta) ** 16 + 0.12 * np.cos(11 * theta + 0.7) ** 24
    core = np.exp(-(r / 0.12) ** 2)
    alpha = np.clip(falloff * rays * 0.85 + core * 0.15, 0, 1) * (r < 1)
    rgb = np.broadcast_to(dr.hex_rgb("#fff2dc"), r.shape + (3,))
    return np.concatenate([rgb, alpha[..., None]], axis=-1).astype(np.float32)


def _mask(width, height, draw_fn, ss=4):
    """Anti-aliased coverage of shapes drawn by draw_fn(ImageDraw, scale) at ss x resolution."""
    img = Image.new("L", (width * ss, height * ss), 0)
    draw_fn(ImageDraw.Draw(img), ss)
    img = img.resize((width, height), Image.BOX)
    return np.asarray(img, dtype=np.float32) / 255.0


def _blend(canvas, mask, colour):
    canvas[...] = canvas * (1 - mask[..., None]) + np.asarray(colour) * mask[..., None]


def _gradient(h, stops):
    y = np.linspace(0, 1, h)
    keys = [s[0] for s in stops]
    cols = np.array([dr.hex_rgb(s[1]) for s in stops])
    return np.stack([np.interp(y, keys, cols[:, k]) for k in range(3)], axis=-1)


def _ridge(width, rng, base, amp, waves):
    x = np.arange(width, dtype=np.float32)
    y = np.full(width, base, dtype=np.float32)
    for k in range(waves):
        wl = width / (1.3 + k * 1.7 + rng.random())
        y += amp / (1 + k) * np.sin(2 * math.pi * x / wl + rng.random() * 6.28)
    return y


def menu_background(width, height, plane_svg):
    """Dusk over a model flying field: a pilot in the foreground, a model crossing the sky."""
    rng = np.random.default_rng(1907)
    horizon = int(height * 0.76)
    sky = _gradient(height, [(0.0, "#070b24"), (0.30, "#1c2152"), (0.52, "#523a72"),
                             (0.66, "#b8566a"), (0.72, "#ee8a55"), (0.76, "#ffc67a"),
                             (1.0, "#ffc67a")])
    img = np.broadcast_to(sky[:, None, :], (height, width, 3)).copy()
    ys, xs = np.mgrid[0:height, 0:width].astype(np.float32)

    # Glow of the sun just below the horizon, left of centre.
    sun_x, sun_y = width * 0.28, horizon + 30
    d2 = ((xs - sun_x) / 1.6) ** 2 + (ys - sun_y) ** 2
    img += (np.exp(-d2 / (170.0 ** 2)) * 0.55)[..., None] * dr.hex_rgb("#ffb060")
    img += (np.exp(-d2 / (60.0 ** 2)) * 0.5)[..., None] * dr.hex_rgb("#fff0c0")

    # Stars, fading out towards the bright horizon.
    n = 260
    sx, sy = rng.random(n) * width, rng.random(n) ** 1.6 * height * 0.45
    sb = rng.random(n) ** 3 * 0.8 + 0.15
    for x, y, b in zip(sx, sy, sb):
        fade = max(0.0, 1 - y / (height * 0.45))
        xi, yi = int(x), int(y)
        img[yi, xi] += b * fade
        if b > 0.6:
            for ddx, ddy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                img[min(yi + ddy, height - 1), min(xi + ddx, width - 1)] += b * fade * 0.3

    # Thin streaks of cloud lit from below by the set sun.
    for _ in range(9):
        cx, cy = rng.random() * width, height * (0.40 + rng.random() * 0.26)
        length, thick = 120 + rng.random() * 260, 3 + rng.random() * 6
        wob = np.sin(xs / (30 + rng.random() * 40) + rng.random() * 6) * 0.4 + 0.6
        a = np.exp(-((xs - cx) / length) ** 2 - ((ys - cy) / thick) ** 2) * wob * 0.75
        lit = np.clip((ys - cy) / thick * 0.5 + 0.5, 0, 1)
        col = dr.hex_rgb("#5a3866")[None, None] * (1 - lit[..., None]) + \
            dr.hex_rgb("#ffa27a")[None, None] * lit[..., None]
        img = img * (1 - a[..., None]) + col * a[..., None]

    # Distant hills in haze, then the near tree line.
    far = _ridge(width, rng, horizon - 26, 14, 4)
    near = _ridge(width, rng, horizon - 8, 6, 6) + np.abs(np.sin(np.arange(width) / 7.0)) * \
        rng.random(width) * 5
    img = np.where((ys > far[None, :])[..., None], img * 0.35 + dr.hex_rgb("#3b2d57") * 0.65, img)
    img = np.where((ys > near[None, :])[..., None], dr.hex_rgb("#1b1830"), img)

    # The field: dark grass with a mown strip running towards the horizon.
    ground = _gradient(height - horizon, [(0.0, "#1d2428"), (1.0, "#0a1210")])
    img[horizon:] = ground[:, None, :]
    vx = width * 0.56

    def strip(draw, s):
        draw.polygon([(s * (vx - 14), s * horizon), (s * (vx + 14), s * horizon),
                      (s * (vx + 420), s * height), (s * (vx - 330), s * height)], fill=255)
    strip_mask = _mask(width, height, strip)
    depth = np.clip((ys - horizon) / (height - horizon), 1e-3, 1)
    bands = (np.sin(1.0 / depth * 6.0) > 0).astype(np.float32)
    strip_col = dr.hex_rgb("#2c3a34")[None, None] * (0.85 + 0.15 * bands[..., None])
    img = img * (1 - strip_mask[..., None]) + strip_col * strip_mask[..., None]
    # Sky light reflected on the strip near the horizon.
    img += (strip_mask * np.exp(-(ys - horizon) / 40.0) * 0.25)[..., None] * dr.hex_rgb("#ff9a60")

    # A flag pole and windsock at the field edge.
    def windsock(draw, s):
        x0, y0 = width * 0.79, horizon + 6
        draw.rectangle([s * x0, s * (y0 - 60), s * (x0 + 1.6), s * y0], fill=255)
        draw.polygon([(s * x0, s * (y0 - 60)), (s * (x0 + 28), s * (y0 - 55)),
                      (s * (x0 + 27), s * (y0 - 50)), (s * x0, s * (y0 - 50))], fill=255)
    _blend(img, _mask(width, height, windsock), dr.hex_rgb("#0c0c16"))

    # The pilot in the foreground, in profile facing the model, transmitter held at the chest.
    def pilot(draw, s):
        bx, by = width * 0.15, height + 4       # feet just below the frame edge
        h = 210.0

        def p(x, y):
            return (s * (bx + x * h), s * (by - y * h))

        def poly(*pts):
            draw.polygon([p(x, y) for x, y in pts], fill=255)
        poly((-0.075, 0), (-0.02, 0), (0.005, 0.30), (0.025, 0), (0.085, 0), (0.065, 0.48),
             (-0.075, 0.48))                                                       # legs
        poly((-0.08, 0.47), (0.07, 0.47), (0.09, 0.62), (0.075, 0.79), (0.03, 0.835),
             (-0.06, 0.835), (-0.10, 0.78), (-0.105, 0.60))                         # torso
        poly((-0.025, 0.82), (0.025, 0.82), (0.025, 0.88), (-0.025, 0.88))         # neck
        draw.ellipse([p(-0.055, 0.985), p(0.055, 0.87)], fill=255)                 # head
        poly((-0.06, 0.93), (-0.05, 0.975), (0.0, 0.995), (0.05, 0.975), (0.06, 0.945),
             (0.125, 0.935), (0.125, 0.925), (0.0, 0.93))                           # cap
        poly((-0.02, 0.80), (0.03, 0.80), (0.045, 0.645), (0.0, 0.625))             # upper arm
        poly((0.0, 0.625), (0.03, 0.665), (0.14, 0.705), (0.135, 0.665))            # forearm
        poly((0.10, 0.645), (0.205, 0.665), (0.195, 0.735), (0.09, 0.715))          # transmitter
        draw.line([p(0.175, 0.725), p(0.31, 0.97)], fill=255, width=max(1, int(2.5 * s)))
    _blend(img, _mask(width, height, pilot), dr.hex_rgb("#07070d"))

    # The model, banking through a turn high on the right, navigation lights on.
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "plane.png")
        subprocess.run(["rsvg-convert", "-w", "600", "-o", out, plane_svg], check=True)
        plane = Image.open(out).convert("RGBA")
    plane = plane.resize((plane.width, int(plane.height * 0.8)), Image.LANCZOS)
    plane = plane.rotate(-28, resample=Image.BICUBIC, expand=True)
    plane = plane.resize((plane.width * 300 // 600, plane.height * 300 // 600), Image.LANCZOS)
    pa = np.asarray(plane, dtype=np.float32) / 255.0
    px0, py0 = int(width * 0.74) - plane.width // 2, int(height * 0.26) - plane.height // 2
    region = img[py0:py0 + plane.height, px0:px0 + plane.width]
    rim = np.clip(pa[..., 3] - np.roll(pa[..., 3], (2, 2), axis=(0, 1)), 0, 1) * 0.35
    region[...] = region * (1 - pa[..., 3:4]) + dr.hex_rgb("#08080f") * pa[..., 3:4]
    region[...] += rim[..., None] * dr.hex_rgb("#ffb080")
    # Light positions (seen from below: red on the right of the picture, green on the left) were drawn into the SVG as pure colours.
    for colour, sel in (("#ff3030", (pa[..., 0] > 0.8) & (pa[..., 1] < 0.3)),
                        ("#40ff70", (pa[..., 1] > 0.8) & (pa[..., 0] < 0.3))):
        yy, xx = np.nonzero(sel)
        if len(xx):
            cx, cy = px0 + xx.mean(), py0 + yy.mean()
            g = np.exp(-((xs - cx) ** 2 + (ys - cy) ** 2) / (6.0 ** 2))
            img += g[..., None] * dr.hex_rgb(colour) * 1.2

    # A gentle vignette and a little noise so the gradients do not band after compression.
    vig = 1 - 0.35 * (((xs / width - 0.5) * 1.2) ** 2 + ((ys / height - 0.45) * 1.4) ** 2)
    img *= vig[..., None]
    img += (rng.random((height, width, 1)) - 0.5) * (2.0 / 255.0)
    return np.clip(img, 0, 1).astype(np.float32)
