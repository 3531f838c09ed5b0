"""Writer for OpenSceneGraph's .osg text format.

The .osg reader ignores unknown or misspelt keywords without a word, so every keyword used
here was taken from files the Debian OSG 3.6 writer produced itself, and check_world.cpp
verifies after loading that what we meant arrived (names, arrays, textures, attributes).
"""
import numpy as np


def _fmt_rows(arr, decimals):
    """Rows of a float array as text lines, trailing zeros removed to keep files small."""
    arr = np.asarray(arr, dtype=np.float64)
    fmt = "%." + str(decimals) + "f"
    out = []
    for row in np.round(arr, decimals):
        parts = []
        for v in row:
            s = fmt % v
            if "." in s:
                s = s.rstrip("0").rstrip(".")
            if s == "-0":
                s = "0"
            parts.append(s)
        out.append(" ".join(parts))
    return out


class Writer:
    """Builds the text with indentation; block() opens "Name {" and end() closes it."""

    def __init__(self):
        self.lines = []
        self.depth = 0
        self.next_id = 0

    def line(self, text):
        self.lines.append("  " * self.depth + text)

    def block(self, head):
        self.line(head + " {")
        self.depth += 1

    def end(self):
        self.depth -= 1
        self.line("}")

    def unique_id(self, kind):
        self.next_id += 1
        return "%s_%d" % (kind, self.next_id)

    def node_header(self, name=None):
        if name:
            self.line('name "%s"' % name)
        self.line("nodeMask 0xffffffff")
        self.line("cullingActive TRUE")

    def array(self, head, arr, decimals):
        rows = _fmt_rows(arr, decimals)
        self.line("%s %d" % (head, len(rows)))
        self.line("{")
        # Rows unindented: the reader ignores layout, and indentation would be a third of
        # the terrain file.
        self.lines.extend(rows)
        self.line("}")

    def text(self):
        return "\n".join(self.lines) + "\n"


class StateSet:
    """The subset of state the world files need; emitted once, then shared by UniqueID."""

    def __init__(self):
        self.modes = []          # (GL_MODE, "ON"/"OFF")
        self.attributes = []     # lists of lines, each list one attribute block
        self.textures = []       # (unit, file, wrap, min_filter, env_mode or None)
        self.bin = None          # (number, name, hint)
        self.uid = None

    def mode(self, name, on):
        self.modes.append((name, "ON" if on else "OFF"))
        return self

    def material(self, ambient, diffuse, specular=(0, 0, 0, 1), shininess=0, color_mode="OFF",
                 emission=(0, 0, 0, 1)):
        def c(v):
            return " ".join("%g" % x for x in v)
        self.attributes.append(["Material {", "  ColorMode %s" % color_mode,
                                "  ambientColor " + c(ambient), "  diffuseColor " + c(diffuse),
                                "  specularColor " + c(specular), "  emissionColor " + c(emission),
                                "  shininess %g" % shininess, "}"])
        return self

    def fog(self, mode, density, start, end, color):
        self.modes.append(("GL_FOG", "ON"))
        self.attributes.append(["Fog {", "  mode " + mode, "  density %g" % density,
                                "  start %g" % start, "  end %g" % end,
                                "  color " + " ".join("%g" % x for x in color),
                                "  fogCoordinateSource FRAGMENT_DEPTH", "}"])
        return self

    def alpha_test(self, ref):
        self.modes.append(("GL_ALPHA_TEST", "ON"))
        self.attributes.append(["AlphaFunc {", "  comparisonFunc GREATER",
                                "  referenceValue %g" % ref, "}"])
        return self

    def depth(self, write):
        self.attributes.append(["Depth {", "  function LEQUAL",
                                "  writeMask %s" % ("TRUE" if write else "FALSE"),
                                "  range 0 1", "}"])
        return self

    def render_bin(self, number, name, hint="DEFAULT_BIN"):
        self.bin = (number, name, hint)
        return self

    def texture(self, unit, file, wrap="REPEAT", min_filter="LINEAR_MIPMAP_NEAREST", env=None):
        self.textures.append((unit, file, wrap, min_filter, env))
        return self

    def write(self, w):
        if self.uid is not None:
            w.line("Use " + self.uid)
            return
        self.uid = w.unique_id("StateSet")
        w.block("StateSet")
        w.line("UniqueID " + self.uid)
        if self.bin:
            w.line("rendering_hint " + self.bin[2])
            w.line("renderBinMode USE")
            w.line("binNumber %d" % self.bin[0])
            w.line("binName " + self.bin[1])
        else:
            w.line("rendering_hint DEFAULT_BIN")
            w.line("renderBinMode INHERIT")
        for name, state in self.modes:
            w.line("%s %s" % (name, state))
        for attr in self.attributes:
            for l in attr:
                w.line(l)
        for unit, file, wrap, min_filter, env in sorted(self.textures, key=lambda t: t[0]):
            w.block("textureUnit %d" % unit)
            w.line("GL_TEXTURE_2D ON")
            w.block("Texture2D")
            w.line('file "%s"' % file)
            w.line("wrap_s " + wrap)
            w.line("wrap_t " + wrap)
            w.line("wrap_r CLAMP")
            w.line("min_filter " + min_filter)
            w.line("mag_filter LINEAR")
            w.line("maxAnisotropy 1")
            w.line("useHardwareMipMapGeneration TRUE")
            w.line("unRefImageDataAfterApply TRUE")
            w.line("internalFormatMode USE_IMAGE_DATA_FORMAT")
            w.line("resizeNonPowerOfTwo TRUE")
            w.end()
            if env:
                w.block("TexEnv")
                w.line("mode " + env)
                w.end()
            w.end()
        w.end()


def write_geometry(w, stateset, vertices, normals=None, colors=None, texcoords=(),
                   normal_overall=None, color_overall=None, display_list=True,
                   vertex_decimals=3, normal_decimals=3):
    """One Geometry drawn as a plain non-indexed triangle list (DrawArrays TRIANGLES)."""
    n = len(vertices)
    assert n % 3 == 0, "a triangle list needs three vertices per triangle"
    w.block("Geometry")
    if stateset is not None:
        stateset.write(w)
    w.line("useDisplayList %s" % ("TRUE" if display_list else "FALSE"))
    w.line("useVertexBufferObjects FALSE")
    w.line("PrimitiveSets 1")
    w.line("{")
    w.line("  DrawArrays TRIANGLES 0 %d" % n)
    w.line("}")
    w.array("VertexArray Vec3Array", vertices, vertex_decimals)
    if normals is not None:
        w.line("NormalBinding PER_VERTEX")
        w.array("NormalArray Vec3Array", normals, normal_decimals)
    elif normal_overall is not None:
        w.line("NormalBinding OVERALL")
        w.array("NormalArray Vec3Array", [normal_overall], 4)
    if colors is not None:
        w.line("ColorBinding PER_VERTEX")
        w.array("ColorArray Vec4Array", colors, 3)
    elif color_overall is not None:
        w.line("ColorBinding OVERALL")
        w.array("ColorArray Vec4Array", [color_overall], 4)
    for unit, (tc, decimals) in enumerate(texcoords):
        if tc is None:
            continue
        assert len(tc) == n
        w.array("TexCoordArray %d Vec2Array" % unit, tc, decimals)
    w.end()
