#!/usr/bin/python3
"""Generates Kestro's flying site, sky dome, dummy and part markers, and their textures.

    /usr/bin/python3 tools/world/make_world.py            # everything, into Data/
    /usr/bin/python3 tools/world/make_world.py --scenes   # only the .osg files (fast)
    /usr/bin/python3 tools/world/make_world.py --check    # then build and run check_world
    /usr/bin/python3 tools/world/make_world.py --check-only   # check the files as they are

Output is deterministic: every random choice comes from a fixed seed.
"""
import argparse
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import images       # noqa: E402
import markers      # noqa: E402
import sky          # noqa: E402
import terrain      # noqa: E402
import trees        # noqa: E402
from osgtext import StateSet, Writer  # noqa: E402

REPO = os.path.dirname(os.path.dirname(HERE))
FOG_DENSITY = 0.00012     # 1/m: about 30 % haze at 3 km, 54 % at 6.5 km
MARKERS = ["CollisionPoint", "Wheel", "Engine", "Battery", "FuelTank", "Servo"]


def log(msg):
    print(msg, flush=True)


def write_file(path, w):
    with open(path, "w", newline="\n") as f:
        f.write(w.text())
    log("wrote %s (%.2f MB)" % (path, os.path.getsize(path) / 1e6))


def make_flying_site(path):
    w = Writer()
    w.block("Group")
    w.node_header("FlyingSite")
    # Shared by terrain and trees: aerial haze in the sky's horizon colour, and a material
    # that keeps flat ground at about full brightness under the midday sun (ambient 0.5,
    # diffuse 1) while slopes turned away from the sun fall into shade.
    ss = StateSet().fog("EXP", FOG_DENSITY, 0, 1, tuple(sky.HORIZON) + (1.0,))
    ss.material((0.45, 0.45, 0.45, 1), (0.78, 0.78, 0.78, 1))
    ss.write(w)
    w.line("num_children 2")
    mesh = terrain.write_terrain(w, log)
    trees.write_trees(w, mesh, log)
    w.end()
    write_file(path, w)


def make_single(path, fn, *args):
    w = Writer()
    fn(w, *args)
    write_file(path, w)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawTextHelpFormatter)
    ap.add_argument("--out", default=os.path.join(REPO, "Data"), help="Data folder to write")
    ap.add_argument("--scenes", action="store_true", help="only the .osg files, no textures")
    ap.add_argument("--check", action="store_true", help="build and run check_world afterwards")
    ap.add_argument("--check-only", action="store_true",
                    help="generate nothing; build and run check_world on the files as they are")
    ap.add_argument("--preview", action="store_true",
                    help="half-size ground images, for quick looks (do not commit)")
    args = ap.parse_args()
    if args.preview:
        terrain.OVERVIEW_SIZE //= 2
        terrain.FIELD_TEX_SIZE //= 2
    if args.check_only:
        return subprocess.call([build_tool("check_world"), args.out])
    d3 = os.path.join(args.out, "3D")
    tex = os.path.join(args.out, "Textures")
    os.makedirs(d3, exist_ok=True)
    os.makedirs(tex, exist_ok=True)
    t0 = time.time()

    if not args.scenes:
        terrain.make_detail_image(os.path.join(tex, "Detail.png"), log)
        terrain.make_field_image(os.path.join(tex, "Field.png"), log)
        terrain.make_overview_image(os.path.join(tex, "TerrainColor.png"), log)
        trees.make_tree_atlas(os.path.join(tex, "Trees.png"), log)
        images.make_dummy_texture(os.path.join(tex, "DummyTexture.bmp"), log)
        images.make_shadow_blob(os.path.join(tex, "Shadow.png"), log)
        images.make_shadow_plane(os.path.join(tex, "ShadowPlane.png"), log)

    make_flying_site(os.path.join(d3, "FlyingSite.osg"))
    make_single(os.path.join(d3, "SkyDome.osg"), sky.write_sky, log)
    make_single(os.path.join(d3, "Dummy.osg"), markers.write_dummy, log)
    for m in MARKERS:
        make_single(os.path.join(d3, m + ".osg"), markers.write_marker, m, log)
    log("done in %.0f s" % (time.time() - t0))

    if args.check:
        exe = build_tool("check_world")
        return subprocess.call([exe, args.out])
    return 0


def build_tool(name):
    """Builds tools/world/<name>.cpp into build-world/ beside the repository's sources."""
    out_dir = os.path.join(REPO, "build-world")
    os.makedirs(out_dir, exist_ok=True)
    exe = os.path.join(out_dir, name)
    src = os.path.join(HERE, name + ".cpp")
    if not os.path.exists(exe) or os.path.getmtime(exe) < os.path.getmtime(src):
        flags = subprocess.check_output(
            ["pkg-config", "--cflags", "--libs", "openscenegraph-osg", "openscenegraph-osgDB",
             "openscenegraph-osgViewer", "openscenegraph-osgUtil"], text=True).split()
        subprocess.check_call(["g++", "-std=c++17", "-O1", "-Wall", "-Wextra", "-Werror", src,
                               "-o", exe] + flags)
    return exe


if __name__ == "__main__":
    sys.exit(main())
