#pragma once
// The headless heart of a flight: the flying site, the wind, the "Input" channel variables and
// the model, stepped exactly as the flight screen steps them. The flight process draws, plays
// sounds and reads the transmitter around it; kestro-fdm flies it from the command line. Both
// go through Step, so a batch flight is the flight the pilot would have seen.
//
// Step(frameTime), the simulation part of a flight frame:
//   1. the flying site has no per-frame work headless (the scene does its own);
//   2. "Wind": the turbulence moves with the model (its position and forward axis), also while
//      the model is paused: the air does not stop when the pilot does;
//   3. "Model": one model frame (functions, parts, sub-stepped rigid body), unless paused;
//   4. the turn-upright request is cleared, paused or not: the pilot holds the command, so it is
//      asked for again every frame it is held, and one made during a pause is gone by the time
//      the model runs again.
// The channels V_CH1 .. V_CH9 are set before Step; the model finds them first in its variable
// search list, so a model's own variable of the same name is hidden by them.
//
// Ownership: the session owns the model and the adapters the model's services point at. The
// site and the wind are either its own or borrowed from the flight process (which keeps them
// across flights); a borrowed object must outlive the session.

#include <memory>
#include <string>
#include <vector>

#include "core/CVector3.h"
#include "env/CStartPose.h"
#include "model/CModelServices.h"
#include "model/CVariableTable.h"
#include "model/ITerrain.h"

class CFlyWorld;
struct CMatrix3;
class CModel;
class CWind;
class ITerrain;
class IWindField;
class CVariable;

class CFlightSession
{
public:
    static constexpr int kChannelCount = 9; // V_CH1 .. V_CH9
    static constexpr float kAltitudeLow = 100.0f;  // m, the "100 m" command keeps x and z
    static constexpr float kAltitudeHigh = 500.0f; // m, the "500 m" command goes above the origin

    // site and wind: borrowed (not owned) when given; null makes the session's own, with a
    // flat site until LoadSite and still air (no thermals either) until CreateWind or SetWind.
    explicit CFlightSession(CFlyWorld* site = nullptr, CWind* wind = nullptr);
    ~CFlightSession();
    CFlightSession(const CFlightSession&) = delete;
    CFlightSession& operator=(const CFlightSession&) = delete;

    // --- Site
    // Loads the flying site of that name (Data/3D/<name>.osg; empty: the site's own name, the
    // field unless a borrowed site was loaded otherwise) unless it is loaded already. False with
    // the site's message in GetSiteError; the model then flies over flat ground. The wind gets
    // the site's slope lift.
    bool LoadSite(const std::string& siteName = std::string());
    // Flat ground at height 0 instead of the terrain (the start pose stays the site's).
    void UseFlatGround(bool flat);
    bool IsFlatGround() const { return m_flat; }
    const std::string& GetSiteError() const { return m_siteError; }
    const CStartPose& GetStartPose() const { return m_startPose; }
    // Where ResetToStart puts the model. On the ground (the site's own start, where the pilot
    // puts the model down on the field) the pose gives x, z and the angles, and the height is
    // the one that sets the model's lowest wheel or collision point on the ground there
    // (CGroundContacts); a model without any keeps the pose's height. In the air (kestro-fdm's
    // --start) the body origin goes exactly to the pose's position.
    void SetStartPose(const CStartPose& pose, bool onGround = false)
    {
        m_startPose = pose;
        m_startOnGround = onGround;
    }
    bool IsStartOnGround() const { return m_startOnGround; }
    // Ground height (m) under (x, z) as the model sees it. A caller asking every frame near
    // the last point passes its own hint: without one the whole mesh is searched.
    float GetGroundHeight(float x, float z) const;
    float GetGroundHeight(float x, float z, TTerrainHint& ioHint) const;

    // --- Wind
    // Reads Output/Weather.txt as the flight screen does (writing the defaults when missing).
    bool CreateWind();
    // Replaces the settings: speed m/s, heading deg (the direction the wind blows towards),
    // turbulence strength 0 .. 1. Output/Weather.txt is not touched.
    void SetWind(float speed, float headingDeg, float turbulence);
    // Replaces the thermal settings: core strength m/s (0 = none), radius m, density per km^2.
    // Clamped to the dialog's ranges; Output/Weather.txt is not touched.
    void SetThermals(float strength, float radius, float density);
    CWind& GetWind() { return *m_wind; }
    // The air velocity at a world point as the model feels it (world, m/s): mean wind,
    // turbulence, thermals and slope lift.
    CVector3 GetAirAt(const CVector3& worldPoint) const;

    // --- Model
    // The window's services for models loaded from now on: presentation, messages, sounds,
    // panels, key names, component root. Terrain, wind and channels stay the session's own.
    void SetDisplayServices(const CModelServices& services) { m_displayServices = services; }
    // Loads Data/Model/<name>. On failure there is no model and GetLoadMessage says why, in
    // words fit for the flight screen; on success it holds the loader's remarks (may be empty).
    // A new model starts at the start pose; one loaded over another keeps its motion.
    bool LoadModel(const std::string& name);
    // LoadModel for a model text in memory (the model editor's edits); fileName is the name the
    // model keeps for saving. A failed load leaves no model, as LoadModel.
    bool LoadModelText(const std::string& text, const std::string& fileName);
    const std::string& GetLoadMessage() const { return m_loadMessage; }
    CModel* GetModel() const { return m_model.get(); }
    bool HasModel() const { return m_model != nullptr; }

    // The commands of the model menu; each does nothing without a model.
    void ResetToStart();   // start position and orientation, no motion (see SetStartPose)
    void SetAltitude100(); // height 100 m, x and z kept
    void SetAltitude500(); // (0, 500, 0)
    void RequestUpright(); // for the next Step only

    // index 0 .. 8 is V_CH1 .. V_CH9; others are ignored (and read 0).
    void SetChannel(int index, float value);
    float GetChannel(int index) const;
    CVariableTable& GetInputs() { return m_inputs; }

    // One simulation frame (see the class comment); frameTime in s. modelRuns false: the model
    // is paused and only the air moves. Without a model it returns at once.
    void Step(float frameTime, bool modelRuns = true);

    // Forward axis of the body (world): the negated third row of its orientation.
    static CVector3 ForwardAxis(const CModel& model);
    // Orientation rows for heading, pitch and roll in degrees, with the attitude convention of
    // the body: heading clockwise from -Z seen from above, pitch nose up, roll right wing down.
    static void BuildOrientation(float headingDeg, float pitchDeg, float rollDeg, CMatrix3& outOrientation);

private:
    CModelServices MakeServices();
    // name: the file name; text: the model text, or null to read Data/Model/<name>.
    bool Load(const std::string& name, const std::string* text);

    std::unique_ptr<CFlyWorld> m_ownSite;
    CFlyWorld* m_site;                     // m_ownSite or borrowed
    std::unique_ptr<CWind> m_ownWind;
    CWind* m_wind;                         // m_ownWind or borrowed
    std::unique_ptr<ITerrain> m_siteTerrain;  // adapter on m_site
    std::unique_ptr<ITerrain> m_flatTerrain;  // flat ground at 0
    // What the model's services point at: forwards to one of the two above, so the ground can
    // change under a loaded model.
    std::unique_ptr<ITerrain> m_terrain;
    std::unique_ptr<IWindField> m_windField;  // adapter on m_wind
    bool m_flat = true;
    std::string m_siteError;
    CStartPose m_startPose;
    bool m_startOnGround = true; // the site's start pose is a ground start

    CModelServices m_displayServices; // what SetDisplayServices gave
    CVariableTable m_inputs{"Input"};
    CVariable* m_channels[kChannelCount] = {}; // records of m_inputs (stable addresses)

    // Declared last: the model refers to everything above and goes first.
    std::unique_ptr<CModel> m_model;
    std::string m_loadMessage;
};
