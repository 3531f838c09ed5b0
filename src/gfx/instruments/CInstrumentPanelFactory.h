#pragma once
// The factory the flight process puts into the model's services so that models get real
// instrument panels (the model itself knows only IInstrumentPanel).

#include "model/IInstrumentPanel.h"

class CInstrumentPanelFactory : public IInstrumentPanelFactory
{
public:
    // A loaded panel, or null (the reason was reported) when the file does not make a valid one.
    std::unique_ptr<IInstrumentPanel> CreatePanel(const std::string& fileName, CModel& model) override;
};
