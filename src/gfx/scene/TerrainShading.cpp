#include "gfx/scene/TerrainShading.h"

#include <vector>

#include <osg/Fog>
#include <osg/Geode>
#include <osg/Material>
#include <osg/NodeVisitor>
#include <osg/Program>
#include <osg/StateSet>
#include <osg/Uniform>

#include "core/Diagnostics.h"

namespace
{
constexpr const char* kTerrainNode = "terrain";

// Lighting as the fixed-function pipeline does it for one directional light without specular
// (the material has none) and without GL_NORMALIZE (the site's normals are unit length), and
// the fog factor of GL_EXP on the eye distance along -z.
const char* const kVertexShader = R"(#version 120
varying vec4 litColour;
varying float fogFactor;
void main()
{
    vec3 normal = gl_NormalMatrix * gl_Normal;
    float diffuse = max(dot(normal, normalize(gl_LightSource[0].position.xyz)), 0.0);
    litColour = clamp(gl_FrontLightModelProduct.sceneColor + gl_FrontLightProduct[0].ambient +
                      diffuse * gl_FrontLightProduct[0].diffuse, 0.0, 1.0);
    litColour.a = gl_FrontMaterial.diffuse.a;
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    fogFactor = clamp(exp(-gl_Fog.density * abs(eye.z)), 0.0, 1.0);
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_TexCoord[1] = gl_MultiTexCoord1;
    gl_Position = ftransform();
}
)";

const char* const kFragmentShader = R"(#version 120
uniform sampler2D colourMap;
uniform sampler2D detailMap;
varying vec4 litColour;
varying float fogFactor;
void main()
{
    vec4 colour = litColour * texture2D(colourMap, gl_TexCoord[0].st) * texture2D(detailMap, gl_TexCoord[1].st);
    gl_FragColor = vec4(mix(gl_Fog.color.rgb, colour.rgb, fogFactor), colour.a);
}
)";

class CTerrainFinder : public osg::NodeVisitor
{
public:
    CTerrainFinder() : osg::NodeVisitor(TRAVERSE_ALL_CHILDREN) {}
    void apply(osg::Geode& geode) override
    {
        if (geode.getName() == kTerrainNode)
            geodes.push_back(&geode);
        traverse(geode);
    }
    std::vector<osg::Geode*> geodes;
};

bool HasBothTextures(const osg::Geode& geode)
{
    for (unsigned int i = 0; i < geode.getNumDrawables(); ++i)
    {
        const osg::StateSet* state = geode.getDrawable(i)->getStateSet();
        if (state == nullptr)
            return false;
        for (unsigned int unit : {0u, 1u})
            if (state->getTextureAttribute(unit, osg::StateAttribute::TEXTURE) == nullptr)
                return false;
    }
    return true;
}

// Why the site cannot be drawn by the program, or null when it can.
const char* Refusal(osg::Node& site, const std::vector<osg::Geode*>& geodes)
{
    const osg::StateSet* state = site.getStateSet();
    if (state == nullptr)
        return "it has no state of its own";
    const auto* fog = dynamic_cast<const osg::Fog*>(state->getAttribute(osg::StateAttribute::FOG));
    if (fog == nullptr || fog->getMode() != osg::Fog::EXP || !(state->getMode(GL_FOG) & osg::StateAttribute::ON))
        return "its fog is not an exponential one that is switched on";
    const auto* material = dynamic_cast<const osg::Material*>(state->getAttribute(osg::StateAttribute::MATERIAL));
    if (material == nullptr || material->getColorMode() != osg::Material::OFF)
        return "its material is missing or follows the vertex colours";
    if (geodes.empty())
        return "it has no node named 'terrain'";
    for (const osg::Geode* geode : geodes)
        if (!HasBothTextures(*geode))
            return "a terrain geometry lacks the colour or the detail texture";
    return nullptr;
}
} // namespace

bool ApplyTerrainShading(osg::Node& site)
{
    CTerrainFinder finder;
    site.accept(finder);
    if (const char* why = Refusal(site, finder.geodes))
    {
        DiagPrint("Terrain of %s: drawn without the terrain shader, as %s\n", site.getName().c_str(), why);
        return false;
    }
    osg::ref_ptr<osg::Program> program = new osg::Program;
    program->setName("TerrainShading");
    program->addShader(new osg::Shader(osg::Shader::VERTEX, kVertexShader));
    program->addShader(new osg::Shader(osg::Shader::FRAGMENT, kFragmentShader));
    for (osg::Geode* geode : finder.geodes)
    {
        osg::StateSet* state = geode->getOrCreateStateSet();
        state->setAttributeAndModes(program.get());
        state->addUniform(new osg::Uniform("colourMap", 0));
        state->addUniform(new osg::Uniform("detailMap", 1));
    }
    return true;
}
