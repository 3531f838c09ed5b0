#pragma once
// Fixtures of the flight-model tests: a temporary data tree with a model file, the model's
// services with an "Input" variable table, recording stand-ins for the services, and a capture
// of the diagnostic output.

#include "support/DiagCapture.h"
#include <memory>
#include <string>
#include <vector>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "model/CModel.h"
#include "model/CModelServices.h"
#include "model/CVariableTable.h"
#include "model/IInstrumentPanel.h"
#include "model/IModelPresentation.h"
#include "model/IOverlayMessages.h"
#include "model/IWindField.h"
#include "support/TempDir.h"

// Remembers every file the model asked to load.
class CRecordingPresentation : public CNullModelPresentation
{
public:
    bool Load3DObject(const std::string& fileName, CDegreeOfFreedomList&) override
    {
        requested.push_back(fileName);
        return true;
    }
    bool LoadShadow(const std::string& textureFile) override
    {
        requested.push_back(textureFile);
        return true;
    }
    std::vector<std::string> requested;
};

class CRecordingPanels : public IInstrumentPanelFactory
{
public:
    std::unique_ptr<IInstrumentPanel> CreatePanel(const std::string& fileName, CModel&) override
    {
        requested.push_back(fileName);
        return nullptr;
    }
    std::vector<std::string> requested;
};

class CRecordingMessages : public IOverlayMessages
{
public:
    struct TShown
    {
        std::string text;
        float seconds;
        bool removed;
    };
    int Show(const std::string& text, float seconds) override
    {
        shown.push_back({text, seconds, false});
        return static_cast<int>(shown.size());
    }
    void Remove(int handle) override
    {
        if (handle > 0 && handle <= static_cast<int>(shown.size()))
            shown[static_cast<size_t>(handle - 1)].removed = true;
    }
    std::vector<TShown> shown;
};

// The same wind everywhere.
class CConstantWind : public IWindField
{
public:
    explicit CConstantWind(const CVector3& wind) : m_wind(wind) {}
    CVector3 GetWind(const CVector3&) const override { return m_wind; }
    CVector3 GetMeanWind() const override { return m_wind; }

private:
    CVector3 m_wind;
};

// A working directory with Data/Model/ and Output/, an "Input" table searched first.
class CModelFixture
{
public:
    CModelFixture()
    {
        InitBaseDirectory();
        services.globalVariables = &inputs;
    }

    // Writes Data/Model/<name> and loads it; loaded tells the result.
    std::unique_ptr<CModel> Load(const std::string& text, const std::string& name = "test.mod")
    {
        dir.Write("Data/Model/" + name, text);
        auto model = std::make_unique<CModel>(services);
        loaded = model->LoadModel(name);
        return model;
    }

    // An input variable with a value (resolved: it has no link).
    CVariable* Input(const std::string& name, float value)
    {
        CVariable* variable = inputs.Find(name);
        if (variable == nullptr)
            variable = inputs.Add(name);
        variable->SetValue(value);
        return variable;
    }

    TempDir dir;
    ScopedWorkingDir cwd{dir.Path()};
    CVariableTable inputs{"Input"};
    CModelServices services;
    bool loaded = false;
};

// Runs frames of a fixed length.
inline void RunFrames(CModel& model, int frames, float frameTime = 0.02f)
{
    for (int i = 0; i < frames; ++i)
        model.UpdateModel(frameTime);
}
