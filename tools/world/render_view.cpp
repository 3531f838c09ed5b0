// Renders one frame of the flying site to a PNG, as the program will show it: the terrain
// reshaped like the collision loader does, the sky dome turned from Z up and centred on the
// eye, one sun light at a time-of-day angle. Used to look at the generated world without
// the program.
//
//   render_view <Data> <out.png> <eye x y z> <heading deg> <pitch deg> <hfov deg> [sun deg]
//               [frames to time]
//   render_view --object <file.osg> <out.png>     one object from above-front-right
#include <osg/Geode>
#include <osg/Geometry>
#include <osg/Light>
#include <osg/LightModel>
#include <osg/MatrixTransform>
#include <osg/NodeVisitor>
#include <osg/Timer>
#include <osgDB/ReadFile>
#include <osgDB/WriteFile>
#include <osgViewer/Viewer>

#include "../common/OffscreenContext.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
const int kWidth = 1024;
const int kHeight = 768;

// The program turns each per-vertex normal with the cofactor of the reshape's Jacobian.
osg::Vec3 ReshapedNormal(const osg::Vec3& vertex, const osg::Vec3& normal)
{
    const double x = vertex.x(), y = vertex.y(), z = vertex.z();
    const double s = (x * x + z * z) / 1.0e6;
    const double dydx = y * 2.0 * x / 1.0e6, dydz = y * 2.0 * z / 1.0e6;
    osg::Vec3d r(s * normal.x() - dydx * normal.y(), normal.y(), s * normal.z() - dydz * normal.y());
    const double length = r.length();
    return length > 0.0 ? osg::Vec3(r / length) : normal;
}

class CReshapeTerrain : public osg::NodeVisitor
{
public:
    CReshapeTerrain() : osg::NodeVisitor(TRAVERSE_ALL_CHILDREN) {}
    void apply(osg::Geode& geode) override
    {
        if (geode.getName() != "terrain")
            return;
        for (unsigned i = 0; i < geode.getNumDrawables(); ++i)
        {
            osg::Geometry* geo = geode.getDrawable(i)->asGeometry();
            auto* v = geo ? dynamic_cast<osg::Vec3Array*>(geo->getVertexArray()) : nullptr;
            if (!v)
                continue;
            auto* n = dynamic_cast<osg::Vec3Array*>(geo->getNormalArray());
            if (n && n->getBinding() == osg::Array::BIND_PER_VERTEX && n->size() == v->size())
            {
                for (size_t k = 0; k < v->size(); ++k)
                    (*n)[k] = ReshapedNormal((*v)[k], (*n)[k]);
                n->dirty();
            }
            for (auto& p : *v)
                p.y() = (p.x() * p.x() * 0.0001f + p.z() * p.z() * 0.0001f) * p.y() * 0.01f;
            v->dirty();
            geo->dirtyDisplayList();
            geo->dirtyBound();
        }
        m_found = true;
    }
    bool m_found = false;
};

struct CCapture : public osg::Camera::DrawCallback
{
    void operator()(osg::RenderInfo&) const override
    {
        m_image->readPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE);
    }
    osg::ref_ptr<osg::Image> m_image = new osg::Image;
};

int Render(osg::Node* scene, const osg::Matrixd& view, double hfovDeg, double sunDeg,
           const std::string& out, const osg::Vec4& clear, double zNear, double zFar,
           int timedFrames = 0)
{
    osgViewer::Viewer viewer;
    osg::ref_ptr<osg::GraphicsContext> gc = CreateOffscreenContext(kWidth, kHeight, "render_view");
    if (!gc)
        return 1;
    osg::Camera* cam = viewer.getCamera();
    cam->setGraphicsContext(gc.get());
    cam->setViewport(0, 0, kWidth, kHeight);
    cam->setClearColor(clear);
    cam->setComputeNearFarMode(osg::CullSettings::DO_NOT_COMPUTE_NEAR_FAR);
    const double aspect = double(kWidth) / kHeight;
    const double vfov = 2.0 * std::atan(std::tan(osg::DegreesToRadians(hfovDeg) / 2) / aspect);
    cam->setProjectionMatrixAsPerspective(osg::RadiansToDegrees(vfov), aspect, zNear, zFar);
    cam->setViewMatrix(view);
    osg::ref_ptr<CCapture> capture = new CCapture;  // outlives its time on the camera
    cam->setFinalDrawCallback(capture.get());

    // The sun of the time-of-day model at midday values: ambient 0.5, diffuse and specular 1.
    viewer.setLightingMode(osg::View::SKY_LIGHT);
    osg::Light* light = viewer.getLight();
    const double a = osg::DegreesToRadians(sunDeg);
    light->setPosition(osg::Vec4(std::cos(a), std::sin(a), 0.0, 0.0));
    light->setAmbient(osg::Vec4(0.5f, 0.5f, 0.5f, 1));
    light->setDiffuse(osg::Vec4(1, 1, 1, 1));
    light->setSpecular(osg::Vec4(1, 1, 1, 1));

    viewer.setSceneData(scene);
    viewer.setThreadingModel(osgViewer::Viewer::SingleThreaded);
    viewer.realize();
    for (int i = 0; i < 3; ++i)
    {
        cam->setViewMatrix(view);
        viewer.frame();
    }
    if (timedFrames > 0)
    {
        cam->setFinalDrawCallback(nullptr);
        const osg::Timer_t t0 = osg::Timer::instance()->tick();
        for (int i = 0; i < timedFrames; ++i)
            viewer.frame();
        const double s = osg::Timer::instance()->delta_s(t0, osg::Timer::instance()->tick());
        std::printf("%d frames: %.2f ms per frame, %.1f frames per second\n", timedFrames,
                    1000.0 * s / timedFrames, timedFrames / s);
    }
    if (!osgDB::writeImageFile(*capture->m_image, out))
    {
        std::fprintf(stderr, "render_view: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("wrote %s\n", out.c_str());
    return 0;
}

osg::Group* MakeRoot()
{
    auto* root = new osg::Group;
    osg::StateSet* ss = root->getOrCreateStateSet();
    ss->setMode(GL_CULL_FACE, osg::StateAttribute::ON);
    ss->setMode(GL_LIGHTING, osg::StateAttribute::ON);
    ss->setMode(GL_DEPTH_TEST, osg::StateAttribute::ON);
    return root;
}
}  // namespace

int main(int argc, char** argv)
{
    // --site SlopeSite: the slope site, drawn at its authored heights (only the field is reshaped).
    std::string siteName = "FlyingSite";
    if (argc > 2 && std::string(argv[1]) == "--site")
    {
        siteName = argv[2];
        argv += 2;
        argc -= 2;
    }
    if (argc == 4 && std::string(argv[1]) == "--object")
    {
        osg::ref_ptr<osg::Node> obj = osgDB::readNodeFile(argv[2]);
        if (!obj)
        {
            std::fprintf(stderr, "render_view: cannot read %s\n", argv[2]);
            return 1;
        }
        osg::ref_ptr<osg::Group> root = MakeRoot();
        root->addChild(obj.get());
        const osg::BoundingSphere bs = obj->getBound();
        const osg::Vec3 dir(0.6f, 0.45f, 0.65f);
        const osg::Vec3 eye = bs.center() + dir * (bs.radius() * 3.2f);
        return Render(root.get(), osg::Matrixd::lookAt(eye, bs.center(), osg::Vec3(0, 1, 0)), 40.0,
                      60.0, argv[3], osg::Vec4(0.35f, 0.4f, 0.45f, 1), bs.radius() * 0.2,
                      bs.radius() * 20.0);
    }
    if (argc < 9)
    {
        std::fprintf(stderr, "usage: render_view [--site NAME] <Data> <out.png> <x> <y> <z> <heading> <pitch> "
                             "<hfov> [sun angle] [frames]\n       render_view --object <file.osg> <out.png>\n");
        return 2;
    }
    const std::string data = argv[1];
    const osg::Vec3 eye(std::atof(argv[3]), std::atof(argv[4]), std::atof(argv[5]));
    const double h = osg::DegreesToRadians(std::atof(argv[6]));
    const double p = osg::DegreesToRadians(std::atof(argv[7]));
    const double hfov = std::atof(argv[8]);
    const double sun = argc > 9 ? std::atof(argv[9]) : 90.0;
    const int frames = argc > 10 ? std::atoi(argv[10]) : 0;

    osg::ref_ptr<osg::Node> site = osgDB::readNodeFile(data + "/3D/" + siteName + ".osg");
    osg::ref_ptr<osg::Node> sky = osgDB::readNodeFile(data + "/3D/SkyDome.osg");
    if (!site || !sky)
    {
        std::fprintf(stderr, "render_view: cannot read the site or the sky dome\n");
        return 1;
    }
    if (siteName == "FlyingSite")
    {
        CReshapeTerrain reshape;
        site->accept(reshape);
        if (!reshape.m_found)
            std::fprintf(stderr, "render_view: no node named terrain\n");
    }

    osg::ref_ptr<osg::Group> root = MakeRoot();
    auto* skyXform = new osg::MatrixTransform;
    skyXform->setMatrix(osg::Matrixd::rotate(1.5707964, osg::Vec3d(-1, 0, 0)) *
                        osg::Matrixd::translate(eye));
    skyXform->addChild(sky.get());
    root->addChild(skyXform);
    root->addChild(site.get());

    // Heading and pitch as the program defines them: forward = (sin H cos P, sin P, -cos H cos P).
    const osg::Vec3 fwd(std::sin(h) * std::cos(p), std::sin(p), -std::cos(h) * std::cos(p));
    return Render(root.get(), osg::Matrixd::lookAt(eye, eye + fwd, osg::Vec3(0, 1, 0)), hfov, sun,
                  argv[2], osg::Vec4(0, 0, 0, 1), 0.5, 15000.0, frames);
}
