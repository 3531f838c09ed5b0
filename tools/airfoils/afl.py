"""Writes airfoil files, and reads them back the way the program does to check what it will see.

An airfoil file is a token text: `.NAME "text"`, `.SYMMETRICAL 0|1` and tables, each a key followed
by a brace block of plain numbers, row after row (the row key, then its values). The program
builds from the tables one 360-row table of (alpha, cl, cd, cp) over -180..180 degrees; with
SYMMETRICAL set it first mirrors the alpha-cl-cd-cp rows to negative angles (negating alpha and
cl, copying cd and cp). `combined_table` repeats that construction for plots and checks.
"""

import re
import textwrap

import numpy as np

COMBINED_ROWS = 360
TABLES = (("TABLE_ALPHA_CD", 1), ("TABLE_ALPHA_CL_CM", 2), ("TABLE_ALPHA_CL_CD_CP", 3),
          ("TABLE_COORDS_UPPER", 1), ("TABLE_COORDS_LOWER", 1))  # key, values per row
COMMENT_WIDTH = 96


def format_file(name, symmetrical, comment_lines, coefficients, upper, lower):
    """Text of an airfoil file. coefficients: (alpha, cl, cd, cp) arrays; upper, lower: (x, y)."""
    if '"' in name or "//" in name:
        raise ValueError("airfoil name must not contain quotes or '//': %r" % name)
    lines = []
    for text in comment_lines:
        if "/*" in text or "*/" in text:
            raise ValueError("comment would open a block comment: %r" % text)
        indent = text[:len(text) - len(text.lstrip())]
        for part in textwrap.wrap(text, COMMENT_WIDTH, subsequent_indent=indent + "  "):
            lines.append("// " + part)
    lines.append("")
    lines.append('.NAME "%s"' % name)
    lines.append(".SYMMETRICAL %d" % (1 if symmetrical else 0))
    lines.append("")
    lines.append("// alpha (deg)   cl        cd        cp (chords behind the leading edge)")
    lines.append(".TABLE_ALPHA_CL_CD_CP")
    lines.append("{")
    for a, cl, cd, cp in zip(*coefficients):
        lines.append("  %8.2f  %8.4f  %8.5f  %7.4f" % (a, cl, cd, cp))
    lines.append("}")
    for key, (x, y) in (("TABLE_COORDS_UPPER", upper), ("TABLE_COORDS_LOWER", lower)):
        lines.append("")
        lines.append("." + key)
        lines.append("{")
        for xi, yi in zip(x, y):
            lines.append("  %.5f  %8.5f" % (xi, yi + 0.0))
        lines.append("}")
    return "\r\n".join(lines) + "\r\n"


def _strip_comments(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    return re.sub(r"//[^\r\n]*", "", text)


def read_file(path):
    """Keys of an airfoil file as the program reads them: dict with NAME, SYMMETRICAL and every
    table present as an (n, 1 + values) array. Rows cut short by the closing brace are dropped;
    tables with fewer than two rows count as absent."""
    with open(path, "rb") as f:
        text = _strip_comments(f.read().decode("latin-1"))
    result = {}
    name = re.search(r'(?<![\w.])\.NAME\s+"([^"\r\n]*)"', text)
    result["NAME"] = name.group(1) if name else ""
    sym = re.search(r"(?<![\w.])\.SYMMETRICAL\s+(\S+)", text)
    digits = re.match(r"[-+]?\d*", sym.group(1)).group(0) if sym else ""
    result["SYMMETRICAL"] = digits not in ("", "+", "-") and int(digits) != 0  # integer, as read
    for key, values in TABLES:
        block = re.search(r"(?<![\w.])\." + key + r"\b[^{]*\{([^}]*)\}", text)
        if not block:
            continue
        numbers = [float(t) for t in block.group(1).split()]
        width = values + 1
        rows = len(numbers) // width
        if rows >= 2:
            result[key] = np.array(numbers[:rows * width]).reshape(rows, width)
    return result


def _lookup(table, x):
    """The program's table lookup: binary search on the sorted keys, linear interpolation,
    extrapolation along the first or last segment."""
    keys = table[:, 0]
    last = len(keys) - 1
    lo = np.zeros_like(x, dtype=int)
    if last > 1:
        lo = np.clip(np.searchsorted(keys, x, side="right") - 1, 0, last - 1)
    t = (x - keys[lo]) / (keys[lo + 1] - keys[lo])
    return table[lo, 1:] * (1 - t)[:, None] + table[lo + 1, 1:] * t[:, None]


def combined_table(airfoil):
    """The 360-row (alpha, cl, cd, cp) table the program builds from a read file."""
    alpha = np.arange(COMBINED_ROWS) * (1.0 / (COMBINED_ROWS - 1)) * 360.0 - 180.0
    cl = np.zeros_like(alpha)
    cd = np.zeros_like(alpha)
    cp = np.full_like(alpha, 0.3)

    def mirrored(table):
        if not airfoil["SYMMETRICAL"]:
            return table[np.argsort(table[:, 0], kind="stable")]
        mirror = table[::-1].copy()
        mirror[:, 0] *= -1.0
        mirror[:, 1] *= -1.0
        both = np.vstack([table, mirror])
        return both[np.argsort(both[:, 0], kind="stable")]

    if "TABLE_ALPHA_CD" in airfoil:
        table = airfoil["TABLE_ALPHA_CD"]
        cd = _lookup(table[np.argsort(table[:, 0], kind="stable")], alpha)[:, 0]
    if "TABLE_ALPHA_CL_CM" in airfoil:
        cl = _lookup(mirrored(airfoil["TABLE_ALPHA_CL_CM"]), alpha)[:, 0]
    if "TABLE_ALPHA_CL_CD_CP" in airfoil:
        values = _lookup(mirrored(airfoil["TABLE_ALPHA_CL_CD_CP"]), alpha)
        cl, cd, cp = values[:, 0], values[:, 1], values[:, 2]
    return alpha, cl, cd, cp
