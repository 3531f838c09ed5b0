#include "model/CModel.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "core/Diagnostics.h"
#include "data/CComponentNode.h"
#include "data/CFile.h"
#include "data/CFileText.h"
#include "data/CPropertySet.h"
#include "data/CTokenFile.h"
#include "model/CFunction.h"
#include "model/CFunctionList.h"
#include "model/COutputFile.h"
#include "model/CPart.h"
#include "model/CPartModelInfo.h"
#include "model/CPartPhysic.h"
#include "model/IDebugDraw.h"
#include "model/IInstrumentPanel.h"
#include "model/IKeyNames.h"
#include "model/IModelPresentation.h"
#include "model/IOverlayMessages.h"
#include "model/ITerrain.h"
#include "model/IWindField.h"
#include "model/PartClassTable.h"
#include "model/PartHelp.h"

namespace
{
// Longest part name the loader reads.
constexpr size_t kMaxPartName = 1000;
// Longest OUTPUT_FILE and panel names.
constexpr size_t kMaxFileName = 260;
// Twice g: the upright aid lifts with twice the model's weight right at the ground.
constexpr float kUprightAcceleration = 19.62f; // m/s^2
constexpr float kDamageMessageDelay = 2.0f;    // s after the first contact
constexpr float kDamageMessageTime = 4.0f;     // s on screen
constexpr float kResetCheckPeriod = 1.0f;      // s

// A file name read from a model file must stay inside its data folder.
bool CheckPlainName(const std::string& modelFile, const char* key, const std::string& name)
{
    if (IsPlainDataName(name))
        return true;
    DiagPrint("%s: %s '%s' refused: not a plain file name inside its data folder\n", modelFile.c_str(), key,
              name.c_str());
    return false;
}
} // namespace

CModel::CModel(const CModelServices& services) : m_services(services)
{
    // A pointer left null means "nothing there": the do-nothing implementation stands in.
    const CModelServices defaults;
    if (m_services.terrain == nullptr)
        m_services.terrain = defaults.terrain;
    if (m_services.wind == nullptr)
        m_services.wind = defaults.wind;
    if (m_services.presentation == nullptr)
        m_services.presentation = defaults.presentation;
    if (m_services.messages == nullptr)
        m_services.messages = defaults.messages;
    if (m_services.sounds == nullptr)
        m_services.sounds = defaults.sounds;
    if (m_services.panels == nullptr)
        m_services.panels = defaults.panels;
    if (m_services.keyNames == nullptr)
        m_services.keyNames = defaults.keyNames;
    m_body.SetTerrain(m_services.terrain);
}

CModel::~CModel()
{
    Clear();
}

void CModel::Clear()
{
    if (m_resetMessageShown && m_resetMessageHandle != 0)
        m_services.messages->Remove(m_resetMessageHandle);
    // What refers to parts and variables goes first, then the parts, then the body.
    m_outputFile.reset();
    m_panel.reset();
    m_functions.reset();
    m_modelInfo = nullptr;
    m_physicParts.clear();
    m_windParts.clear();
    m_parts.clear();
    m_body.ResetBody();
    m_body.SetTerrain(m_services.terrain);
    m_massAccumulator.Reset();
    m_searchList.Clear();
    m_variables.Clear();
    m_dofs.Clear();
    m_upright = false;
    m_uprightForce.vector = CVector3();
    m_uprightTorque.vector = CVector3();
    m_wind = m_airVelocity = CVector3();
    m_airspeed = m_verticalAirSpeed = m_horizontalAirSpeed = 0.0f;
    m_flightPathAngle = m_airAngle = m_heading = m_pitch = m_roll = 0.0f;
    m_damageSum = m_restSum = m_damageTimer = m_resetTimer = 0.0f;
    m_damageTotal = 0.0f;
    m_resetMessageShown = false;
    m_resetMessageHandle = 0;
    m_partsMustBeLinked = m_massMustBeRecomputed = m_recordsMustBeRegistered = m_loaded = false;
    m_outputFileName.clear();
    if (auto node = m_registryNode.lock())
        node->Detach();
    m_registryNode.reset();
}

bool CModel::LoadModel(const std::string& fileName)
{
    Clear();
    m_fileName = fileName;
    if (!IsPlainDataName(fileName))
    {
        DiagPrint("%s: refused: a model is a plain file name inside Data/Model/\n", fileName.c_str());
        return false;
    }
    CTokenFile file;
    const std::string path = BuildDataPath(DF_MODEL, fileName);
    if (!file.Load(path))
    {
        DiagPrint("%s: the model file cannot be read\n", path.c_str());
        return false;
    }
    InitFromFile(file);
    m_fileName = fileName;
    return m_loaded;
}

bool CModel::LoadModelText(const std::string& text, const std::string& fileName)
{
    Clear();
    m_fileName = fileName;
    CTokenFile file;
    if (!file.LoadText(text, BuildDataPath(DF_MODEL, fileName)))
    {
        DiagPrint("%s: the edited model text cannot be read\n", fileName.c_str());
        return false;
    }
    InitFromFile(file);
    m_fileName = fileName;
    return m_loaded;
}

bool CModel::InitFromFile(CTokenFile& file)
{
    // 1. Clear and register "MODEL".
    const std::string fileName = m_fileName;
    Clear();
    m_fileName = fileName.empty() ? file.FileName() : fileName;
    CComponentNode* root = m_services.registryRoot;
    if (root == nullptr)
    {
        if (!m_ownRoot)
            m_ownRoot = std::make_shared<CComponentNode>("MainKestro", CLASS_CMainKestro, nullptr);
        root = m_ownRoot.get();
    }
    m_registryNode = root->AddChild("MODEL", CLASS_CModel, this)->Handle();

    // 2. Parts, class by class.
    LoadParts(file);

    // 3., 4. The body and the mass accumulator.
    m_body.ResetBody();
    m_body.SetTerrain(m_services.terrain);
    m_body.SetSubStepCallback(&CModel::SubStepCallback, this);
    m_massAccumulator.Reset();

    // 5. Variables: the application's first, so a global name hides a model name.
    m_loaded = m_variables.Load(file, "Model", root);
    m_searchList.Clear();
    if (m_services.globalVariables != nullptr)
        m_searchList.Add(m_services.globalVariables);
    m_searchList.Add(&m_variables);

    // 6. The DOF list is a member; it fills as parts ask.

    // 7. Attach the parts, once it is sure the body can hold all their records.
    if (!CheckRecordCounts("not loaded"))
    {
        // Nothing half-built stays behind: parts that were never attached must not be asked for
        // forces by anyone who keeps the model despite the result.
        Clear();
        return false;
    }
    for (auto& part : m_parts)
        part->AttachToModel(*this);
    RebuildPartLists();

    // 8. The model info "M".
    CPart* info = FindPart(PART_MODEL_INFO, "M");
    if (info == nullptr)
        info = AddPart(PART_MODEL_INFO, "M");
    m_modelInfo = static_cast<CPartModelInfo*>(info);

    // 9. The upright aid's records.
    m_uprightForce.displayScale = 1.0f;
    m_body.AddForce(&m_uprightForce);
    m_body.AddTorque(&m_uprightTorque);

    // 10. Instrument panel.
    if (m_modelInfo != nullptr)
    {
        const std::string& panelFile = m_modelInfo->GetSettings().instrumentPanelFile;
        if (!panelFile.empty() && CheckPlainName(m_fileName, "MODEL_INFO INSTRUMENT_PANEL_FILE", panelFile))
        {
            m_panel = m_services.panels->CreatePanel(panelFile, *this);
            if (!m_panel)
                DiagPrint("%s: instrument panel '%s' not loaded\n", m_fileName.c_str(), panelFile.c_str());
            else if (m_panel->GetVariables() != nullptr && !m_searchList.Add(m_panel->GetVariables()))
                DiagPrint("%s: instrument panel variables not searchable (search list full)\n", m_fileName.c_str());
        }
    }

    // 11. Functions, resolved against all tables.
    m_functions = std::make_unique<CFunctionList>();
    if (!m_functions->Load(file, m_searchList))
        DiagPrint("%s: a FUNCTION names a variable that does not exist; it runs without it\n", m_fileName.c_str());

    // 12. Output file.
    std::string outputName;
    file.GetString("OUTPUT_FILE", outputName, "", kMaxFileName);
    m_outputFileName = outputName;
    if (!outputName.empty())
        OpenOutputFile(outputName);

    // The parts link and the model weighs itself on the first frame.
    m_partsMustBeLinked = true;
    m_massMustBeRecomputed = true;
    return m_loaded;
}

bool CModel::LoadParts(CTokenFile& file)
{
    for (int classIndex = 0; classIndex < PART_CLASS_COUNT; ++classIndex)
    {
        const TPartClassDescriptor& descriptor = *GetPartClass(classIndex);
        for (;;)
        {
            std::string name;
            CTokenFile* block = file.OpenBlock(descriptor.blockToken, &name, kMaxPartName + 1);
            if (block == nullptr)
                break;
            std::unique_ptr<CPart> part = CreatePart(classIndex);
            if (!part)
            {
                DiagPrint("%s: %s '%s' skipped: this part class is not available\n", m_fileName.c_str(),
                          descriptor.blockToken, name.c_str());
                continue;
            }
            m_parts.push_back(std::move(part));
            CPart& added = *m_parts.back();
            added.GetPropertySet().Read(*block, name);
            RegisterPart(added);
        }
    }
    return true;
}

bool CModel::CheckRecordCounts(const char* consequence)
{
    // The upright aid adds one force and one torque record of its own.
    int forces = 1;
    int torques = 1;
    for (const auto& part : m_parts)
        if (CPartPhysic* physic = part ? part->AsPhysic() : nullptr)
        {
            forces += physic->GetUsedForceCount();
            torques += physic->GetTorqueCount();
        }
    if (forces <= CEngineDynamic::kMaxForces && torques <= CEngineDynamic::kMaxTorques)
        return true;
    DiagPrint("%s: the model needs %i force records and %i torque records, but a model may have at most %i and "
              "%i; %s\n",
              m_fileName.c_str(), forces, torques, CEngineDynamic::kMaxForces, CEngineDynamic::kMaxTorques,
              consequence);
    return false;
}

void CModel::RegisterRecords()
{
    // Same order as at load, so the force sum adds the records in the same order.
    CheckRecordCounts("the records that do not fit are left out");
    m_body.ClearRecords();
    for (CPartPhysic* physic : m_physicParts)
        physic->RegisterRecords(m_body);
    m_body.AddForce(&m_uprightForce);
    m_body.AddTorque(&m_uprightTorque);
}

void CModel::RebuildPartLists()
{
    m_physicParts.clear();
    m_windParts.clear();
    for (const auto& part : m_parts)
        if (CPartPhysic* physic = part ? part->AsPhysic() : nullptr)
        {
            m_physicParts.push_back(physic);
            if (physic->InducesWind())
                m_windParts.push_back(physic);
        }
}

void CModel::RegisterPart(CPart& part)
{
    CComponentNode* modelNode = GetRegistryNode();
    const TPartClassDescriptor* descriptor = GetPartClass(part.GetClassIndex());
    if (modelNode == nullptr || descriptor == nullptr)
        return;
    CComponentNode* node = modelNode->AddChild(part.GetName(), descriptor->classType, &part);
    part.SetRegistryNode(node);
    if (node != nullptr)
        part.GetPropertySet().RegisterComponents(*node);
}

bool CModel::OpenOutputFile(const std::string& name)
{
    if (!CheckPlainName(m_fileName, "OUTPUT_FILE", name))
        return false;
    CTokenFile definition;
    const std::string path = BuildDataPath(DF_OUTPUT, name);
    if (!definition.Load(path))
    {
        DiagPrint("%s: OUTPUT_FILE '%s' cannot be read; no output file\n", m_fileName.c_str(), path.c_str());
        return false;
    }
    m_outputFile = std::make_unique<COutputFile>();
    if (!m_outputFile->Init(definition, m_searchList))
    {
        DiagPrint("%s: OUTPUT_FILE '%s' cannot be set up; no output file\n", m_fileName.c_str(), name.c_str());
        m_outputFile.reset();
        return false;
    }
    return true;
}

void CModel::UpdateModel(float frameTime, float realFrameTime)
{
    // 1. Link.
    if (m_partsMustBeLinked)
    {
        for (auto& part : m_parts)
            if (part)
                part->ApplyProperties();
        m_partsMustBeLinked = false;
    }
    if (m_recordsMustBeRegistered)
    {
        m_recordsMustBeRegistered = false;
        RegisterRecords();
    }
    // 2. Weigh.
    if (m_massMustBeRecomputed)
    {
        m_massMustBeRecomputed = false;
        RecomputeMass();
    }
    // 3. Log.
    if (m_outputFile)
    {
        const float frame = realFrameTime > 0.0f ? realFrameTime : frameTime;
        m_outputFile->WriteLine(frame > 0.0f ? 1.0f / frame : 0.0f);
    }
    // 4. Functions.
    if (m_functions)
        m_functions->Evaluate();
    // 5. Per-frame work of the parts.
    for (auto& part : m_parts)
        if (part)
            part->UpdateFrame(frameTime);
    // 6. Integrate (SubStep runs inside).
    m_body.Update(frameTime);
    // 7. - 11.
    UpdateAirData();
    UpdateMessages(frameTime);
    if (m_panel)
        m_panel->Update(frameTime);
    UpdatePresentation();
}

void CModel::SubStepCallback(void* context, float dt)
{
    static_cast<CModel*>(context)->SubStep(dt);
}

void CModel::SubStep(float dt)
{
    for (CPartPhysic* physic : m_physicParts)
    {
        if (physic->GetEnableMask() & CPart::kEnableForces)
            physic->CalcForces(dt);
        else
            physic->ZeroForces();
    }

    if (m_upright)
    {
        CVector3 normal;
        const float height = m_body.GetHeightAboveTerrain(normal);
        // Full lift on the ground, fading out 2 m above it.
        const float k = std::clamp(1.0f - 0.5f * height, 0.0f, 1.0f);
        m_uprightForce.vector = CVector3(0.0f, k * m_body.GetMass() * kUprightAcceleration, 0.0f);
        m_uprightForce.point = CVector3(0.0f, 1.0f, 0.0f);
        m_uprightTorque.vector = -m_body.GetAngularVelocity();
    }
    else
    {
        m_uprightForce.vector = CVector3();
        m_uprightTorque.vector = CVector3();
    }
}

void CModel::RecomputeMass()
{
    m_massAccumulator.Reset();
    for (CPartPhysic* physic : m_physicParts)
        if (physic->GetEnableMask() & CPart::kEnableMass)
            m_massAccumulator.Add(physic->GetMassElement());
    // A massless body cannot be integrated: fly it as a 1 kg, 1 m cube on the body origin.
    if (m_massAccumulator.Mass() == 0.0f)
        m_massAccumulator.AddBox(1.0f, CVector3(-0.5f, -0.5f, -0.5f), CVector3(0.5f, 0.5f, 0.5f));
    m_body.SetMassProperties(m_massAccumulator.Inertia(), m_massAccumulator.Mass(), m_massAccumulator.CentreOfMass());
}

void CModel::UpdateAirData()
{
    m_wind = m_services.wind->GetMeanWind();
    m_airVelocity = m_wind - m_body.GetVelocity();
    m_airspeed = m_airVelocity.Length();
    m_verticalAirSpeed = m_airVelocity.y;
    m_horizontalAirSpeed = std::sqrt(m_airVelocity.x * m_airVelocity.x + m_airVelocity.z * m_airVelocity.z);
    const CVector3 bodyAir = m_body.WorldToBodyVector(m_airVelocity);
    m_airAngle = m_airspeed > 0.01f ? std::atan2(-bodyAir.x, bodyAir.z) : 0.0f;
    m_flightPathAngle =
        std::fabs(m_verticalAirSpeed) < 0.01f ? 0.0f : std::atan2(m_verticalAirSpeed, m_horizontalAirSpeed);
    m_heading = m_body.GetHeading();
    m_pitch = m_body.GetPitch();
    m_roll = m_body.GetRoll();
}

void CModel::UpdateMessages(float frameTime)
{
    // 8. Damage.
    m_damageTimer += frameTime;
    if (m_damageTimer > kDamageMessageDelay)
    {
        if (m_damageSum > kMessageThreshold)
            m_services.messages->Show(StringPrintf("Damage: %0.0f", static_cast<double>(m_damageSum)),
                                      kDamageMessageTime);
        m_damageSum = 0.0f;
    }

    // 9. Reset hint.
    if (!m_resetMessageShown)
    {
        if (m_restSum > kMessageThreshold)
        {
            const IKeyNames& keys = *m_services.keyNames;
            const std::string text =
                StringPrintf("Press <%s> to reset model position\nor\nPress <%s> to turn model upright",
                             keys.GetCommandKeyText("UC_MODEL_RESET_POSITION").c_str(),
                             keys.GetCommandKeyText("UC_MODEL_TURN_UPRIGHT").c_str());
            m_resetMessageHandle = m_services.messages->Show(text, 0.0f);
            m_resetMessageShown = true;
            m_resetTimer = 0.0f;
        }
    }
    else
    {
        m_resetTimer += frameTime;
        if (m_resetTimer > kResetCheckPeriod)
        {
            if (m_restSum == 0.0f)
            {
                m_services.messages->Remove(m_resetMessageHandle);
                m_resetMessageHandle = 0;
                m_resetMessageShown = false;
            }
            m_restSum = 0.0f;
            m_resetTimer = 0.0f;
        }
    }
}

void CModel::UpdatePresentation()
{
    IModelPresentation& presentation = *m_services.presentation;
    presentation.SetPose(m_body.GetPosition(), m_body.GetOrientation());
    CVector3 normal;
    const CVector3& position = m_body.GetPosition();
    const float ground = m_body.GetTerrainHeight(normal);
    presentation.SetShadowPose(CVector3(position.x, ground + 0.01f, position.z), m_body.GetHeading(),
                               m_body.GetPitch());
}

void CModel::RenderDebug(IDebugDraw& draw, bool parts, bool forces)
{
    if (parts)
        for (auto& part : m_parts)
        {
            if (!part)
                continue;
            const int mask = part->GetEnableMask();
            if (mask & CPart::kEnableRender)
            {
                part->DrawDebug(draw);
                part->DrawDebugExtra(draw);
            }
            if (mask & CPart::kEnableRenderExtraOnly)
                part->DrawDebugExtra(draw);
        }
    if (forces)
        m_body.DrawForces(draw);
}

void CModel::AddContact(int kind, float amount)
{
    if (kind != 0)
        return;
    if (m_damageSum == 0.0f)
        m_damageTimer = 0.0f;
    if (m_body.GetVelocity().LengthSquared() > 1.0f)
    {
        m_damageSum += amount;
        m_damageTotal += amount;
    }
    else
        m_restSum += amount;
}

bool CModel::GetInducedWind(CVector3& outWind, const CVector3& bodyPoint)
{
    outWind = CVector3();
    bool any = false;
    // The other parts never answer: asking them all costs a fifth of a powered model's step.
    for (CPartPhysic* physic : m_windParts)
    {
        if (!(physic->GetEnableMask() & CPart::kEnableForces))
            continue;
        CVector3 wind;
        if (physic->GetInducedWind(wind, bodyPoint))
        {
            outWind += wind;
            any = true;
        }
    }
    return any;
}

CPart* CModel::GetPart(int index) const
{
    if (index < 0 || index >= GetPartCount())
        return nullptr;
    return m_parts[static_cast<size_t>(index)].get();
}

CPart* CModel::FindPart(int classIndex, const std::string& name) const
{
    for (const auto& part : m_parts)
        if (part && part->GetClassIndex() == classIndex && part->GetName() == name)
            return part.get();
    return nullptr;
}

std::vector<CPart*> CModel::GetPartsOfClass(int classIndex) const
{
    std::vector<CPart*> parts;
    for (const auto& part : m_parts)
        if (part && part->GetClassIndex() == classIndex)
            parts.push_back(part.get());
    return parts;
}

CPart* CModel::AddPart(int classIndex, const std::string& name)
{
    std::unique_ptr<CPart> part = CreatePart(classIndex);
    if (!part)
    {
        DiagPrint("%s: no part of class %i can be made\n", m_fileName.c_str(), classIndex);
        return nullptr;
    }
    if (CPartPhysic* physic = part->AsPhysic())
        if (m_body.GetForceCount() + physic->GetUsedForceCount() > CEngineDynamic::kMaxForces ||
            m_body.GetTorqueCount() + physic->GetTorqueCount() > CEngineDynamic::kMaxTorques)
        {
            DiagPrint("%s: no room for the force records of another %s part\n", m_fileName.c_str(),
                      GetPartClass(classIndex)->blockToken);
            return nullptr;
        }
    // Keep the class order: after the last part of this class or of a class before it.
    auto position = m_parts.begin();
    for (auto it = m_parts.begin(); it != m_parts.end(); ++it)
        if (*it && (*it)->GetClassIndex() <= classIndex)
            position = it + 1;
    CPart* added = m_parts.insert(position, std::move(part))->get();
    added->SetName(name);
    added->AttachToModel(*this);
    RebuildPartLists();
    RegisterPart(*added);
    // Its records went to the end of the body's list; the sum meets them in list order again.
    m_recordsMustBeRegistered = true;
    m_partsMustBeLinked = true;
    m_massMustBeRecomputed = true;
    return added;
}

const ITerrain& CModel::GetTerrain() const
{
    return *m_services.terrain;
}

const IWindField& CModel::GetWindField() const
{
    return *m_services.wind;
}

CComponentNode* CModel::GetRegistryNode() const
{
    return m_registryNode.lock().get();
}

void CModel::SetForceDisplayScale(float scale)
{
    m_body.SetForceDisplayScale(scale);
}

bool CModel::WritePartHelp()
{
    const std::string path = BuildDataPath(DF_DEVELOPER_OUTPUT, "PartHelp.txt");
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::unique_ptr<CFile> file = OpenFile(path, FM_WRITE);
    if (!file)
    {
        DiagPrint("%s: cannot be written\n", path.c_str());
        return false;
    }
    const std::string dashes(38, '-');
    file->WriteLine(dashes.c_str());
    file->WriteLine("This file contains a complete list of all Parts that can be used to build a model and all their "
                    "parameters.");
    file->WriteLine(dashes.c_str());
    const std::string help = BuildPartHelp();
    for (size_t begin = 0; begin < help.size();)
    {
        const size_t end = help.find('\n', begin);
        file->WriteLine(help.substr(begin, end == std::string::npos ? std::string::npos : end - begin).c_str());
        begin = end == std::string::npos ? help.size() : end + 1;
    }
    return file->Close();
}

bool CModel::DeletePart(int index)
{
    if (GetPart(index) == nullptr)
        return false;
    if (m_parts[static_cast<size_t>(index)].get() == m_modelInfo)
        m_modelInfo = nullptr;
    // Its records leave the body before the part that owns them goes.
    m_physicParts.clear();
    m_windParts.clear();
    m_body.ClearRecords();
    m_parts[static_cast<size_t>(index)].reset();
    RebuildPartLists();
    RegisterRecords();
    m_massMustBeRecomputed = true;
    return true;
}

int CModel::NextPart(int index) const
{
    for (int i = std::max(index + 1, 0); i < GetPartCount(); ++i)
        if (GetPart(i) != nullptr)
            return i;
    return -1;
}

int CModel::PrevPart(int index) const
{
    for (int i = std::min(index, GetPartCount()) - 1; i >= 0; --i)
        if (GetPart(i) != nullptr)
            return i;
    return -1;
}

std::string CModel::UniquePartName(const std::string& name, const CPart* except) const
{
    std::string unique = name;
    auto taken = [&](const std::string& candidate) {
        for (const auto& part : m_parts)
            if (part && part.get() != except && part->GetName() == candidate)
                return true;
        return false;
    };
    while (taken(unique))
        unique += "_";
    return unique;
}

std::string CModel::RenamePart(int index, const std::string& name)
{
    CPart* part = GetPart(index);
    if (part == nullptr)
        return std::string();
    const std::string oldName = part->GetName();
    // The loader knows the model's settings only by the name "M".
    if (part == m_modelInfo)
        return oldName;
    const std::string newName = UniquePartName(name, part);
    part->SetName(newName);
    for (const auto& other : m_parts)
        if (other && other.get() != part)
            other->GetPropertySet().RenameTokenReferences(oldName, newName);
    return newName;
}

std::string CModel::SaveText() const
{
    CFileText file;
    file.WriteLine("// Kestro model, written by the model editor");
    if (!m_outputFileName.empty())
        file.WriteFormat(".OUTPUT_FILE \"%s\"\r\n", m_outputFileName.c_str());
    for (const auto& part : m_parts)
        if (part)
            part->GetPropertySet().Write(file);
    if (m_functions)
        for (int i = 0; i < m_functions->Count(); ++i)
        {
            const CFunction& function = *m_functions->At(i);
            file.WriteFormat("\r\n.FUNCTION %s\r\n{\r\n", function.GetName().c_str());
            if (!function.GetDescription().empty())
                file.WriteFormat("  .DESCRIPTION \"%s\"\r\n", function.GetDescription().c_str());
            file.WriteFormat("  .OPS %s\r\n}\r\n", function.GetOpsText().c_str());
        }
    return file.Text();
}

bool CModel::SaveModel(const std::string& name)
{
    if (!IsPlainDataName(name) || name.empty() || name.find_first_of("/\\") != std::string::npos)
    {
        DiagPrint("%s: refused: a model is saved as a plain file name inside Data/Model/\n", name.c_str());
        return false;
    }
    // On failure the old file stays as it was.
    std::string error;
    if (ReplaceFile(BuildDataPath(DF_MODEL, name), SaveText(), &error))
        return true;
    DiagPrint("%s\n", error.c_str());
    return false;
}
