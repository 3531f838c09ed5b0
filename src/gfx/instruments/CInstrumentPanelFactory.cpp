#include "gfx/instruments/CInstrumentPanelFactory.h"

#include "gfx/instruments/CInstrumentPanel.h"

std::unique_ptr<IInstrumentPanel> CInstrumentPanelFactory::CreatePanel(const std::string& fileName, CModel& model)
{
    auto panel = std::make_unique<CInstrumentPanel>();
    if (!panel->Load(fileName, model))
        return nullptr;
    return panel;
}
