#pragma once
// The editor's part markers: for every part that names one (CPart::GetMarkerNode, a file in
// Data/3D/), a scene object placed at the part's position on the model. The scene-object index
// is kept in the part's marker handle.

#include <vector>

class CModel;
class CSceneAdmin;
class CSceneObjectAdmin;

class CSceneMarkers
{
public:
    // All three must outlive this.
    CSceneMarkers(CSceneObjectAdmin& objects, CSceneAdmin& scenes, int sceneIndex);
    ~CSceneMarkers();
    CSceneMarkers(const CSceneMarkers&) = delete;
    CSceneMarkers& operator=(const CSceneMarkers&) = delete;

    // (Re)creates the markers of the model's parts and places them; returns how many.
    int Create(CModel& model);
    // Places every marker at body position + part position (body frame) turned with the body.
    void Update(CModel& model);
    // Removes every marker; the parts' handles are cleared when the model is given.
    void Clear(CModel* model);

private:
    struct TMarker
    {
        int object;
        int vdb;
    };

    CSceneObjectAdmin& m_objects; // not owned
    CSceneAdmin& m_scenes;        // not owned
    int m_scene;
    std::vector<TMarker> m_markers;
};
