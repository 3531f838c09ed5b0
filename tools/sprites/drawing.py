"""Small raster helpers shared by the sprite generators: straight-alpha float RGBA images."""

import numpy as np
from PIL import Image


def next_pow2(n):
    p = 1
    while p < n:
        p *= 2
    return p


def hex_rgb(text):
    return np.array([int(text[i:i + 2], 16) / 255.0 for i in (1, 3, 5)], dtype=np.float32)


def over(top, bottom):
    """Porter-Duff 'over' for straight-alpha RGBA floats."""
    ta, ba = top[..., 3:4], bottom[..., 3:4]
    out_a = ta + ba * (1.0 - ta)
    rgb = top[..., :3] * ta + bottom[..., :3] * ba * (1.0 - ta)
    rgb = np.where(out_a > 1e-6, rgb / np.maximum(out_a, 1e-6), 0.0)
    return np.concatenate([rgb, out_a], axis=-1)


def blur(a, radius):
    """Separable box blur applied twice (close to a Gaussian); radius in pixels."""
    r = max(1, int(round(radius)))
    k = np.ones(2 * r + 1, dtype=np.float32) / (2 * r + 1)
    for _ in range(2):
        a = np.apply_along_axis(lambda v: np.convolve(v, k, mode="same"), 0, a)
        a = np.apply_along_axis(lambda v: np.convolve(v, k, mode="same"), 1, a)
    return a


def drop_shadow(pic, scale, strength=0.55):
    """The shadow every icon casts: light from the top left, one pixel (at 24 px) down-right."""
    shift = max(1, int(round(scale)))
    a = np.zeros(pic.shape[:2], dtype=np.float32)
    a[shift:, shift:] = pic[:-shift, :-shift, 3]
    a = np.clip(0.5 * a + 0.5 * blur(a, 1), 0, 1) * strength
    out = np.zeros_like(pic)
    out[..., 3] = a
    return out


def rounded_rect_coverage(h, w, x0, y0, x1, y1, radius):
    """Anti-aliased coverage (0..1) of a rounded rectangle given by its edges in pixels."""
    ys, xs = np.mgrid[0:h, 0:w].astype(np.float32) + 0.5
    cx = np.clip(xs, x0 + radius, x1 - radius)
    cy = np.clip(ys, y0 + radius, y1 - radius)
    d = np.sqrt((xs - cx) ** 2 + (ys - cy) ** 2) - radius
    return np.clip(0.5 - d, 0.0, 1.0)


PLATES = {
    # top colour, bottom colour, outline, highlight alpha
    "button": ("#5a6b83", "#2a3444", "#0c1118", 0.40),
    "close": ("#d8584a", "#8c2119", "#2a0805", 0.45),
}


def plate(size, style):
    """The raised, rounded button plate lit from the top left."""
    top, bottom, edge, highlight = PLATES[style]
    radius = max(2.0, size / 6.0)
    outer = rounded_rect_coverage(size, size, 0, 0, size, size, radius)
    inner = rounded_rect_coverage(size, size, 1, 1, size - 1, size - 1, radius - 1)
    t = np.linspace(0.0, 1.0, size, dtype=np.float32)[:, None, None]
    rgb = hex_rgb(top) * (1 - t) + hex_rgb(bottom) * t
    rgb = np.broadcast_to(rgb, (size, size, 3)).copy()
    # A lighter line just inside the top and left edges, a darker one inside the bottom/right.
    ring = inner - rounded_rect_coverage(size, size, 2, 2, size - 2, size - 2, radius - 2)
    ys, xs = np.mgrid[0:size, 0:size].astype(np.float32)
    lit = np.clip(1.0 - (xs + ys) / size, 0, 1)[..., None]
    rgb = rgb + ring[..., None] * (highlight * lit - 0.15 * (1 - lit))
    rgb = rgb * inner[..., None] + hex_rgb(edge) * (1 - inner[..., None])
    return np.concatenate([np.clip(rgb, 0, 1), outer[..., None]], axis=-1).astype(np.float32)


def frame_panel(size):
    """A window panel whose 3 x 3 cells are the nine frame pieces.

    Everything but the corners is uniform along the edge, so the edge and centre pieces can be
    stretched or tiled to any length without seams.
    """
    radius = size / 4.0
    outer = rounded_rect_coverage(size, size, 0, 0, size, size, radius)
    inner = rounded_rect_coverage(size, size, 1, 1, size - 1, size - 1, radius - 1)
    inner2 = rounded_rect_coverage(size, size, 2, 2, size - 2, size - 2, radius - 2)
    fill = hex_rgb("#18202c")
    rgb = np.broadcast_to(fill, (size, size, 3)).copy()
    # Light border above and to the left, a dimmer one below and to the right.
    ys, xs = np.mgrid[0:size, 0:size].astype(np.float32) + 0.5
    top_left = (ys < size - xs).astype(np.float32)[..., None]
    border = hex_rgb("#8a9db8") * top_left + hex_rgb("#4a5a70") * (1 - top_left)
    ring = (inner - inner2)[..., None]
    rgb = rgb * (1 - ring) + border * ring
    rgb = rgb * inner[..., None] + hex_rgb("#06090d") * (1 - inner[..., None])
    alpha = outer * 0.92
    return np.concatenate([rgb, alpha[..., None]], axis=-1).astype(np.float32)


def field_box(size):
    """A sunken field background (list boxes, edit fields): flat, so it stretches cleanly."""
    t = np.linspace(0.0, 1.0, size, dtype=np.float32)[:, None, None]
    rgb = hex_rgb("#0b1118") * (1 - t) + hex_rgb("#16202b") * t
    rgb = np.broadcast_to(rgb, (size, size, 3))
    alpha = np.full((size, size, 1), 0.9, dtype=np.float32)
    return np.concatenate([rgb, alpha], axis=-1).astype(np.float32)


def bleed_colour(img, steps=4):
    """Gives fully transparent pixels the colour of their nearest visible neighbours.

    Filtering mixes the colour of transparent texels into the edges of a sprite; with black
    there, every icon drawn at another scale would get a dark fringe.
    """
    out = img.copy()
    known = out[..., 3] > 0
    for _ in range(steps):
        acc = np.zeros(out.shape[:2] + (3,), dtype=np.float32)
        cnt = np.zeros(out.shape[:2], dtype=np.float32)
        for dy, dx in ((-1, 0), (1, 0), (0, -1), (0, 1)):
            k = np.roll(known, (dy, dx), axis=(0, 1))
            acc += np.roll(out[..., :3], (dy, dx), axis=(0, 1)) * k[..., None]
            cnt += k
        grow = (~known) & (cnt > 0)
        out[grow, :3] = acc[grow] / cnt[grow][:, None]
        known = known | grow
    return out


def save_png(img, path):
    img = bleed_colour(np.clip(img, 0, 1))
    data = (img * 255 + 0.5).astype(np.uint8)
    Image.fromarray(data, "RGBA").save(path, optimize=True)
