// Loads the generated world files the way the program will and checks what arrived.
//
// The .osg reader skips unknown keywords silently, so "it loads" proves little: this checks
// node names, triangle-list layout, array sizes, textures that really load, the winding and
// flatness of the terrain after the program's height reshape, and the sizes of the markers.
//
//   check_world <Data folder>     exit status 0 when every check passes
#include <osg/AlphaFunc>
#include <osg/Fog>
#include <osg/Geode>
#include <osg/Geometry>
#include <osg/Material>
#include <osg/NodeVisitor>
#include <osg/Texture2D>
#include <osgDB/ReadFile>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
int g_failures = 0;

void Check(bool ok, const std::string& file, const char* what)
{
    if (!ok)
    {
        std::printf("FAIL %s: %s\n", file.c_str(), what);
        ++g_failures;
    }
}

// The program turns each per-vertex normal of "terrain" with the cofactor of the reshape's
// Jacobian (the reshape maps (x, y, z) to (x, y s, z), s = (x^2 + z^2) / 1e6).
osg::Vec3 ReshapedNormal(const osg::Vec3& vertex, const osg::Vec3& normal)
{
    const double x = vertex.x(), y = vertex.y(), z = vertex.z();
    const double s = (x * x + z * z) / 1.0e6;
    const double dydx = y * 2.0 * x / 1.0e6, dydz = y * 2.0 * z / 1.0e6;
    osg::Vec3d r(s * normal.x() - dydx * normal.y(), normal.y(), s * normal.z() - dydz * normal.y());
    const double length = r.length();
    return length > 0.0 ? osg::Vec3(r / length) : normal;
}

class CFindByName : public osg::NodeVisitor
{
public:
    explicit CFindByName(const std::string& name)
        : osg::NodeVisitor(TRAVERSE_ALL_CHILDREN), m_name(name) {}
    void apply(osg::Node& node) override
    {
        if (node.getName() == m_name)
            m_found.push_back(&node);
        traverse(node);
    }
    std::string m_name;
    std::vector<osg::Node*> m_found;
};

osg::Node* FindOne(osg::Node* root, const std::string& name, const std::string& file)
{
    CFindByName finder(name);
    root->accept(finder);
    Check(finder.m_found.size() == 1, file, ("exactly one node named " + name).c_str());
    return finder.m_found.empty() ? nullptr : finder.m_found[0];
}

// True when the texture unit holds a Texture2D whose image was found and decoded.
bool TextureLoaded(const osg::StateSet* ss, unsigned unit)
{
    if (!ss)
        return false;
    auto* tex = dynamic_cast<const osg::Texture2D*>(
        ss->getTextureAttribute(unit, osg::StateAttribute::TEXTURE));
    return tex && tex->getImage() && tex->getImage()->s() > 0 && tex->getImage()->t() > 0;
}

// Every drawable a plain triangle list: DrawArrays TRIANGLES over the whole vertex array.
bool PlainTriangleList(const osg::Geometry* geo)
{
    auto* v = dynamic_cast<const osg::Vec3Array*>(geo->getVertexArray());
    if (!v || v->size() % 3 != 0 || geo->getNumPrimitiveSets() != 1)
        return false;
    auto* da = dynamic_cast<const osg::DrawArrays*>(geo->getPrimitiveSet(0));
    return da && da->getMode() == GL_TRIANGLES && da->getFirst() == 0 &&
           static_cast<size_t>(da->getCount()) == v->size();
}

void CheckFlyingSite(const std::string& dir)
{
    const std::string file = dir + "/3D/FlyingSite.osg";
    osg::ref_ptr<osg::Node> root = osgDB::readNodeFile(file);
    Check(root.valid(), file, "loads");
    if (!root)
        return;
    auto* fog = root->getStateSet()
                    ? dynamic_cast<osg::Fog*>(root->getStateSet()->getAttribute(osg::StateAttribute::FOG))
                    : nullptr;
    Check(fog && fog->getDensity() > 0.0f &&
              (root->getStateSet()->getMode(GL_FOG) & osg::StateAttribute::ON),
          file, "root carries the haze (Fog on, with a density)");

    auto* terrain = dynamic_cast<osg::Geode*>(FindOne(root.get(), "terrain", file));
    Check(terrain != nullptr, file, "node \"terrain\" is a Geode");
    if (!terrain)
        return;
    std::vector<osg::Vec3> all;   // the vertex arrays concatenated, as the collision loader does
    std::vector<osg::Vec3> normals;  // per vertex after the program's reshape of them
    size_t badLayout = 0, badTex = 0, badNormals = 0;
    for (unsigned i = 0; i < terrain->getNumDrawables(); ++i)
    {
        auto* geo = terrain->getDrawable(i)->asGeometry();
        if (!geo || !PlainTriangleList(geo))
        {
            ++badLayout;
            continue;
        }
        auto* v = static_cast<const osg::Vec3Array*>(geo->getVertexArray());
        for (int unit = 0; unit < 2; ++unit)
        {
            auto* tc = dynamic_cast<const osg::Vec2Array*>(geo->getTexCoordArray(unit));
            if (!tc || tc->size() != v->size() || !TextureLoaded(geo->getStateSet(), unit))
                ++badTex;
        }
        auto* n = dynamic_cast<const osg::Vec3Array*>(geo->getNormalArray());
        if (!n || (n->size() != v->size() && n->size() != 1))
            ++badNormals;
        for (size_t k = 0; k < v->size(); ++k)
            normals.push_back(n && n->size() == v->size() ? ReshapedNormal((*v)[k], (*n)[k])
                                                          : osg::Vec3(0, 1, 0));
        all.insert(all.end(), v->begin(), v->end());
    }
    Check(badLayout == 0, file, "every terrain drawable is a plain DrawArrays TRIANGLES list");
    Check(badTex == 0, file, "texture coordinates and loaded textures on units 0 and 1");
    Check(badNormals == 0, file, "normals per vertex (or one for a flat tile)");

    // The program's reshape, written the way it computes it.
    for (auto& p : all)
        p.y() = (p.x() * p.x() * 0.0001f + p.z() * p.z() * 0.0001f) * p.y() * 0.01f;
    const size_t tris = all.size() / 3;
    size_t down = 0, badShading = 0;
    float maxFieldDev = 0.0f, maxH = -1e9f, maxNear = -1e9f;
    for (size_t t = 0; t < tris; ++t)
    {
        const osg::Vec3 &a = all[3 * t], &b = all[3 * t + 1], &c = all[3 * t + 2];
        const osg::Vec3 n = (b - a) ^ (c - b);
        if (n.y() <= 0.0f)
            ++down;
        // Lighting follows the drawn faces: no vertex normal far off its face's normal.
        const osg::Vec3 face = n / n.length();
        for (int k = 0; k < 3; ++k)
            if (face * normals[3 * t + k] < 0.3f)
                ++badShading;
    }
    for (const auto& p : all)
    {
        const float r = std::hypot(p.x(), p.z());
        if (r < 240.0f)
            maxFieldDev = std::max(maxFieldDev, std::fabs(p.y()));
        if (r < 900.0f)
            maxNear = std::max(maxNear, p.y());
        maxH = std::max(maxH, p.y());
    }
    std::printf("FlyingSite: %zu terrain triangles in %u tiles; field flat to %.4f m; "
                "highest within 900 m %.1f m; highest %.1f m\n",
                tris, terrain->getNumDrawables(), maxFieldDev, maxNear, maxH);
    Check(tris >= 30000 && tris <= 60000, file, "30k to 60k terrain triangles");
    Check(down == 0, file, "every triangle faces up after the reshape ((B-A)x(C-B) has y > 0)");
    Check(badShading == 0, file, "normals, turned by the reshape, match the faces");
    Check(maxFieldDev < 0.001f, file, "the field within 240 m is flat");
    Check(maxNear > 5.0f && maxNear < 120.0f, file, "gentle hills within 900 m");
    Check(maxH > 300.0f && maxH < 2000.0f, file, "mountains on the horizon");

    auto* trees = dynamic_cast<osg::Geode*>(FindOne(root.get(), "trees", file));
    Check(trees != nullptr, file, "node \"trees\" is a Geode");
    if (trees)
    {
        size_t quads = 0, bad = 0;
        for (unsigned i = 0; i < trees->getNumDrawables(); ++i)
        {
            auto* geo = trees->getDrawable(i)->asGeometry();
            if (!geo || !PlainTriangleList(geo) || !TextureLoaded(geo->getStateSet(), 0) ||
                !geo->getTexCoordArray(0) ||
                !geo->getStateSet()->getAttribute(osg::StateAttribute::ALPHAFUNC))
            {
                ++bad;
                continue;
            }
            quads += geo->getVertexArray()->getNumElements() / 6;
        }
        std::printf("FlyingSite: %zu tree quads\n", quads);
        Check(bad == 0, file, "trees: textured, alpha-tested triangle lists");
        Check(quads > 200 && quads < 3000, file, "a modest number of tree quads");
    }
}

void CheckSkyDome(const std::string& dir)
{
    const std::string file = dir + "/3D/SkyDome.osg";
    osg::ref_ptr<osg::Node> root = osgDB::readNodeFile(file);
    Check(root.valid(), file, "loads");
    if (!root)
        return;
    auto* geode = dynamic_cast<osg::Geode*>(FindOne(root.get(), "SkyDome", file));
    if (!geode || geode->getNumDrawables() != 1)
    {
        Check(false, file, "one Geode SkyDome with one geometry");
        return;
    }
    auto* geo = geode->getDrawable(0)->asGeometry();
    auto* v = geo ? dynamic_cast<const osg::Vec3Array*>(geo->getVertexArray()) : nullptr;
    auto* c = geo ? dynamic_cast<const osg::Vec4Array*>(geo->getColorArray()) : nullptr;
    Check(v && c && c->size() == v->size(), file, "colour per vertex");
    if (!v || !c)
        return;
    float zMin = 1e9f, zMax = -1e9f, rMin = 1e9f, rMax = 0.0f;
    osg::Vec4 top, horizon;
    for (size_t i = 0; i < v->size(); ++i)
    {
        const osg::Vec3& p = (*v)[i];
        zMin = std::min(zMin, p.z());
        zMax = std::max(zMax, p.z());
        rMin = std::min(rMin, p.length());
        rMax = std::max(rMax, p.length());
        if (p.z() >= zMax)
            top = (*c)[i];
        if (std::fabs(p.z()) < 1.0f)
            horizon = (*c)[i];
    }
    const osg::StateSet* ss = geo->getStateSet();
    std::printf("SkyDome: radius %.0f m, z from %.0f to %.0f\n", rMax, zMin, zMax);
    Check(rMax - rMin < 1.0f && rMax > 6000.0f && rMax < 14000.0f, file,
          "a sphere between 6 and 14 km radius (past the terrain, inside the far plane)");
    Check(zMax > 0.99f * rMax && zMin > -0.8f * rMax, file, "authored Z up");
    Check(top.b() > top.r() + 0.3f && horizon.r() > top.r() + 0.3f, file,
          "blue zenith, pale horizon");
    Check(ss && ss->getMode(GL_LIGHTING) == osg::StateAttribute::OFF, file, "unlit");
}

void CheckObject(const std::string& dir, const std::string& name, float maxSize, bool textured)
{
    const std::string file = dir + "/3D/" + name + ".osg";
    osg::ref_ptr<osg::Node> root = osgDB::readNodeFile(file);
    Check(root.valid(), file, "loads");
    if (!root)
        return;
    auto* geode = dynamic_cast<osg::Geode*>(FindOne(root.get(), name, file));
    if (!geode)
        return;
    osg::BoundingBox box;
    size_t bad = 0;
    for (unsigned i = 0; i < geode->getNumDrawables(); ++i)
    {
        auto* geo = geode->getDrawable(i)->asGeometry();
        if (!geo || !PlainTriangleList(geo) || !geo->getNormalArray() || !geo->getColorArray() ||
            (textured && !TextureLoaded(geo->getStateSet(), 0)))
        {
            ++bad;
            continue;
        }
        box.expandBy(geo->getBoundingBox());
    }
    std::printf("%s: %u parts, %.3f x %.3f x %.3f m\n", name.c_str(), geode->getNumDrawables(),
                box.xMax() - box.xMin(), box.yMax() - box.yMin(), box.zMax() - box.zMin());
    Check(bad == 0, file, textured ? "lit, coloured, textured triangle lists"
                                   : "lit, coloured triangle lists");
    Check(box.valid() && box.radius() < maxSize, file, "size");
}

void CheckImage(const std::string& dir, const std::string& name, int components)
{
    const std::string file = dir + "/Textures/" + name;
    osg::ref_ptr<osg::Image> img = osgDB::readImageFile(file);
    Check(img.valid() && img->s() > 0, file, "loads");
    if (img.valid())
        Check(static_cast<int>(osg::Image::computeNumComponents(img->getPixelFormat())) == components, file,
              "number of colour components");
}
}  // namespace

int main(int argc, char** argv)
{
    const std::string dir = argc > 1 ? argv[1] : "Data";
    CheckFlyingSite(dir);
    CheckSkyDome(dir);
    CheckObject(dir, "Dummy", 1.0f, true);
    for (const char* m : {"CollisionPoint", "Wheel", "Engine", "Battery", "FuelTank", "Servo"})
        CheckObject(dir, m, 0.15f, false);
    CheckImage(dir, "DummyTexture.bmp", 3);
    CheckImage(dir, "Shadow.png", 4);
    CheckImage(dir, "ShadowPlane.png", 4);
    CheckImage(dir, "Trees.png", 4);
    std::printf(g_failures ? "%d check(s) failed\n" : "all checks passed\n", g_failures);
    return g_failures ? 1 : 0;
}
