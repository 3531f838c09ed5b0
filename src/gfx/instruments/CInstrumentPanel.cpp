#include "gfx/instruments/CInstrumentPanel.h"

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CTokenFile.h"
#include "gfx/instruments/CBInstrument.h"
#include "gfx/instruments/CInsAirSpeed.h"
#include "gfx/instruments/CInsAltimeter.h"
#include "gfx/instruments/CInsAngleOfAttack.h"
#include "gfx/instruments/CInsAngleOfSlide.h"
#include "gfx/instruments/CInsArtificialHorizon.h"
#include "gfx/instruments/CInsClimbRate.h"
#include "gfx/instruments/CInsCompass.h"
#include "gfx/instruments/CInsFeedback.h"
#include "gfx/instruments/CInsWheel.h"
#include "model/CModel.h"
#include "model/CVariable.h"

namespace
{
constexpr size_t kMaxVariableName = 50;
// A file with more instrument blocks than this is not a panel anyone can read on screen; the
// bound also ends the passes on a file that keeps answering.
constexpr int kMaxInstruments = 100;
} // namespace

const char* const CInstrumentPanel::kInstrumentTypes[kTypeCount] = {
    "AIR_SPEED", "ALTIMETER", "ANGLE_OF_ATTACK", "ANGLE_OF_SLIDE", "ARTIFICIAL_HORIZON",
    "CLIMB_RATE", "INPUT_FEEDBACK", "COMPASS", "WHEEL"};

CInstrumentPanel::~CInstrumentPanel() = default;

std::unique_ptr<CBInstrument> CInstrumentPanel::Create(int typeIndex)
{
    switch (typeIndex)
    {
    case 0: return std::make_unique<CInsAirSpeed>();
    case 1: return std::make_unique<CInsAltimeter>();
    case 2: return std::make_unique<CInsAngleOfAttack>();
    case 3: return std::make_unique<CInsAngleOfSlide>();
    case 4: return std::make_unique<CInsArtificialHorizon>();
    case 5: return std::make_unique<CInsClimbRate>();
    case 6: return std::make_unique<CInsFeedback>();
    case 7: return std::make_unique<CInsCompass>();
    case 8: return std::make_unique<CInsWheel>();
    default: return nullptr;
    }
}

void CInstrumentPanel::Clear()
{
    m_instruments.clear();
    m_variables.Clear();
    m_integrationStep = nullptr;
    m_heightAboveTerrain = nullptr;
    m_valid = false;
}

bool CInstrumentPanel::Load(const std::string& fileName, CModel& model)
{
    Clear();
    m_fileName = fileName;
    m_model = &model;
    if (!IsPlainDataName(fileName))
    {
        DiagPrint("%s: refused: an instrument panel is a plain file name inside Data/Model/\n", fileName.c_str());
        return false;
    }
    const std::string path = BuildDataPath(DF_MODEL, fileName);
    CTokenFile file;
    if (!file.Load(path))
    {
        DiagPrint("%s: the instrument panel file cannot be read; no panel\n", path.c_str());
        return false;
    }

    // 1. The panel's variables.
    CTokenFile* variables = file.OpenBlock("Instruments");
    if (variables == nullptr)
    {
        DiagPrint("%s: block Instruments (the panel's variables) is missing; no panel\n", path.c_str());
        return false;
    }
    m_variables.Load(*variables, "Instruments", nullptr);

    // 2. The instruments, one block of every type per pass.
    bool found = true;
    while (found && static_cast<int>(m_instruments.size()) < kMaxInstruments)
    {
        found = false;
        for (int type = 0; type < kTypeCount; ++type)
        {
            CTokenFile* block = file.OpenBlock(kInstrumentTypes[type]);
            if (block == nullptr)
                continue;
            found = true;
            std::unique_ptr<CBInstrument> instrument = Create(type);
            if (instrument->Init(*block, model, m_variables, kInstrumentTypes[type]))
                m_instruments.push_back(std::move(instrument));
        }
    }

    // 3. The inside variables.
    CTokenFile* inside = file.OpenBlock("INSIDE_VARIABLES");
    if (inside == nullptr)
    {
        DiagPrint("%s: block INSIDE_VARIABLES is missing; no panel\n", path.c_str());
        Clear();
        return false;
    }
    auto findInside = [&](const char* key) -> CVariable* {
        std::string name;
        inside->GetToken(key, name, "", kMaxVariableName + 1);
        CVariable* variable = name.empty() ? nullptr : m_variables.Find(name);
        if (variable == nullptr)
            DiagPrint("%s: INSIDE_VARIABLES %s: variable '%s' is not in the Instruments block; no panel\n",
                      path.c_str(), key, name.c_str());
        return variable;
    };
    m_integrationStep = findInside("VARIABLE_INTEGRATION_STEP");
    m_heightAboveTerrain = findInside("VARIABLE_VAR_HEIGHT_ABOVE_TERRAIN");
    if (m_integrationStep == nullptr || m_heightAboveTerrain == nullptr)
    {
        Clear();
        return false;
    }
    m_valid = true;
    return true;
}

void CInstrumentPanel::Update(float frameTime)
{
    if (!m_valid)
        return;
    for (const auto& instrument : m_instruments)
        instrument->Update();
    CVector3 normal;
    m_integrationStep->SetValue(frameTime);
    m_heightAboveTerrain->SetValue(m_model->GetBody().GetHeightAboveTerrain(normal));
}

void CInstrumentPanel::Draw(int x, int y) const
{
    if (!m_valid || !m_shown)
        return;
    for (const auto& instrument : m_instruments)
        instrument->Draw(x, y);
}

CBInstrument* CInstrumentPanel::GetInstrument(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_instruments.size()))
        return nullptr;
    return m_instruments[static_cast<size_t>(index)].get();
}

CInstrumentPanel* CInstrumentPanel::OfModel(const CModel& model)
{
    return dynamic_cast<CInstrumentPanel*>(model.GetInstrumentPanel());
}
