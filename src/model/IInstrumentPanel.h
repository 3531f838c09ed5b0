#pragma once
// The instrument panel a model names (MODEL_INFO's INSTRUMENT_PANEL_FILE). The graphics creates
// it; the model only needs its variables (appended to the model's search list) and its frame
// update.

#include <memory>
#include <string>

class CModel;
class CVariableTable;

class IInstrumentPanel
{
public:
    virtual ~IInstrumentPanel() = default;
    // The panel's own variables, or null when it has none. Owned by the panel.
    virtual CVariableTable* GetVariables() = 0;
    // Once per frame after the model moved.
    virtual void Update(float frameTime) = 0;
};

class IInstrumentPanelFactory
{
public:
    virtual ~IInstrumentPanelFactory() = default;
    // A panel read from a file of the panel folder (plain name, checked by the caller) for the
    // model; null when the file does not load.
    virtual std::unique_ptr<IInstrumentPanel> CreatePanel(const std::string& fileName, CModel& model) = 0;
};

// Headless: no panel can be made.
class CNullInstrumentPanelFactory : public IInstrumentPanelFactory
{
public:
    std::unique_ptr<IInstrumentPanel> CreatePanel(const std::string&, CModel&) override { return nullptr; }
};
