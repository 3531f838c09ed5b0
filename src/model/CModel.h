#pragma once
// A flying model: the parts read from a model file, the rigid body that integrates their forces,
// the model's variables and functions, an optional instrument panel and output file.
//
// Model file (token text): an optional top-level OUTPUT_FILE and part blocks ".WING3 Name { }"
// whose key is one of the fifteen block tokens of PartClassTable. Parts are read class by class
// (all MODEL_INFO blocks first, then GRAVITY, ...), within a class in file order; every loop over
// the parts meets them in that order. Exactly one MODEL_INFO "M"; made with defaults if absent.
//
// A frame (UpdateModel):
//   1. link the parts (ApplyProperties) when needed, then register the force records again if a
//      part changed how many it uses                       2. recompute the mass when needed
//   3. output-file line        4. functions               5. UpdateFrame of every part
//   6. body.Update: per sub-step the callback SubStep runs CalcForces of every enabled physic
//      part and the upright aid, then the body sums and integrates
//   7. air data and attitude   8. damage message          9. reset message
//   10. instrument panel       11. pose of the 3D object and the shadow
//
// Ownership: the model owns its parts, body, variables, functions, panel and output file. Parts
// keep a raw back pointer to the model (it outlives them: parts are destroyed first).

#include <memory>
#include <string>
#include <vector>

#include "core/CVector3.h"
#include "model/CDegreeOfFreedomList.h"
#include "model/CEngineDynamic.h"
#include "model/CForce.h"
#include "model/CMassElement.h"
#include "model/CModelServices.h"
#include "model/CVariableSearchList.h"
#include "model/CVariableTable.h"

class CComponentNode;
class CFunctionList;
class COutputFile;
class CPart;
class CPartModelInfo;
class CPartPhysic;
class CTokenFile;
class IDebugDraw;
class IInstrumentPanel;
class ITerrain;
class IWindField;

class CModel
{
public:
    // Damage or rest sums above this raise their messages.
    static constexpr float kMessageThreshold = 10.0f;

    explicit CModel(const CModelServices& services = CModelServices());
    ~CModel();
    CModel(const CModel&) = delete;
    CModel& operator=(const CModel&) = delete;

    // Opens Data/Model/<fileName> and runs InitFromFile. Returns the loaded flag: false for a
    // missing or broken file, a name that climbs out of the model folder, or a model that needs
    // more force or torque records than the body holds.
    bool LoadModel(const std::string& fileName);
    // Builds the model from a loaded token file (see the class comment for the order).
    bool InitFromFile(CTokenFile& file);

    // One frame; frameTime (s) is the application's smoothed frame time, realFrameTime the
    // measured one for the output file's frame-rate column (<= 0: use frameTime).
    void UpdateModel(float frameTime, float realFrameTime = 0.0f);

    // parts: per part, DrawDebug + DrawDebugExtra with enable bit 2, DrawDebugExtra alone with
    // bit 3. forces: every force and torque record of the body.
    void RenderDebug(IDebugDraw& draw, bool parts, bool forces);

    // A ground contact reported by a collision point. Only kind 0 counts: into the damage sum
    // while the body moves faster than 1 m/s, else into the rest sum.
    void AddContact(int kind, float amount);

    // Sum of the wind induced at a body point by every enabled physic part (world frame, m/s);
    // true when any part answered.
    bool GetInducedWind(CVector3& outWind, const CVector3& bodyPoint);

    // --- Parts
    int GetPartCount() const { return static_cast<int>(m_parts.size()); }
    CPart* GetPart(int index) const;
    // The part of the class whose name equals name exactly, or null.
    CPart* FindPart(int classIndex, const std::string& name) const;
    // The parts of one class in list order (for `for (CPart* p : model.GetPartsOfClass(...))`).
    std::vector<CPart*> GetPartsOfClass(int classIndex) const;
    // Creates a part of the class with the factory, attaches it, names it, registers it and
    // appends it at the end of its class's run in the list; null when the class cannot be made
    // or the body has no room for its records.
    CPart* AddPart(int classIndex, const std::string& name);
    CPartModelInfo* GetModelInfo() const { return m_modelInfo; }

    // --- Editing (the model editor). Part indices are slots of the part list.
    // Empties the slot: the part is destroyed, GetPart(index) gives null and every loop of the
    // model skips it. Other owners walk GetPart without expecting holes, so an editor saves and
    // reloads the model (SaveText, LoadModelText) before the next frame. False for no part there.
    bool DeletePart(int index);
    // The first existing part after / before index (empty slots skipped); -1 when there is none.
    int NextPart(int index) const;
    int PrevPart(int index) const;
    // name, with "_" appended as long as a part other than except already has it.
    std::string UniquePartName(const std::string& name, const CPart* except = nullptr) const;
    // Gives the part UniquePartName(name) and points the other parts' references to its old
    // name at the new one. Returns the name given ("" for no part there); the model info "M"
    // keeps its name, the only one the loader takes the model's settings from. Part names are also
    // the links of the component tree: the editor reloads the model after a rename.
    std::string RenamePart(int index, const std::string& name);
    // The model as model-file text (OUTPUT_FILE, the part blocks in list order, the functions):
    // loading it gives the same model.
    std::string SaveText() const;
    // Replaces Data/Model/<name> by SaveText() through a temporary file and a rename. False,
    // reported, when the name is no plain file name or the file cannot be written; the old file
    // is then untouched.
    bool SaveModel(const std::string& name);
    // LoadModel for a model text in memory; includes resolve in Data/Model/, fileName is the
    // name the model then has (for a later save).
    bool LoadModelText(const std::string& text, const std::string& fileName);
    void SetFileName(const std::string& fileName) { m_fileName = fileName; }

    // --- Services and members parts use
    CEngineDynamic& GetBody() { return m_body; }
    const CEngineDynamic& GetBody() const { return m_body; }
    const CModelServices& GetServices() const { return m_services; }
    const ITerrain& GetTerrain() const;
    const IWindField& GetWindField() const;
    CVariableSearchList& GetVariableSearchList() { return m_searchList; }
    CVariableTable& GetVariableTable() { return m_variables; }
    CFunctionList* GetFunctions() const { return m_functions.get(); }
    CDegreeOfFreedomList& GetDegreesOfFreedom() { return m_dofs; }
    IInstrumentPanel* GetInstrumentPanel() const { return m_panel.get(); }
    COutputFile* GetOutputFile() const { return m_outputFile.get(); }
    // The model's node "MODEL" in the component tree (the link root of VARIABLE parts).
    CComponentNode* GetRegistryNode() const;
    // The mass accumulator: sum of the enabled parts' elements (for the editor's mass display).
    const CMassElement& GetMassAccumulator() const { return m_massAccumulator; }

    // Set by a part whose mass element changed (its property-changed callback).
    void SetMassMustBeRecomputed() { m_massMustBeRecomputed = true; }
    // Set when the 3D object was reloaded: every part links again next frame.
    void SetPartsMustBeLinked() { m_partsMustBeLinked = true; }
    // Set by a part whose number of used force records changed: the body gets the records of
    // every part again, in list order, before the next integration.
    void SetRecordsMustBeRegistered() { m_recordsMustBeRegistered = true; }
    // Sets the display scale of every force and torque record (the parts' and the model's).
    void SetForceDisplayScale(float scale);

    // The upright aid, while the pilot holds the turn-upright command.
    void SetUpright(bool upright) { m_upright = upright; }
    bool IsUpright() const { return m_upright; }

    // --- Air data of the last frame (against the mean wind, no turbulence)
    const CVector3& GetModelWind() const { return m_wind; }          // world, m/s
    const CVector3& GetAirVelocity() const { return m_airVelocity; } // wind - body velocity
    float GetAirspeed() const { return m_airspeed; }                 // m/s
    float GetVerticalAirSpeed() const { return m_verticalAirSpeed; } // negative while climbing
    float GetHorizontalAirSpeed() const { return m_horizontalAirSpeed; }
    float GetFlightPathAngle() const { return m_flightPathAngle; }   // rad
    // Angle of slide (rad): positive when the air comes from the right of the nose.
    float GetAirAngle() const { return m_airAngle; }
    float GetHeading() const { return m_heading; }                   // rad
    float GetPitch() const { return m_pitch; }                       // rad
    float GetRoll() const { return m_roll; }                         // rad

    float GetDamageSum() const { return m_damageSum; }
    // Every damage contact since the model was loaded: the damage sum restarts after each
    // "Damage" message, this total does not.
    float GetDamageTotal() const { return m_damageTotal; }
    float GetRestSum() const { return m_restSum; }
    bool IsResetMessageShown() const { return m_resetMessageShown; }

    const std::string& GetFileName() const { return m_fileName; }
    bool IsLoaded() const { return m_loaded; }

    // Writes PartHelp.txt into the developer output folder; false when it cannot be written.
    static bool WritePartHelp();

private:
    // The body's sub-step callback (context = the model).
    static void SubStepCallback(void* context, float dt);
    void SubStep(float dt);

    void Clear();
    bool LoadParts(CTokenFile& file);
    // False, with a message ending in consequence, when the body cannot hold the used records.
    bool CheckRecordCounts(const char* consequence);
    void RegisterRecords();
    void RebuildPartLists();
    void RegisterPart(CPart& part);
    void RecomputeMass();
    void UpdateAirData();
    void UpdateMessages(float frameTime);
    void UpdatePresentation();
    bool OpenOutputFile(const std::string& name);

    CModelServices m_services;

    std::vector<std::unique_ptr<CPart>> m_parts; // owned; class order, file order within a class
    // Views of m_parts in its order, rebuilt whenever it changes: the physic parts (asked every
    // sub-step) and those that can induce wind (asked by every wing segment every sub-step).
    std::vector<CPartPhysic*> m_physicParts;
    std::vector<CPartPhysic*> m_windParts;
    CEngineDynamic m_body;
    CMassElement m_massAccumulator;
    CPartModelInfo* m_modelInfo = nullptr; // one of m_parts

    CVariableTable m_variables{"Model"};
    CVariableSearchList m_searchList;
    std::unique_ptr<CFunctionList> m_functions;
    CDegreeOfFreedomList m_dofs;

    CForce m_uprightForce{"Upright Model", 27};
    CTorque m_uprightTorque{"Upright Model", 27};
    bool m_upright = false;

    std::unique_ptr<IInstrumentPanel> m_panel;
    std::unique_ptr<COutputFile> m_outputFile;

    CVector3 m_wind;
    CVector3 m_airVelocity;
    float m_airspeed = 0.0f;
    float m_verticalAirSpeed = 0.0f;
    float m_horizontalAirSpeed = 0.0f;
    float m_flightPathAngle = 0.0f;
    float m_airAngle = 0.0f;
    float m_heading = 0.0f;
    float m_pitch = 0.0f;
    float m_roll = 0.0f;

    float m_damageSum = 0.0f;
    float m_damageTotal = 0.0f;
    float m_restSum = 0.0f;
    float m_damageTimer = 0.0f; // s since the first contact of the current damage sum
    float m_resetTimer = 0.0f;  // s since the reset message was last checked
    bool m_resetMessageShown = false;
    int m_resetMessageHandle = 0;

    bool m_partsMustBeLinked = false;
    bool m_massMustBeRecomputed = false;
    bool m_recordsMustBeRegistered = false;
    bool m_loaded = false;
    std::string m_fileName;
    std::string m_outputFileName; // OUTPUT_FILE as read, written back by SaveText

    std::shared_ptr<CComponentNode> m_ownRoot;     // private root when the services give none
    std::weak_ptr<CComponentNode> m_registryNode;  // "MODEL", owned by the tree
};
