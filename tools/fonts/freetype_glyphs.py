"""Minimal ctypes binding to the system FreeType library.

PIL's ImageFont only renders square pixel sizes, but a bitmap font cell such as 9 x 12 wants a
glyph that is hinted to a 9-pixel advance and a 12-pixel line at the same time. FreeType does this
with separate horizontal and vertical pixel sizes, so the few calls needed are bound here directly.
"""

import ctypes
import ctypes.util

FT_LOAD_RENDER = 1 << 2
FT_LOAD_FORCE_AUTOHINT = 1 << 5
FT_LOAD_TARGET_NORMAL = 0 << 16
FT_LOAD_TARGET_LIGHT = 1 << 16
FT_LOAD_TARGET_MONO = 2 << 16
FT_PIXEL_MODE_MONO = 1
FT_PIXEL_MODE_GRAY = 2


class _Bitmap(ctypes.Structure):
    _fields_ = [("rows", ctypes.c_uint), ("width", ctypes.c_uint), ("pitch", ctypes.c_int),
                ("buffer", ctypes.POINTER(ctypes.c_ubyte)), ("num_grays", ctypes.c_ushort),
                ("pixel_mode", ctypes.c_ubyte), ("palette_mode", ctypes.c_ubyte),
                ("palette", ctypes.c_void_p)]


class _Vector(ctypes.Structure):
    _fields_ = [("x", ctypes.c_long), ("y", ctypes.c_long)]


class _GlyphMetrics(ctypes.Structure):
    _fields_ = [("width", ctypes.c_long), ("height", ctypes.c_long),
                ("horiBearingX", ctypes.c_long), ("horiBearingY", ctypes.c_long),
                ("horiAdvance", ctypes.c_long), ("vertBearingX", ctypes.c_long),
                ("vertBearingY", ctypes.c_long), ("vertAdvance", ctypes.c_long)]


class _GlyphSlot(ctypes.Structure):
    _fields_ = [("library", ctypes.c_void_p), ("face", ctypes.c_void_p), ("next", ctypes.c_void_p),
                ("glyph_index", ctypes.c_uint), ("generic_data", ctypes.c_void_p),
                ("generic_finalizer", ctypes.c_void_p), ("metrics", _GlyphMetrics),
                ("linearHoriAdvance", ctypes.c_long), ("linearVertAdvance", ctypes.c_long),
                ("advance", _Vector), ("format", ctypes.c_int), ("bitmap", _Bitmap),
                ("bitmap_left", ctypes.c_int), ("bitmap_top", ctypes.c_int)]


class _Face(ctypes.Structure):
    _fields_ = [("num_faces", ctypes.c_long), ("face_index", ctypes.c_long),
                ("face_flags", ctypes.c_long), ("style_flags", ctypes.c_long),
                ("num_glyphs", ctypes.c_long), ("family_name", ctypes.c_char_p),
                ("style_name", ctypes.c_char_p), ("num_fixed_sizes", ctypes.c_int),
                ("available_sizes", ctypes.c_void_p), ("num_charmaps", ctypes.c_int),
                ("charmaps", ctypes.c_void_p), ("generic_data", ctypes.c_void_p),
                ("generic_finalizer", ctypes.c_void_p), ("bbox", ctypes.c_long * 4),
                ("units_per_EM", ctypes.c_ushort), ("ascender", ctypes.c_short),
                ("descender", ctypes.c_short), ("height", ctypes.c_short),
                ("max_advance_width", ctypes.c_short), ("max_advance_height", ctypes.c_short),
                ("underline_position", ctypes.c_short), ("underline_thickness", ctypes.c_short),
                ("glyph", ctypes.POINTER(_GlyphSlot))]


_lib = ctypes.CDLL(ctypes.util.find_library("freetype") or "libfreetype.so.6")
_lib.FT_Init_FreeType.argtypes = [ctypes.POINTER(ctypes.c_void_p)]
_lib.FT_New_Face.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_long,
                             ctypes.POINTER(ctypes.POINTER(_Face))]
_lib.FT_Set_Pixel_Sizes.argtypes = [ctypes.POINTER(_Face), ctypes.c_uint, ctypes.c_uint]
_lib.FT_Load_Char.argtypes = [ctypes.POINTER(_Face), ctypes.c_ulong, ctypes.c_int32]
_lib.FT_Get_Char_Index.argtypes = [ctypes.POINTER(_Face), ctypes.c_ulong]
_lib.FT_Get_Char_Index.restype = ctypes.c_uint
_lib.FT_Property_Set.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p,
                                 ctypes.c_void_p]

_library = ctypes.c_void_p()
if _lib.FT_Init_FreeType(ctypes.byref(_library)) != 0:
    raise RuntimeError("FreeType failed to initialise")


def use_full_hinting():
    """Selects the TrueType interpreter that hints in both directions.

    The default interpreter (v40) only hints vertically, which leaves vertical stems of small
    glyphs spread over two pixel columns; at a cell width of 6 or 7 pixels that reads as blur.
    """
    version = ctypes.c_uint(35)
    return _lib.FT_Property_Set(_library, b"truetype", b"interpreter-version",
                                ctypes.byref(version)) == 0


class Glyph:
    """One rendered glyph: coverage rows (0..255), its offset from the pen and its advance."""

    def __init__(self, width, rows, left, top, advance, coverage):
        self.width = width
        self.rows = rows
        self.left = left          # pixels from the pen position to the bitmap's left edge
        self.top = top            # pixels from the baseline up to the bitmap's top edge
        self.advance = advance    # hinted advance, pixels
        self.coverage = coverage  # list of rows, each a list of 0..255 values


class Face:
    def __init__(self, path):
        self._face = ctypes.POINTER(_Face)()
        if _lib.FT_New_Face(_library, path.encode(), 0, ctypes.byref(self._face)) != 0:
            raise RuntimeError("cannot open font " + path)

    def set_pixel_sizes(self, x_ppem, y_ppem):
        if _lib.FT_Set_Pixel_Sizes(self._face, x_ppem, y_ppem) != 0:
            raise RuntimeError("cannot set pixel size %d x %d" % (x_ppem, y_ppem))

    def has_char(self, code):
        return _lib.FT_Get_Char_Index(self._face, code) != 0

    def render(self, code, flags):
        if _lib.FT_Load_Char(self._face, code, FT_LOAD_RENDER | flags) != 0:
            raise RuntimeError("cannot render character %d" % code)
        slot = self._face.contents.glyph.contents
        bmp = slot.bitmap
        coverage = []
        for r in range(bmp.rows):
            row = []
            for c in range(bmp.width):
                if bmp.pixel_mode == FT_PIXEL_MODE_MONO:
                    byte = bmp.buffer[r * bmp.pitch + (c >> 3)]
                    row.append(255 if byte & (0x80 >> (c & 7)) else 0)
                else:
                    row.append(bmp.buffer[r * bmp.pitch + c])
            coverage.append(row)
        return Glyph(bmp.width, bmp.rows, slot.bitmap_left, slot.bitmap_top,
                     slot.advance.x / 64.0, coverage)
