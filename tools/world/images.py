"""Small images: the dummy texture and the model shadows.

Shadows are drawn with the blend function (zero, one minus source colour): the ground is
darkened by the brightness of the texture (times the quad's colour of 0.3). So a shadow image
is a white shape on black, the reverse of how it looks; alpha carries the same shape for any
blending that uses it instead.
"""
import numpy as np
from PIL import Image, ImageDraw, ImageFilter


def make_dummy_texture(path, log):
    n, cells = 256, 8
    yy, xx = np.mgrid[0:n, 0:n]
    checker = ((yy // (n // cells)) + (xx // (n // cells))) % 2
    a = np.array((230, 230, 230), np.uint8)
    b = np.array((200, 40, 170), np.uint8)
    img = np.where(checker[..., None] == 1, b, a).astype(np.uint8)
    Image.fromarray(img, "RGB").save(path)
    log("wrote %s (%dx%d checker, 24 bit)" % (path, n, n))


def _save_shadow(mask, path, log, what):
    arr = (np.clip(mask, 0, 1) * 255 + 0.5).astype(np.uint8)
    Image.fromarray(np.dstack([arr, arr, arr, arr]), "RGBA").save(path, optimize=True)
    log("wrote %s (%dx%d, %s)" % (path, mask.shape[1], mask.shape[0], what))


def make_shadow_blob(path, log):
    n = 128
    c = (np.arange(n) + 0.5) / n * 2 - 1
    x, y = np.meshgrid(c, c)
    r = np.hypot(x, y)
    mask = np.clip(1 - r, 0, 1) ** 1.5 * 1.6
    mask = np.clip(mask, 0, 1) * (r < 1)
    _save_shadow(mask, path, log, "soft round blob")


def make_shadow_plane(path, log):
    """Top view of a high-wing trainer, nose at the top of the image (+t is forward, -Z)."""
    n = 256
    img = Image.new("L", (n, n), 0)
    d = ImageDraw.Draw(img)
    s = n / 100.0
    def rect(x0, y0, x1, y1):
        d.rectangle([x0 * s, y0 * s, x1 * s, y1 * s], fill=255)
    d.polygon([(44 * s, 14 * s), (56 * s, 14 * s), (53 * s, 86 * s), (47 * s, 86 * s)], fill=255)
    d.ellipse([43 * s, 8 * s, 57 * s, 20 * s], fill=255)          # nose and cowling
    d.polygon([(4 * s, 26 * s), (96 * s, 26 * s), (95 * s, 40 * s), (5 * s, 40 * s)], fill=255)
    rect(32, 80, 68, 89)                                           # tailplane
    img = img.filter(ImageFilter.GaussianBlur(2.5 * s))
    _save_shadow(np.asarray(img, np.float64) / 255.0, path, log, "aeroplane from above")
