#pragma once
// The terrain drawn by a small shader program instead of the fixed-function pipeline, with the
// same look: one directional light (light 0, per vertex), the material, the colour texture on
// unit 0 modulated by the detail texture on unit 1, and exponential fog.
//
// Why: under a software rasteriser every pixel of the ground pays for its fragment code, and
// the ground fills most of the flight view. The fixed-function code computes the fog's
// exponential for every pixel; here it is computed per vertex and interpolated, which on the
// site's triangles differs by less than one colour step, and the texture lookups skip the
// projective divide. The program reads the light, material and fog through the built-in
// state, so the sun's time of day and the site's fog settings keep working unchanged.

namespace osg
{
class Node;
}

// Puts the program on every geode named "terrain" below site when the site draws the way the
// program reproduces: GL_FOG on with an EXP fog and a Material without colour tracking on the
// site's own state, and textures on units 0 and 1 of every terrain geometry. Otherwise the
// site keeps the fixed-function drawing (said once in the diagnostics) and false is returned.
bool ApplyTerrainShading(osg::Node& site);
