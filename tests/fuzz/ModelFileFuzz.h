#pragma once
// What the model-file fuzz target does with one input, shared with the corpus replay test in
// tests/model: the input is written as Data/Model/Fuzz.mod below the base directory, loaded by
// CModel::LoadModel and, when it loads, flown for a second over flat ground with the sticks
// moving, through a long frame and a paused one; then every part draws, describes and saves its
// state, and reads it back.
//
// The base directory must hold the tree PrepareModelFileTree makes: the shipped airfoils in
// Data/Airfoil/ (so wings and propellers link), Data/Model/ and Output/.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/CFile.h"
#include "model/CModel.h"
#include "model/CModelServices.h"
#include "model/CPart.h"
#include "model/CVariableTable.h"
#include "model/IDebugDraw.h"

namespace fuzz
{
[[noreturn]] inline void FailModel()
{
    __builtin_trap();
}

// Makes Data/Airfoil/ (copies of the airfoils in sourceData/Airfoil), Data/Model/ and Output/
// below dir. False when the airfoils cannot be copied.
inline bool PrepareModelFileTree(const std::filesystem::path& dir, const std::filesystem::path& sourceData)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_directories(dir / "Data" / "Airfoil", error);
    fs::create_directories(dir / "Data" / "Model", error);
    fs::create_directories(dir / "Output", error);
    bool any = false;
    for (const auto& entry : fs::directory_iterator(sourceData / "Airfoil", error))
        if (entry.path().extension() == ".afl")
            any = fs::copy_file(entry.path(), dir / "Data" / "Airfoil" / entry.path().filename(),
                                fs::copy_options::overwrite_existing, error) ||
                  any;
    return any;
}

inline void ModelFile(const uint8_t* data, size_t size)
{
    {
        std::ofstream out(BuildDataPath(DF_MODEL, "Fuzz.mod"), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    CVariableTable inputs("Input");
    for (int channel = 1; channel <= 9; ++channel)
        inputs.Add("V_CH" + std::to_string(channel))->SetValue(0.0f);
    CModelServices services;
    services.globalVariables = &inputs;
    CModel model(services);
    if (!model.LoadModel("Fuzz.mod"))
        return;

    model.GetBody().SetPosition(CVector3(0.0f, 0.5f, 0.0f));
    model.GetBody().SetVelocity(CVector3(0.0f, -1.0f, -12.0f));
    for (int frame = 0; frame < 60; ++frame)
    {
        // Full throws, the throttle closed and opened again (engines start), and the upright aid.
        const float phase = static_cast<float>(frame) / 60.0f;
        for (int channel = 0; channel < 9; ++channel)
            inputs.Find("V_CH" + std::to_string(channel + 1))
                ->SetValue(std::sin(6.2831853f * phase * static_cast<float>(channel + 1)));
        inputs.Find("V_CH3")->SetValue(frame < 20 ? -1.0f : 1.0f);
        model.SetUpright(frame >= 40 && frame < 45);
        const float frameTime = frame == 30 ? 0.25f : (frame == 31 ? 0.0f : 1.0f / 60.0f);
        model.UpdateModel(frameTime);
    }

    CNullDebugDraw draw;
    model.RenderDebug(draw, true, true);
    std::string text;
    std::vector<unsigned char> state;
    for (int i = 0; i < model.GetPartCount(); ++i)
    {
        CPart* part = model.GetPart(i);
        text.clear();
        part->GetDebugText(text);
        state.clear();
        const int saved = part->SaveState(state);
        if (saved < 0 || static_cast<size_t>(saved) != state.size())
            FailModel();
        if (part->LoadState(state.data(), saved) > saved)
            FailModel();
    }
    model.GetBody().GetDebugText(text);
}
} // namespace fuzz
