"""Section shapes: the Clark Y from its published ordinates, NACA four-digit sections, and the
resampling that turns a dense outline into the two small coordinate tables of an airfoil file."""

import numpy as np

# Clark Y ordinates as published (percent of chord), measured from the flat lower surface.
# Thickness 11.7 % at 30 % chord; the lower surface is flat from 30 % chord to the trailing edge.
CLARK_Y_X = [0, 1.25, 2.5, 5, 7.5, 10, 15, 20, 30, 40, 50, 60, 70, 80, 90, 95, 100]
CLARK_Y_UPPER = [3.50, 5.45, 6.50, 7.90, 8.85, 9.60, 10.68, 11.36, 11.70, 11.40, 10.52, 9.15,
                 7.35, 5.22, 2.80, 1.49, 0.12]
CLARK_Y_LOWER = [3.50, 1.93, 1.47, 0.93, 0.63, 0.42, 0.15, 0.03, 0, 0, 0, 0, 0, 0, 0, 0, 0]
CLARK_Y_FLAT_FROM = 0.30


def cubic_spline(xk, yk, x, end_slope=None):
    """Cubic spline through (xk, yk) evaluated at x. Natural at the start; at the end natural, or
    clamped to end_slope when given."""
    xk = np.asarray(xk, float)
    yk = np.asarray(yk, float)
    n = len(xk)
    h = np.diff(xk)
    a = np.zeros((n, n))
    r = np.zeros(n)
    a[0, 0] = 1.0
    for i in range(1, n - 1):
        a[i, i - 1] = h[i - 1]
        a[i, i] = 2.0 * (h[i - 1] + h[i])
        a[i, i + 1] = h[i]
        r[i] = 6.0 * ((yk[i + 1] - yk[i]) / h[i] - (yk[i] - yk[i - 1]) / h[i - 1])
    if end_slope is None:
        a[n - 1, n - 1] = 1.0
    else:
        a[n - 1, n - 2] = h[-1]
        a[n - 1, n - 1] = 2.0 * h[-1]
        r[n - 1] = 6.0 * (end_slope - (yk[-1] - yk[-2]) / h[-1])
    m = np.linalg.solve(a, r)  # second derivatives at the knots
    x = np.asarray(x, float)
    i = np.clip(np.searchsorted(xk, x) - 1, 0, n - 2)
    t = x - xk[i]
    hi = h[i]
    slope = (yk[i + 1] - yk[i]) / hi - hi * (2.0 * m[i] + m[i + 1]) / 6.0
    return yk[i] + slope * t + m[i] / 2.0 * t * t + (m[i + 1] - m[i]) / (6.0 * hi) * t ** 3


def clark_y(x):
    """Upper and lower surface of the Clark Y at the chord stations x (0..1).

    The splines run over s = sqrt(x): a round nose has y growing like sqrt(x), which is a smooth
    curve in s, so the coarse published table interpolates without wiggles at the leading edge."""
    x = np.asarray(x, float)
    xk = np.array(CLARK_Y_X) / 100.0
    upper = cubic_spline(np.sqrt(xk), np.array(CLARK_Y_UPPER) / 100.0, np.sqrt(x))
    nose = xk <= CLARK_Y_FLAT_FROM + 1e-9
    lower_nose = cubic_spline(np.sqrt(xk[nose]), np.array(CLARK_Y_LOWER)[nose] / 100.0,
                              np.sqrt(np.minimum(x, CLARK_Y_FLAT_FROM)), end_slope=0.0)
    lower = np.where(x < CLARK_Y_FLAT_FROM, lower_nose, 0.0)
    return upper, lower


def clark_y_outline(count):
    """Clark Y outline in xfoil order (trailing edge, upper surface, leading edge, lower surface),
    turned so that its chord line, from the leading edge to the middle of the trailing edge, is the
    x axis and scaled to unit chord: angles of attack then count from the chord line, as for the
    NACA sections. Returns (x, y, angle): angle (degrees) is how far the chord line lies nose-up
    from the flat lower surface."""
    stations = cosine_stations(count)
    upper, lower = clark_y(stations)
    x = np.concatenate([stations[::-1], stations[1:]])
    y = np.concatenate([upper[::-1], lower[1:]])
    le_y = upper[0]
    te_y = 0.5 * (upper[-1] + lower[-1])
    angle = np.arctan2(le_y - te_y, 1.0)
    chord = np.hypot(1.0, le_y - te_y)
    dy = y - le_y
    xr = (x * np.cos(angle) - dy * np.sin(angle)) / chord
    yr = (x * np.sin(angle) + dy * np.cos(angle)) / chord
    return xr, yr, float(np.degrees(angle))


def outline_dat(name, x, y):
    """Text of an xfoil coordinate file for an outline in xfoil order."""
    return name + "\n" + "".join("%.6f %.6f\n" % (xi, yi) for xi, yi in zip(x, y))


def naca4_vertical(digits, x):
    """Upper and lower surface of a NACA four-digit section with the thickness added vertically to
    the camber line, the simplified form the program's own shape generator uses for display."""
    m = int(digits[0]) * 0.01
    p = int(digits[1]) * 0.1
    t = int(digits[2:4]) * 0.01
    x = np.asarray(x, float)
    yt = (1.4845 * np.sqrt(x) - 0.63 * x - 1.758 * x ** 2 + 1.4215 * x ** 3 - 0.5075 * x ** 4) * t
    if p == 0.0:
        yc = np.zeros_like(x)
    else:
        yc = np.where(x > p, (1 - x) * (1 + x - 2 * p) * m / (1 - p) ** 2,
                      (2 * p - x) * x * m / p ** 2)
    return yc + yt, yc - yt


def cosine_stations(count):
    """Chord stations clustered at both ends, where the outline bends most."""
    return 0.5 * (1.0 - np.cos(np.linspace(0.0, np.pi, count)))


def split_outline(x, y):
    """Splits an xfoil-ordered outline (trailing edge, upper surface, leading edge, lower surface,
    trailing edge) at its leading edge into upper and lower (x ascending, y) arrays, rescaled so
    that the chord runs from x = 0 to x = 1 (y keeps its reference line)."""
    le = int(np.argmin(x))
    x0, chord = x[le], max(x[0], x[-1]) - x[le]
    ux, uy = (x[:le + 1] - x0)[::-1] / chord, y[:le + 1][::-1] / chord
    lx, ly = (x[le:] - x0) / chord, y[le:] / chord
    # Keep each surface's x strictly ascending for interpolation (a turned nose can fold back by a
    # hair next to the leading edge).
    up = np.concatenate([[True], np.diff(ux) > 0.0])
    lo = np.concatenate([[True], np.diff(lx) > 0.0])
    return (ux[up], uy[up]), (lx[lo], ly[lo])


def resample_surface(surface, stations):
    sx, sy = surface
    return np.interp(stations, sx, sy)
