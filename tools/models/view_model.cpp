// Looks at a generated model object: lists its DOFTransform nodes as loaded (name, pivot and
// axes, so a misspelt keyword shows up), and renders it to a PNG from four directions at once,
// optionally with every DOF turned, to see that surfaces hinge where they should.
//
//   view_model <file.osg> [out.png] [deflection deg]
#include <osg/MatrixTransform>
#include <osg/NodeVisitor>
#include <osgDB/ReadFile>
#include <osgDB/WriteFile>
#include <osgSim/DOFTransform>
#include <osgViewer/Viewer>

#include "../common/OffscreenContext.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
const int kWidth = 1200;
const int kHeight = 900;

class CDofLister : public osg::NodeVisitor
{
public:
    explicit CDofLister(float deflection) : osg::NodeVisitor(TRAVERSE_ALL_CHILDREN), m_deflection(deflection) {}
    void apply(osg::Transform& node) override
    {
        if (auto* dof = dynamic_cast<osgSim::DOFTransform*>(&node))
        {
            // The put matrix takes body axes into the node's frame; its inverse is the frame.
            const osg::Matrix m = osg::Matrix::inverse(dof->getPutMatrix());
            std::printf("DOF %-14s pivot (%.3f, %.3f, %.3f) x (%.2f, %.2f, %.2f) y (%.2f, %.2f, %.2f)\n",
                        dof->getName().c_str(), m(3, 0), m(3, 1), m(3, 2), m(0, 0), m(0, 1), m(0, 2), m(1, 0),
                        m(1, 1), m(1, 2));
            // Control surfaces pitch, the propeller rolls, wheels steer and spin.
            const float d = osg::DegreesToRadians(m_deflection);
            dof->setCurrentHPR(osg::Vec3(0.0f, d, d));
        }
        traverse(node);
    }
    float m_deflection;
};

struct CCapture : public osg::Camera::DrawCallback
{
    void operator()(osg::RenderInfo&) const override
    {
        m_image->readPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE);
    }
    osg::ref_ptr<osg::Image> m_image = new osg::Image;
};
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: view_model <file.osg> [out.png] [deflection deg]\n");
        return 2;
    }
    osg::ref_ptr<osg::Node> obj = osgDB::readNodeFile(argv[1]);
    if (!obj)
    {
        std::fprintf(stderr, "view_model: cannot read %s\n", argv[1]);
        return 1;
    }
    CDofLister lister(argc > 3 ? static_cast<float>(std::atof(argv[3])) : 0.0f);
    obj->accept(lister);
    if (argc < 3)
        return 0;

    // Four copies: three-quarter front, side, top, three-quarter rear from below.
    osg::ref_ptr<osg::Group> root = new osg::Group;
    osg::StateSet* ss = root->getOrCreateStateSet();
    ss->setMode(GL_CULL_FACE, osg::StateAttribute::ON);
    ss->setMode(GL_LIGHTING, osg::StateAttribute::ON);
    ss->setMode(GL_DEPTH_TEST, osg::StateAttribute::ON);
    const float r = obj->getBound().radius();
    const osg::Vec3 c = obj->getBound().center();
    const osg::Matrix views[4] = {
        osg::Matrix::rotate(osg::DegreesToRadians(-35.0), osg::Vec3(0, 1, 0)) *
            osg::Matrix::rotate(osg::DegreesToRadians(25.0), osg::Vec3(1, 0, 0)),
        osg::Matrix::rotate(osg::DegreesToRadians(-90.0), osg::Vec3(0, 1, 0)),
        osg::Matrix::rotate(osg::DegreesToRadians(90.0), osg::Vec3(1, 0, 0)),
        osg::Matrix::rotate(osg::DegreesToRadians(150.0), osg::Vec3(0, 1, 0)) *
            osg::Matrix::rotate(osg::DegreesToRadians(-20.0), osg::Vec3(1, 0, 0)),
    };
    for (int i = 0; i < 4; ++i)
    {
        auto* t = new osg::MatrixTransform(osg::Matrix::translate(-c) * views[i] *
                                           osg::Matrix::translate((i % 2 ? 1.1f : -1.1f) * r, (i < 2 ? 0.85f : -0.85f) * r, 0));
        t->addChild(obj.get());
        root->addChild(t);
    }
    osgViewer::Viewer viewer;
    osg::ref_ptr<osg::GraphicsContext> gc = CreateOffscreenContext(kWidth, kHeight, "view_model");
    if (!gc)
        return 1;
    osg::Camera* cam = viewer.getCamera();
    cam->setGraphicsContext(gc.get());
    cam->setViewport(0, 0, kWidth, kHeight);
    cam->setClearColor(osg::Vec4(0.55f, 0.7f, 0.85f, 1));
    const double halfH = 2.1 * r;
    cam->setProjectionMatrixAsOrtho(-halfH * kWidth / kHeight, halfH * kWidth / kHeight, -halfH, halfH, -10 * r, 10 * r);
    cam->setViewMatrix(osg::Matrix::identity());
    osg::ref_ptr<CCapture> capture = new CCapture;
    cam->setFinalDrawCallback(capture.get());
    viewer.setLightingMode(osg::View::SKY_LIGHT);
    viewer.getLight()->setPosition(osg::Vec4(0.4f, 0.8f, 0.5f, 0.0f));
    viewer.getLight()->setAmbient(osg::Vec4(0.45f, 0.45f, 0.45f, 1));
    viewer.setSceneData(root.get());
    viewer.setThreadingModel(osgViewer::Viewer::SingleThreaded);
    viewer.realize();
    for (int i = 0; i < 3; ++i)
    {
        cam->setViewMatrix(osg::Matrix::identity());
        viewer.frame();
    }
    if (!osgDB::writeImageFile(*capture->m_image, argv[2]))
    {
        std::fprintf(stderr, "view_model: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("wrote %s\n", argv[2]);
    return 0;
}
