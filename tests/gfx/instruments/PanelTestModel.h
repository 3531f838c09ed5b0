#pragma once
// A model whose MODEL_INFO names an instrument panel given as text, loaded in a temporary data
// folder with the shipped NACA 0012 airfoil; with wings it has two, WingL and WingR (the angle of
// attack gauge reads them). Its sticks V_CH1..V_CH4 live in a global table, at 0 until set.

#include <filesystem>
#include <memory>
#include <string>

#include "data/CFile.h"
#include "gfx/instruments/CInstrumentPanel.h"
#include "gfx/instruments/CInstrumentPanelFactory.h"
#include "model/CModel.h"
#include "model/CVariableTable.h"
#include "support/DataDir.h"

class CPanelTestModel
{
public:
    CPanelTestModel()
    {
        std::filesystem::create_directories(data.dir.Path() / "Data" / "Airfoil");
        std::filesystem::copy_file(SourceDir() / "Data" / "Airfoil" / "NACA0012.afl",
                                   data.dir.Path() / "Data" / "Airfoil" / "NACA0012.afl");
        services.panels = &factory;
        services.globalVariables = &inputs;
        for (const char* name : {"V_CH1", "V_CH2", "V_CH3", "V_CH4"})
            inputs.Add(name)->SetValue(0.0f);
    }

    // Without wings the model is the bare 1 kg cube: no force changes the state it is given.
    CModel& Load(const std::string& panelText, bool wings = true)
    {
        data.Write("Data/Model/Panel.txt", panelText);
        data.Write("Data/Model/test.mod", ".MODEL_INFO M { .INSTRUMENT_PANEL_FILE \"Panel.txt\" }\n" +
                                              (wings ? WingBlock("WingL", -0.3f) + WingBlock("WingR", 0.3f) : ""));
        loaded = std::make_unique<CModel>(services);
        EXPECT_TRUE(loaded->LoadModel("test.mod"));
        return *loaded;
    }
    CInstrumentPanel* Panel() const { return CInstrumentPanel::OfModel(*loaded); }

    TempDataDir data;
    CInstrumentPanelFactory factory;
    CVariableTable inputs{"Input"};
    CModelServices services;
    std::unique_ptr<CModel> loaded; // by the last Load

private:
    static std::string WingBlock(const char* name, float x)
    {
        return StringPrintf(".WING2 %s { .AIRFOIL NACA0012.afl .CHORD 0.2 .SPAN 0.5 .POSITION %g 0 0 "
                            ".POSITION_TYPE CENTER_LE .HEADING 0 .PITCH 0 .ROLL 0 }\n",
                            name, x);
    }
};
